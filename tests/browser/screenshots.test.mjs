// The main views drawn in every colour scheme, by day and by night, compared pixel by
// pixel with the pictures kept in baselines/. Viewport, locale, time zone and font
// (the DejaVu face the studio serves from /fonts/) are fixed, so the same build draws
// the same pixels. UPDATE_BASELINES=1 writes the pictures anew (commit them); a
// mismatch leaves the picture taken and the difference in build/browser-screenshots/.

import assert from 'node:assert/strict';
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import pixelmatch from 'pixelmatch';
import { PNG } from 'pngjs';

import { openPane, openWorkbench, pageProblems, paneGrid, repositoryRoot, toolbar } from './harness.mjs';

const baselines = path.join(repositoryRoot, 'tests', 'browser', 'baselines');
const failures = path.join(repositoryRoot, 'build', 'browser-screenshots');
const update = process.env.UPDATE_BASELINES === '1';

// Per pixel, pixelmatch's colour distance; for the picture, the share of pixels that
// may differ (anti-aliasing at the edges of glyphs), and never more than that.
const pixelThreshold = 0.1;
const allowedShare = 0.001;

function compare(name, actual) {
  const file = path.join(baselines, `${name}.png`);
  if (update) {
    mkdirSync(baselines, { recursive: true });
    writeFileSync(file, actual);
    return;
  }
  assert.ok(existsSync(file), `no baseline ${name}.png: run with UPDATE_BASELINES=1 and commit it`);
  const expected = PNG.sync.read(readFileSync(file));
  const taken = PNG.sync.read(actual);
  const keep = (diff) => {
    mkdirSync(failures, { recursive: true });
    writeFileSync(path.join(failures, `${name}.actual.png`), actual);
    if (diff) writeFileSync(path.join(failures, `${name}.diff.png`), PNG.sync.write(diff));
  };
  if (expected.width !== taken.width || expected.height !== taken.height) {
    keep(null);
    assert.fail(`${name}: ${taken.width}x${taken.height}, the baseline is ` +
      `${expected.width}x${expected.height}`);
  }
  const diff = new PNG({ width: taken.width, height: taken.height });
  const differing = pixelmatch(expected.data, taken.data, diff.data, taken.width, taken.height, {
    threshold: pixelThreshold,
  });
  const allowed = Math.floor(taken.width * taken.height * allowedShare);
  if (differing > allowed) {
    keep(diff);
    assert.fail(`${name}: ${differing} pixels differ (at most ${allowed}); see ${failures}`);
  }
}

// The colour scheme, set as the settings page sets it; the page is reloaded to draw it.
async function applyScheme(page, scheme) {
  const status = await page.evaluate(async (scheme) => {
    const headers = { 'X-Orvale-Request': '1', 'Content-Type': 'application/json' };
    const reply = await fetch('/api/settings', { method: 'POST', headers, body: JSON.stringify({ scheme }) });
    return reply.status;
  }, scheme);
  assert.equal(status, 200, `settings with scheme ${scheme}`);
  await page.reload();
  await toolbar(page).waitFor();
}

// Night mode by the toolbar's check box, as a person switches it.
async function setNight(page, night) {
  const box = toolbar(page).getByRole('checkbox', { name: 'Night mode' });
  if ((await box.isChecked()) === night) return;
  await Promise.all([
    page.waitForResponse((reply) => new URL(reply.url()).pathname === '/api/settings'),
    box.setChecked(night),
  ]);
  await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => resolve())));
}

// Nothing that moves or depends on the pointer: no hover, no focus ring, every font
// loaded.
async function settle(page) {
  await page.mouse.move(0, 0);
  await page.evaluate(async () => {
    document.activeElement?.blur();
    await document.fonts.ready;
  });
}

async function shoot(locator) {
  return locator.screenshot({ animations: 'disabled', caret: 'hide', scale: 'css' });
}

function panel(page, caption) {
  return page.getByRole('tabpanel').filter({ has: paneGrid(page, caption) });
}

test('the main views in every colour scheme, by day and by night, match their baselines', async (t) => {
  const { page } = await openWorkbench(t);
  await openPane(page, 'Grid To Geographicals');
  await settle(page);

  // The studio's own DejaVu face draws the text, not whatever the machine has.
  const fonts = await page.evaluate(() => ({
    requested: performance.getEntriesByType('resource').map((e) => new URL(e.name).pathname)
      .filter((name) => name.startsWith('/fonts/')),
    family: getComputedStyle(document.querySelector('[role="treegrid"]')).fontFamily,
    loaded: [...document.fonts].filter((face) => face.status === 'loaded').map((face) => face.family),
  }));
  assert.ok(fonts.requested.length > 0, 'a font from /fonts/');
  assert.match(fonts.family, /DejaVu/);
  assert.ok(fonts.loaded.some((family) => /DejaVu/.test(family)), `loaded: ${fonts.loaded}`);

  const suffix = (night) => (night ? 'night' : 'day');
  // The workbench as it starts, then the other main views, by day and by night.
  for (const night of [false, true]) {
    await setNight(page, night);
    await settle(page);
    compare(`workbench-${suffix(night)}`, await page.screenshot({
      animations: 'disabled', caret: 'hide', scale: 'css',
    }));
  }
  for (const night of [true, false]) {
    await setNight(page, night);
    for (const caption of ['Datum Shift', 'Compute Heading']) {
      await openPane(page, caption);
      await settle(page);
      const name = caption.toLowerCase().replace(/ /g, '-');
      compare(`${name}-${suffix(night)}`, await shoot(panel(page, caption)));
    }
  }

  // The property grid in each of the eight schemes.
  for (let scheme = 0; scheme <= 7; ++scheme) {
    await applyScheme(page, scheme);
    for (const night of [false, true]) {
      await setNight(page, night);
      const grid = await openPane(page, 'Grid To Geographicals');
      await settle(page);
      const colour = await grid.evaluate((e) => getComputedStyle(e).getPropertyValue('--grid-background'));
      assert.match(colour.trim(), /^#[0-9a-f]{6}$/i, `scheme ${scheme} sets its colours`);
      compare(`grid-to-geographicals-scheme${scheme}-${suffix(night)}`,
        await shoot(panel(page, 'Grid To Geographicals')));
    }
  }
  assert.deepEqual(pageProblems(page), []);
});
