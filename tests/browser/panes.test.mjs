// The panes as a person uses them in the browser: a grid position turned into
// geographicals, a projection picked in one pane followed by another, a datum shift
// through a real NTv2 grid inside and outside its cover, a pane edited with the
// keyboard alone, and night mode.

import assert from 'node:assert/strict';
import { copyFileSync, mkdirSync, readdirSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import {
  angleDegrees,
  chooseOption,
  editRow,
  eventually,
  findRow,
  focusedRow,
  openPane,
  openWorkbench,
  pageProblems,
  paneGrid,
  rowText,
  toolbar,
} from './harness.mjs';

// One thousandth of a second of arc, in degrees: the display shows 0.00001".
const arcMs = 1 / 3600 / 1000;

function assertAngle(text, degrees, tolerance, what) {
  const shown = angleDegrees(text);
  assert.ok(Math.abs(shown - degrees) <= tolerance, `${what}: ${text} is ${shown}, not ${degrees}`);
}

async function expectRow(grid, names, check) {
  await eventually(async () => check(await rowText(await findRow(grid, ...names))));
}

test('an easting and northing typed in Grid To Geographicals give latitude and longitude, ' +
    'and a second pane follows the projection picked', async (t) => {
  const { page } = await openWorkbench(t);
  const convergence = await openPane(page, 'Convergence');
  const before = await rowText(await findRow(convergence, 'Projection', 'Name'));

  const grid = await openPane(page, 'Grid To Geographicals');
  await chooseOption(await findRow(grid, 'Projection', 'Type'), 'Transverse Mercator');
  await expectRow(grid, ['Projection', 'Type'], (text) => assert.equal(text, 'Transverse Mercator'));
  await chooseOption(await findRow(grid, 'Projection', 'Name'), /^Ordnance Survey National Grid/);
  await expectRow(grid, ['Projection', 'Name'], (text) =>
    assert.match(text, /^Ordnance Survey National Grid/));

  // The Caister water tower of the Ordnance Survey's guide to co-ordinate systems:
  // 651409.903 E 313177.270 N is 52° 39' 27.2531" N 1° 43' 4.5177" E on OSGB 36.
  await editRow(await findRow(grid, 'Computation', 'Easting'), '651409.903');
  await editRow(await findRow(grid, 'Computation', 'Northing'), '313177.270');
  await expectRow(grid, ['Computation', 'Easting'], (text) => assert.match(text, /^651409\.903\b/));
  await expectRow(grid, ['Computation', 'Latitude'], (text) =>
    assertAngle(text, 52 + 39 / 60 + 27.2531 / 3600, 0.5 * arcMs, 'latitude'));
  await expectRow(grid, ['Computation', 'Longitude'], (text) =>
    assertAngle(text, 1 + 43 / 60 + 4.5177 / 3600, 0.5 * arcMs, 'longitude'));

  // The projection is the host's: the convergence pane shows the new one.
  const followed = await openPane(page, 'Convergence');
  await expectRow(followed, ['Projection', 'Name'], (text) => {
    assert.match(text, /^Ordnance Survey National Grid/);
    assert.notEqual(text, before);
  });
  assert.deepEqual(pageProblems(page), []);
});

test('Datum Shift moves a point through an NTv2 grid and flags one outside it', async (t) => {
  // The "Canada NTv2" shift reads ntv2_0.gsb in the Global data folder; Germany's
  // BETA2007 (DHDN to ETRS89, from Debian's proj-data) stands in for it, so the grid's
  // cover is Germany.
  const { page } = await openWorkbench(t, {
    prepare: (folders) => {
      mkdirSync(folders.global, { recursive: true });
      copyFileSync('/usr/share/proj/BETA2007.gsb', path.join(folders.global, 'ntv2_0.gsb'));
    },
  });
  const grid = await openPane(page, 'Datum Shift');
  await chooseOption(await findRow(grid, 'Datum', 'Type'), 'Canada NTv2');
  await expectRow(grid, ['Datum', 'Type'], (text) => assert.equal(text, 'Canada NTv2'));

  // Point B is the grid's source side: 50° 30' N 9° 30' E on DHDN is, by PROJ's
  // hgridshift on BETA2007, 50.4987989473 N 9.4988765473 E on ETRS89.
  await editRow(await findRow(grid, 'Point B', 'Latitude'), '50 30 0N');
  await editRow(await findRow(grid, 'Point B', 'Longitude'), '9 30 0E');
  await expectRow(grid, ['Point B', 'Longitude'], (text) => assertAngle(text, 9.5, arcMs, 'B'));
  await expectRow(grid, ['Point A', 'Latitude'], (text) =>
    assertAngle(text, 50.4987989473, arcMs, 'shifted latitude'));
  await expectRow(grid, ['Point A', 'Longitude'], (text) =>
    assertAngle(text, 9.4988765473, arcMs, 'shifted longitude'));

  // 45° N is south of the grid: no number is passed off as a shifted one.
  await editRow(await findRow(grid, 'Point B', 'Latitude'), '45 0 0N');
  await expectRow(grid, ['Point B', 'Latitude'], (text) => assertAngle(text, 45, arcMs, 'B'));
  await expectRow(grid, ['Point A', 'Latitude'], (text) => assert.equal(text, 'no result'));
  await expectRow(grid, ['Point A', 'Longitude'], (text) => assert.equal(text, 'no result'));

  // Back inside, the shift is whole again.
  await editRow(await findRow(grid, 'Point B', 'Latitude'), '50 30 0N');
  await expectRow(grid, ['Point A', 'Latitude'], (text) =>
    assertAngle(text, 50.4987989473, arcMs, 'shifted latitude'));
  assert.deepEqual(pageProblems(page), []);
});

// Every property's description by its path, as the server gives the pane's grid.
async function paneDescriptions(page, caption) {
  const state = await page.evaluate(async () => {
    const reply = await fetch('/api/state', { headers: { 'X-Orvale-Request': '1' } });
    return reply.json();
  });
  const pane = state.panes.find((p) => p.caption === caption);
  const map = new Map();
  const visit = (properties) => {
    for (const property of properties) {
      map.set(property.path, property.description);
      visit(property.items ?? []);
    }
  };
  visit(pane.grid.properties);
  return map;
}

// Presses `key` until the focused row is `name` (inside the top-level group `group`
// when given), at most `limit` times.
async function moveTo(page, key, name, { group, limit = 60 } = {}) {
  for (let i = 0; i < limit; ++i) {
    const row = await focusedRow(page);
    if (row && row.name === name && (group === undefined || (row.group === group && row.level > 1))) {
      return row;
    }
    await page.keyboard.press(key);
  }
  throw new Error(`${key} never reached the row ${group ?? ''} ${name}: ` +
    JSON.stringify(await focusedRow(page)));
}

test('a whole pane is edited with the keyboard alone', async (t) => {
  const { context, page } = await openWorkbench(t);
  await context.grantPermissions(['clipboard-read', 'clipboard-write']);
  const caption = 'Grid To Geographicals';
  await openPane(page, caption);
  await page.evaluate(() => document.activeElement?.blur());

  // One tab stop: Tab reaches the grid, and one more Tab leaves it.
  let row = null;
  for (let i = 0; i < 60 && !(row && row.grid === caption); ++i) {
    await page.keyboard.press('Tab');
    row = await focusedRow(page);
  }
  assert.ok(row && row.grid === caption, 'Tab never reached the grid');
  await page.keyboard.press('Home');
  const first = await focusedRow(page);
  assert.equal(first.level, 1, 'Home goes to the first row, a group');

  // Down walks every row to the end; the description area follows the focus.
  const descriptions = await paneDescriptions(page, caption);
  const note = page.getByRole('tabpanel').filter({ has: paneGrid(page, caption) }).getByRole('note');
  const seen = [first.path];
  let described = 0;
  for (let i = 0; i < 80; ++i) {
    await page.keyboard.press('ArrowDown');
    const now = await focusedRow(page);
    if (now.path === seen.at(-1)) break;
    seen.push(now.path);
    const description = descriptions.get(now.path);
    if (description) {
      await eventually(async () => assert.ok((await note.textContent()).includes(description),
        `the description of ${now.name}: ${description}`));
      ++described;
    }
  }
  await page.keyboard.press('End');
  assert.equal((await focusedRow(page)).path, seen.at(-1), 'End is the last row');
  assert.equal(new Set(seen).size, seen.length, 'each row once');
  assert.ok(seen.length > 10, `only ${seen.length} rows walked`);
  assert.ok(described > 3, 'rows with descriptions');

  // The grid is one tab stop: Tab leaves it, Shift+Tab comes back to the same row.
  const last = await focusedRow(page);
  await page.keyboard.press('Tab');
  assert.notEqual((await focusedRow(page))?.grid, caption, 'Tab leaves the grid');
  await page.keyboard.press('Shift+Tab');
  assert.equal((await focusedRow(page))?.path, last.path, 'Shift+Tab comes back');

  // Left folds a group and Right opens it again.
  await page.keyboard.press('Home');
  await moveTo(page, 'ArrowDown', 'Computation');
  await page.keyboard.press('ArrowLeft');
  assert.equal((await focusedRow(page)).expanded, 'false');
  await page.keyboard.press('ArrowRight');
  assert.equal((await focusedRow(page)).expanded, 'true');

  // F2 edits, Enter commits.
  await moveTo(page, 'ArrowDown', 'Latitude', { group: 'Computation' });
  await page.keyboard.press('F2');
  await page.keyboard.press('ControlOrMeta+a');
  await page.keyboard.type('51 30 15.5 N');
  await page.keyboard.press('Enter');
  await eventually(async () => {
    const now = await focusedRow(page);
    assertAngle(now.text, 51 + 30 / 60 + 15.5 / 3600, arcMs, 'typed latitude');
    assert.equal(now.name, 'Latitude', 'the focus stays on the row');
  });

  // Esc cancels: what was typed is dropped.
  const latitude = (await focusedRow(page)).text;
  await page.keyboard.press('Enter');
  await page.keyboard.press('ControlOrMeta+a');
  await page.keyboard.type('10N');
  await page.keyboard.press('Escape');
  assert.equal((await focusedRow(page)).text, latitude);

  // A refused value stays in the box with the reason under the row.
  await page.keyboard.press('Enter');
  await page.keyboard.press('ControlOrMeta+a');
  await page.keyboard.type('north-ish');
  await page.keyboard.press('Enter');
  const alert = paneGrid(page, caption).getByRole('alert');
  await alert.waitFor();
  assert.ok((await alert.textContent()).trim().length > 0, 'the reason is given');
  assert.equal(await page.evaluate(() => document.activeElement.value), 'north-ish');
  await page.keyboard.press('Escape');
  await eventually(async () => assert.equal((await focusedRow(page)).text, latitude));

  // Tab commits too.
  await moveTo(page, 'ArrowDown', 'Longitude', { group: 'Computation' });
  await page.keyboard.press('Enter');
  await page.keyboard.press('ControlOrMeta+a');
  await page.keyboard.type('W 0 10 0');
  await page.keyboard.press('Tab');
  await eventually(async () => {
    const longitude = await rowText(await findRow(paneGrid(page, caption), 'Computation', 'Longitude'));
    assertAngle(longitude, -(10 / 60), arcMs, 'typed longitude');
  });

  // A row with options: Enter opens its list, a key picks, Enter takes.
  await page.keyboard.press('Home');
  await moveTo(page, 'ArrowDown', 'Type', { group: 'Projection' });
  const type = (await focusedRow(page)).text;
  await page.keyboard.press('Enter');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await eventually(async () => {
    const now = await focusedRow(page);
    assert.equal(now.name, 'Type');
    assert.equal(now.editing, false, 'the list is closed');
    assert.notEqual(now.text, type, 'another projection type');
  });

  // Ctrl+C copies the row as shown.
  await page.keyboard.press('ControlOrMeta+c');
  const copied = await page.evaluate(() => navigator.clipboard.readText());
  const now = await focusedRow(page);
  assert.equal(copied, `${now.name}\t${now.text}`);
  assert.deepEqual(pageProblems(page), []);
});

test('night mode changes the panes\' colours and is kept', async (t) => {
  const { page } = await openWorkbench(t);
  const grid = await openPane(page, 'Grid To Geographicals');
  const colours = () =>
    grid.evaluate((element) => {
      const style = getComputedStyle(element);
      const names = ['--grid-background', '--grid-text', '--group-background', '--group-text',
        '--description-background', '--description-text', '--grid-line'];
      return Object.fromEntries(names.map((name) => [name, style.getPropertyValue(name).trim()]));
    });
  const day = await colours();
  for (const [name, value] of Object.entries(day)) assert.match(value, /^#[0-9a-f]{6}$/i, name);

  const night = toolbar(page).getByRole('checkbox', { name: 'Night mode' });
  assert.equal(await night.isChecked(), false);
  await night.check();
  await eventually(async () => assert.notDeepEqual(await colours(), day));
  const dark = await colours();
  assert.notEqual(dark['--grid-background'], day['--grid-background']);

  await page.reload();
  await paneGrid(page, 'Grid To Geographicals').waitFor();
  assert.equal(await night.isChecked(), true, 'kept across a reload');
  assert.deepEqual(await colours(), dark);

  await night.uncheck();
  await eventually(async () => assert.deepEqual(await colours(), day));
  assert.deepEqual(pageProblems(page), []);
});

test('Sun Shot offers the missing almanac for its year, and computes once it is written', async (t) => {
  let root;
  const { page } = await openWorkbench(t, {
    prepare: async (folders) => {
      root = folders.root;
    },
  });
  const grid = await openPane(page, 'Sun Shot');
  const offer = page.getByRole('button', { name: /^Generate almanac for \d{4}$/ });
  await offer.waitFor();
  const year = Number((await offer.textContent()).match(/\d{4}/)[0]);
  const declination = ['Computation', 'Apparent Declination of Sun'];
  await expectRow(grid, declination, (text) => assert.match(text, /no result/));

  await offer.click();
  await offer.waitFor({ state: 'detached' });
  // The sun's declination never leaves the tropics.
  await expectRow(grid, declination, (text) => {
    assert.doesNotMatch(text, /no result/);
    assert.ok(Math.abs(angleDegrees(text)) < 23.45, `declination ${text}`);
  });
  const name = `sarsun${String(year % 100).padStart(2, '0')}.dat`;
  const written = readdirSync(root, { recursive: true }).filter((file) => path.basename(file) === name);
  assert.equal(written.length, 1, `${name} written once under the drives: ${written}`);
  assert.deepEqual(pageProblems(page), []);
});

test('every spelling of an angle a surveyor may type gives the same latitude', async (t) => {
  const { page } = await openWorkbench(t);
  const grid = await openPane(page, 'Grid To Geographicals');
  const latitude = async () => rowText(await findRow(grid, 'Computation', 'Latitude'));
  const spellings = [
    '51 30 15.5 N',
    'N51°30′15.5″',
    '51º30\'15.5"N',
    '51˚ 30′ 15.5″ n',
    'n 51 30 15.5',
    '51:30:15.5N',
  ];
  const shown = [];
  for (const spelling of spellings) {
    // Another value first, so that each spelling has to change the row.
    await editRow(await findRow(grid, 'Computation', 'Latitude'), '10 N');
    await expectRow(grid, ['Computation', 'Latitude'], (text) => assertAngle(text, 10, arcMs, '10 N'));
    await editRow(await findRow(grid, 'Computation', 'Latitude'), spelling);
    const refused = grid.getByRole('alert');
    if (await refused.count()) assert.fail(`${spelling} refused: ${await refused.first().innerText()}`);
    await expectRow(grid, ['Computation', 'Latitude'], (text) =>
      assertAngle(text, 51 + 30 / 60 + 15.5 / 3600, arcMs, spelling));
    shown.push(await latitude());
  }
  assert.equal(new Set(shown).size, 1, `one display for every spelling: ${shown.join(' | ')}`);
  assert.equal(await grid.getByRole('alert').count(), 0);
  assert.deepEqual(pageProblems(page), []);
});
