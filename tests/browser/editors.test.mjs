// The catalogue list editors in the browser: the list and its headings, selection,
// a record edited through its dialog, removal asked first, and the list exported to
// CSV and .xlsx (read back by openpyxl) and printed without the workbench around it.

import assert from 'node:assert/strict';
import { existsSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { csvRows, scratchFolder, workbookRows } from './files.mjs';
import { eventually, findRow, editRow, openWorkbench, pageProblems, repositoryRoot, toolbar } from './harness.mjs';

// A spheroid record file: name and country lines, then a, b and 1/f as little-endian
// doubles.
function spheroidRecord(name, country, a, b, rf) {
  const axes = Buffer.alloc(24);
  axes.writeDoubleLE(a, 0);
  axes.writeDoubleLE(b, 8);
  axes.writeDoubleLE(rf, 16);
  return Buffer.concat([Buffer.from(`${name}\n${country}\n`, 'latin1'), axes]);
}

const kRecords = [
  { title: 'Aardvark', name: 'Aardvark Spheroid', country: 'Testland', a: 6378200, rf: 298.3 },
  // A name a spreadsheet would run as a formula if the export left it as it is.
  { title: 'Formula', name: '=1+2', country: '@Risky', a: 6378100, rf: 297.0 },
];

async function prepare(folders) {
  mkdirSync(folders.global, { recursive: true });
  for (const r of kRecords) {
    const b = (1 - 1 / r.rf) * r.a;
    writeFileSync(path.join(folders.global, `${r.title}.SPD`), spheroidRecord(r.name, r.country, r.a, b, r.rf));
  }
}

// The headings each editor shows, from the table the library's own tests read.
function headingsOf(editor) {
  const file = path.join(repositoryRoot, 'tests', 'data', 'dialogs', 'editor_headings.txt');
  for (const line of readFileSync(file, 'utf8').split('\n')) {
    if (line.startsWith('#') || !line.trim()) continue;
    const [name, ...cells] = line.split('|').map((cell) => cell.trim());
    if (name !== editor) continue;
    return cells.map((cell) =>
      cell === '(empty)' ? '' : cell.replace(/\\x([0-9A-Fa-f]{2})/g, (_, hex) => String.fromCharCode(parseInt(hex, 16))),
    );
  }
  throw new Error(`no headings for ${editor}`);
}

async function openSpheroids(page) {
  await toolbar(page).getByRole('button', { name: 'Spheroids', exact: true }).click();
  const dialog = page.getByRole('dialog', { name: 'Spheroid Editor', exact: true });
  await dialog.waitFor();
  const list = dialog.getByRole('grid', { name: 'Spheroid Editor', exact: true });
  await list.getByRole('row').nth(1).waitFor();
  return { dialog, list };
}

// The list as the page shows it: the headings, then each row's cells.
async function listContents(list) {
  return list.evaluate((table) => [...table.querySelectorAll('tr')].map((tr) => [...tr.cells].map((cell) => cell.textContent)));
}

function rowOf(list, text) {
  return list.getByRole('row').filter({ has: list.page().getByRole('gridcell', { name: text, exact: true }) });
}



// A cell of the export against the text the list shows: numbers may come back as
// numbers, blanks as nothing.
function sameCell(exported, shown) {
  if (exported === null || exported === undefined) return shown.trim() === '';
  if (typeof exported === 'number') return Number(shown) === exported;
  return String(exported) === shown;
}


test('the spheroid editor lists the catalogue under its headings, exports it to CSV and .xlsx and prints it', async (t) => {
  const { page, context } = await openWorkbench(t, { prepare });
  const { dialog, list } = await openSpheroids(page);
  const shown = await listContents(list);
  assert.deepEqual(shown[0], headingsOf('spheroid'));
  const names = shown.slice(1).map((cells) => cells[1]);
  for (const r of kRecords) assert.ok(names.includes(r.name), `${r.name} is listed`);
  assert.ok(shown.length > 50, 'the built-in spheroids are listed');
  // Edit and Remove wait for a record file's row.
  assert.equal(await dialog.getByRole('button', { name: 'Edit', exact: true }).isVisible(), false);
  assert.equal(await dialog.getByRole('button', { name: 'Remove', exact: true }).isVisible(), false);

  const folder = scratchFolder(t, 'orvale-editors-');
  const [csvDownload] = await Promise.all([
    page.waitForEvent('download'),
    dialog.getByRole('button', { name: 'Export CSV', exact: true }).click(),
  ]);
  assert.match(csvDownload.suggestedFilename(), /\.csv$/i);
  const csvFile = path.join(folder, 'spheroids.csv');
  await csvDownload.saveAs(csvFile);
  const csv = csvRows(readFileSync(csvFile, 'utf8').replace(/^\uFEFF/, ''));
  assert.equal(csv.length, shown.length, 'a CSV line per row and one for the headings');
  const formulaRow = csv.find((cells) => cells.some((cell) => cell.includes('1+2')));
  assert.ok(formulaRow, 'the record named =1+2 is exported');
  for (const cell of formulaRow) assert.doesNotMatch(cell, /^[=+\-@]/, 'no cell starts a formula');
  const aardvark = csv.find((cells) => cells.includes('Aardvark Spheroid'));
  assert.deepEqual(aardvark, shown.find((cells) => cells[1] === 'Aardvark Spheroid'));

  const [xlsxDownload] = await Promise.all([
    page.waitForEvent('download'),
    dialog.getByRole('button', { name: 'Export EXCEL', exact: true }).click(),
  ]);
  assert.match(xlsxDownload.suggestedFilename(), /\.xlsx$/i);
  const xlsxFile = path.join(folder, 'spheroids.xlsx');
  await xlsxDownload.saveAs(xlsxFile);
  const sheet = workbookRows(xlsxFile);
  const filled = sheet.filter((cells) => cells.some((cell) => cell !== null && cell !== ''));
  assert.equal(filled.length, shown.length, 'a sheet row per row and one for the headings');
  const sheetRow = filled.find((cells) => cells.includes('Aardvark Spheroid'));
  const listRow = shown.find((cells) => cells[1] === 'Aardvark Spheroid');
  assert.ok(sheetRow, 'Aardvark Spheroid is in the workbook');
  listRow.forEach((text, i) => assert.ok(sameCell(sheetRow[i], text), `column ${i}: ${sheetRow[i]} shows as ${text}`));

  const [view] = await Promise.all([
    context.waitForEvent('page'),
    dialog.getByRole('button', { name: 'Print', exact: true }).click(),
  ]);
  await view.waitForLoadState();
  await eventually(async () => {
    const text = await view.locator('body').innerText();
    assert.match(text, /Aardvark Spheroid/);
  });
  const printed = await view.locator('table tr').count();
  assert.equal(printed, shown.length, 'the print view has every row');
  assert.equal(await view.getByRole('toolbar').count(), 0, 'no workbench toolbar');
  assert.equal(await view.getByRole('dialog').count(), 0, 'no dialog');
  assert.equal(await view.getByRole('button').count(), 0, 'no buttons');
  await view.close();

  await dialog.getByRole('button', { name: 'OK', exact: true }).click();
  await dialog.waitFor({ state: 'detached' });
  assert.deepEqual(pageProblems(page), []);
});

test('a record edited through its dialog changes its row; built-in rows cannot be edited', async (t) => {
  const { page } = await openWorkbench(t, { prepare });
  const { dialog, list } = await openSpheroids(page);
  const edit = dialog.getByRole('button', { name: 'Edit', exact: true });
  const remove = dialog.getByRole('button', { name: 'Remove', exact: true });

  await rowOf(list, 'Aardvark Spheroid').click();
  await edit.waitFor();
  assert.equal(await rowOf(list, 'Aardvark Spheroid').getAttribute('aria-selected'), 'true');
  assert.ok(await remove.isVisible());

  // A built-in row hides them again; the arrows move the selection from row to row.
  const builtIn = rowOf(list, 'Airy 1830');
  await builtIn.click();
  await edit.waitFor({ state: 'hidden' });
  assert.equal(await remove.isVisible(), false);
  const selectedName = async () =>
    (await list.locator('tr[aria-selected="true"]').getByRole('gridcell').nth(1).textContent());
  await list.press('Home');
  await eventually(async () => assert.equal(await list.locator('tbody tr').first().getAttribute('aria-selected'), 'true'));
  const first = await selectedName();
  await list.press('ArrowDown');
  await eventually(async () => assert.equal(await list.locator('tbody tr').nth(1).getAttribute('aria-selected'), 'true'));
  assert.notEqual(await selectedName(), first);
  assert.equal(await list.locator('tr[aria-selected="true"]').count(), 1);

  await rowOf(list, 'Aardvark Spheroid').click();
  await edit.click();
  const record = page.getByRole('dialog', { name: 'Edit Spheroid', exact: true });
  await record.waitFor();
  const grid = record.getByRole('treegrid', { name: 'Edit Spheroid', exact: true });
  await editRow(await findRow(grid, 'Spheroid', 'Country'), 'Elsewhere');
  await eventually(async () =>
    assert.equal((await (await findRow(grid, 'Spheroid', 'Country')).getByRole('gridcell').first().textContent()).trim(), 'Elsewhere'),
  );
  await record.getByRole('button', { name: 'OK', exact: true }).click();
  await record.waitFor({ state: 'detached' });
  await eventually(async () => {
    const cells = await rowOf(list, 'Aardvark Spheroid').getByRole('gridcell').allTextContents();
    assert.ok(cells.includes('Elsewhere'), `the row shows the new country: ${cells}`);
  });

  // A double-click opens a file row's record, Enter the selected one; Cancel and Esc
  // change nothing. A built-in row opens nothing.
  await rowOf(list, 'Aardvark Spheroid').dblclick();
  await record.waitFor();
  assert.equal(await (await findRow(grid, 'Spheroid', 'Country')).getByRole('gridcell').first().textContent(), 'Elsewhere');
  await record.getByRole('button', { name: 'Cancel', exact: true }).click();
  await record.waitFor({ state: 'detached' });
  await list.press('Enter');
  await record.waitFor();
  await page.keyboard.press('Escape');
  await record.waitFor({ state: 'detached' });
  await builtIn.dblclick();
  await edit.waitFor({ state: 'hidden' });
  assert.equal(await page.getByRole('dialog', { name: 'Edit Spheroid' }).count(), 0);
  assert.deepEqual(pageProblems(page), []);
});

test('removing a record asks first: No keeps the row and the file, Yes removes both', async (t) => {
  let global;
  const { page } = await openWorkbench(t, {
    prepare: async (folders) => {
      global = folders.global;
      await prepare(folders);
    },
  });
  const file = path.join(global, 'Aardvark.SPD');
  const { dialog, list } = await openSpheroids(page);
  const count = await list.getByRole('row').count();
  await rowOf(list, 'Aardvark Spheroid').click();
  await dialog.getByRole('button', { name: 'Remove', exact: true }).click();

  const question = page.getByRole('alertdialog');
  await question.waitFor();
  assert.match(await question.innerText(), /Are You sure you want to delete Aardvark/);
  await question.getByRole('button', { name: 'No', exact: true }).click();
  await question.waitFor({ state: 'detached' });
  assert.equal(await rowOf(list, 'Aardvark Spheroid').count(), 1, 'No keeps the row');
  assert.equal(await list.getByRole('row').count(), count);
  assert.ok(existsSync(file), 'No keeps the file');

  // The Delete key asks the same question.
  await rowOf(list, 'Aardvark Spheroid').click();
  await list.press('Delete');
  await question.waitFor();
  await question.getByRole('button', { name: 'Yes', exact: true }).click();
  await eventually(async () => assert.equal(await rowOf(list, 'Aardvark Spheroid').count(), 0));
  assert.equal(await list.getByRole('row').count(), count - 1);
  assert.equal(existsSync(file), false, 'Yes removes the file');
  assert.equal(await dialog.getByRole('button', { name: 'Remove', exact: true }).isVisible(), false);
  assert.deepEqual(pageProblems(page), []);
});

test('the WGS84 set-up opens from the toolbar, shows each datum chosen and cancels', async (t) => {
  const { page } = await openWorkbench(t);
  await toolbar(page).getByRole('button', { name: 'WGS84 Setup', exact: true }).click();
  const dialog = page.getByRole('dialog', { name: 'WGS84 Setup' });
  await dialog.waitFor();
  const lists = dialog.getByRole('combobox');
  assert.ok((await lists.count()) >= 2, 'the datum type and datum lists');
  const displays = dialog.locator('dl');
  const before = await displays.innerText();
  const datums = lists.nth(1);
  const options = await datums.locator('option:not([disabled])').allTextContents();
  assert.ok(options.length > 1, `datums offered: ${options}`);
  await datums.selectOption(options[options.length - 1]);
  await eventually(async () => assert.notEqual(await displays.innerText(), before));
  await dialog.getByRole('button', { name: 'Cancel', exact: true }).click();
  await dialog.waitFor({ state: 'detached' });
  assert.deepEqual(pageProblems(page), []);
});
