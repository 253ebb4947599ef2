// The points table in the browser: a CSV with a bad row is uploaded, previewed, its
// columns mapped, converted through a pane (every row kept, the bad one with its
// status and line number) and the results downloaded as CSV and .xlsx; a workbook's
// second sheet is chosen.

import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { csvRows, python, scratchFolder, workbookRows } from './files.mjs';
import { eventually, openWorkbench, pageProblems, toolbar } from './harness.mjs';

const kCsv = [
  'Station,Latitude,Longitude,Height',
  'Alpha,51.5,-0.1,10',
  'Bravo,north-ish,2.0,0',
  'Charlie,52.25,1.5,5',
  '',
].join('\n');





// The points view, wherever the page puts it (a panel or a dialog of its own).
async function openPoints(page) {
  await toolbar(page).getByRole('button', { name: 'Points', exact: true }).click();
  const input = page.getByLabel('Point file');
  // A panel docked as a tab behind another is brought to the front by its tab.
  await eventually(async () => {
    if (!(await input.isVisible())) await page.getByRole('tab', { name: 'Points', exact: true }).click();
    assert.ok(await input.isVisible());
  });
  const view = page.locator('.orvale-points').filter({ has: input });
  return { view, input };
}

async function tableContents(table) {
  return table.evaluate((element) =>
    [...element.querySelectorAll('tr')].map((tr) => [...tr.cells].map((cell) => cell.textContent)),
  );
}

test('a CSV with a bad row converts every row, the bad one flagged with its line, and exports', async (t) => {
  const { page } = await openWorkbench(t);
  const { view, input } = await openPoints(page);
  await input.setInputFiles({ name: 'stations.csv', mimeType: 'text/csv', buffer: Buffer.from(kCsv) });

  const preview = view.getByRole('grid', { name: 'Preview', exact: true });
  await preview.getByRole('row').nth(1).waitFor();
  const previewed = await tableContents(preview);
  assert.deepEqual(previewed[0], ['Line', '1', '2', '3', '4'], 'a CSV\'s columns are numbered');
  assert.deepEqual(
    previewed.slice(1),
    kCsv.trim().split('\n').map((line, i) => [String(i + 1), ...line.split(',')]),
  );

  // Decimal degrees: minutes, seconds and quadrants skipped, the sign in the degrees.
  await view.getByLabel('Points are').selectOption('geog');
  await view.getByLabel('Computation').selectOption({ label: 'Grid To Geographicals' });
  const columns = { Name: 0, 'Lat Deg': 1, 'Lat Min': -1, 'Lat Sec': -1, 'Lat Quad': -1 };
  Object.assign(columns, { 'Lon Deg': 2, 'Lon Min': -1, 'Lon Sec': -1, 'Lon Quad': -1 });
  for (const [name, column] of Object.entries(columns)) {
    await view.getByLabel(name, { exact: true }).selectOption(String(column));
  }
  assert.equal(await view.getByLabel('Lat Sec', { exact: true }).locator('option:checked').textContent(), 'Skip');
  await view.getByRole('button', { name: 'Convert', exact: true }).click();

  const table = view.getByRole('grid', { name: 'Points', exact: true });
  await table.getByRole('row').nth(1).waitFor();
  const shown = await tableContents(table);
  const headings = shown[0];
  const [lineAt, statusAt, methodAt] = ['Line', 'Status', 'Method'].map((h) => headings.indexOf(h));
  const rows = shown.slice(1);
  assert.equal(rows.length, 3, 'every row of the file has a result');
  assert.deepEqual(rows.map((cells) => cells[lineAt]), ['2', '3', '4'], 'in order, with the line numbers of the file');
  assert.equal(rows[0][statusAt], 'ok');
  assert.equal(rows[2][statusAt], 'ok');
  assert.notEqual(rows[1][statusAt], 'ok');
  assert.ok(rows[1][statusAt].length > 0, 'the bad row says why');
  assert.ok(rows[0][methodAt].length > 0, 'a converted row names its method');
  assert.equal(await table.getByRole('row').nth(2).getAttribute('aria-invalid'), 'true');
  assert.ok(rows[0].includes('Alpha') && rows[2].includes('Charlie'), 'the names are kept');

  const folder = scratchFolder(t, 'orvale-points-');
  const [csvDownload] = await Promise.all([
    page.waitForEvent('download'),
    view.getByRole('button', { name: 'Export CSV', exact: true }).click(),
  ]);
  assert.match(csvDownload.suggestedFilename(), /\.csv$/i);
  const csvFile = path.join(folder, 'results.csv');
  await csvDownload.saveAs(csvFile);
  const exported = csvRows(readFileSync(csvFile, 'utf8').replace(/^\uFEFF/, '')).filter((r) => r.join('') !== '');
  assert.equal(exported.length, 4, 'a heading line and a line per point');
  assert.ok(exported[2].some((cell) => cell === rows[1][statusAt]), 'the bad row keeps its status');
  assert.ok(exported[2].includes('3'), 'and its line number');
  assert.ok(exported[1].some((cell) => cell.includes('Alpha')));
  assert.ok(exported[3].some((cell) => cell.includes('Charlie')));

  const [xlsxDownload] = await Promise.all([
    page.waitForEvent('download'),
    view.getByRole('button', { name: 'Export EXCEL', exact: true }).click(),
  ]);
  assert.match(xlsxDownload.suggestedFilename(), /\.xlsx$/i);
  const xlsxFile = path.join(folder, 'results.xlsx');
  await xlsxDownload.saveAs(xlsxFile);
  const sheet = workbookRows(xlsxFile).filter((r) => r.some((cell) => cell !== null && cell !== ''));
  assert.equal(sheet.length, 4, 'a heading row and a row per point');
  assert.ok(sheet[2].some((cell) => cell === rows[1][statusAt]), 'the bad row keeps its status');

  // The same file through the datum shift, both ways: the method names the shift.
  await view.getByLabel('Computation').selectOption({ label: 'Datum Shift' });
  let before = shown;
  for (const direction of ['1', '-1']) {
    await view.getByLabel('Direction').selectOption(direction);
    await view.getByRole('button', { name: 'Convert', exact: true }).click();
    before = await eventually(async () => {
      const shifted = await tableContents(table);
      assert.notDeepEqual(shifted, before, 'each direction gives its own results');
      assert.ok(shifted[0].some((heading) => heading.endsWith('(Shifted)')), `shifted headings: ${shifted[0]}`);
      const shiftedRows = shifted.slice(1);
      const [status, method] = ['Status', 'Method'].map((h) => shifted[0].indexOf(h));
      assert.equal(shiftedRows.length, 3);
      assert.deepEqual(shiftedRows.map((cells) => cells[status] === 'ok'), [true, false, true]);
      assert.ok(shiftedRows[0][method].length > 0);
      assert.notEqual(shiftedRows[0][method], rows[0][methodAt], 'a datum, not the projection');
      return shifted;
    });
  }
  assert.deepEqual(pageProblems(page), []);
});

test("a workbook's sheet is chosen and its columns named by letter", async (t) => {
  const folder = scratchFolder(t, 'orvale-points-');
  const book = path.join(folder, 'points.xlsx');
  python(
    [
      'import sys, openpyxl',
      'book = openpyxl.Workbook()',
      'first = book.active',
      'first.title = "Notes"',
      'first.append(["nothing", "here"])',
      'grid = book.create_sheet("Grid")',
      'grid.append(["Point", "Easting", "Northing"])',
      'grid.append(["P1", 651409.903, 313177.270])',
      'grid.append(["P2", 530000, 180000])',
      'book.save(sys.argv[1])',
    ].join('\n'),
    book,
  );
  const { page } = await openWorkbench(t);
  const { view, input } = await openPoints(page);
  await input.setInputFiles(book);
  const sheet = view.getByLabel('Sheet');
  await sheet.waitFor();
  assert.deepEqual(await sheet.locator('option').allTextContents(), ['Notes', 'Grid']);
  await sheet.selectOption('Grid');
  const preview = view.getByRole('grid', { name: 'Preview', exact: true });
  await eventually(async () => assert.match(await preview.innerText(), /P2/));
  assert.deepEqual((await tableContents(preview))[0], ['Line', 'A', 'B', 'C']);

  await view.getByLabel('Points are').selectOption('grid');
  await view.getByLabel('Easting', { exact: true }).waitFor();
  // First use: the grid selector's own defaults, its columns named by letter.
  const chosen = (name) => view.getByLabel(name, { exact: true }).locator('option:checked').textContent();
  assert.match(await chosen('Name'), /^B\b/);
  await view.getByLabel('Name', { exact: true }).selectOption('0');
  await view.getByLabel('Easting', { exact: true }).selectOption('1');
  await view.getByLabel('Northing', { exact: true }).selectOption('2');
  await view.getByLabel('Computation').selectOption({ label: 'Grid To Geographicals' });
  await view.getByRole('button', { name: 'Convert', exact: true }).click();
  const table = view.getByRole('grid', { name: 'Points', exact: true });
  await table.getByRole('row').nth(2).waitFor();
  const shown = await tableContents(table);
  const statusAt = shown[0].indexOf('Status');
  assert.deepEqual(shown.slice(1).map((cells) => cells[statusAt]), ['ok', 'ok']);
  assert.deepEqual(shown.slice(1).map((cells) => cells[shown[0].indexOf('Line')]), ['2', '3']);

  // The choices are remembered for the next file of the kind, as the selector does.
  await view.getByLabel('Points are').selectOption('geog');
  await view.getByLabel('Lat Deg', { exact: true }).waitFor();
  await view.getByLabel('Points are').selectOption('grid');
  await view.getByLabel('Easting', { exact: true }).waitFor();
  await eventually(async () => assert.match(await chosen('Easting'), /^B\b/));
  assert.match(await chosen('Name'), /^A\b/);
  assert.match(await chosen('Northing'), /^C\b/);
  assert.deepEqual(pageProblems(page), []);
});
