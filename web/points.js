// The points table: a local CSV or .xlsx file is uploaded, its first rows previewed,
// its columns chosen through the import selector of its kind (geographical or grid,
// comma-separated or workbook; the server remembers the choices as the selector
// does), and every row converted through a pane's computation. Each row keeps its
// line number, its status (a failed row stays in the table) and the method or grid
// that gave its result; the results export as CSV or .xlsx.

import { call, createModal, download, ensureStyles, makeButton } from './dialogs.js';

// The computations a point file goes through: the panes that convert points.
const kComputations = ['grid-to-geog', 'datum-shift'];
const kForms = [
  ['geog', 'Geographicals'],
  ['grid', 'Grid co-ordinates'],
];
const kDirections = [
  ['1', 'Forward (source to target)'],
  ['-1', 'Reverse (target to source)'],
];

// The bytes of a file as base64, in slices small enough for String.fromCharCode.
export function toBase64(buffer) {
  const bytes = new Uint8Array(buffer);
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(binary);
}

export function isWorkbook(name) {
  return /\.xlsx$/i.test(name);
}

// The selector that takes this file: "geog-csv", "geog-excel", "grid-csv", "grid-excel".
export function selectorKind(form, fileName) {
  return `${form}-${isWorkbook(fileName) ? 'excel' : 'csv'}`;
}

function element(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined) node.textContent = text;
  return node;
}

function option(value, text) {
  const node = element('option', '', text);
  node.value = value;
  return node;
}

function labelled(text, control) {
  // Named by the text alone: a label around a list box would also take in its options.
  control.setAttribute('aria-label', text);
  const label = element('label', 'orvale-field');
  label.append(element('span', 'orvale-field-label', text), control);
  return label;
}

function fillTable(table, headings, rows) {
  const headRow = element('tr');
  headRow.setAttribute('role', 'row');
  for (const heading of headings) {
    const th = element('th', '', heading);
    th.setAttribute('role', 'columnheader');
    th.scope = 'col';
    headRow.append(th);
  }
  const head = element('thead');
  head.append(headRow);
  const body = element('tbody');
  for (const cells of rows) {
    const tr = element('tr');
    tr.setAttribute('role', 'row');
    for (const cell of cells) {
      const td = element('td', '', cell);
      td.setAttribute('role', 'gridcell');
      tr.append(td);
    }
    body.append(tr);
  }
  table.replaceChildren(head, body);
  table.setAttribute('aria-rowcount', String(rows.length + 1));
  return body;
}

// Opens the points table. With an element `host` (a docked panel's content) the
// table is drawn there; without one it is a modal dialog "Points" of its own.
// Resolves with the view's root element.
export async function openPoints(api, host) {
  ensureStyles();
  let modal = null;
  let root;
  if (host instanceof Element) {
    root = element('section', 'orvale-points');
    root.setAttribute('aria-label', 'Points');
    host.replaceChildren(root);
  } else {
    modal = createModal('Points', { onCancel: () => modal.close() });
    modal.dialog.classList.add('orvale-points-dialog');
    root = element('div', 'orvale-points');
    modal.body.append(root);
    modal.buttons.append(makeButton('Close', () => modal.close()));
  }

  // The upload (server token, name, sheets, first rows) and the selector shown.
  const state = { file: null, name: '', sheets: [], rows: [], lines: [], columns: 0, selector: null };

  const message = element('p', 'orvale-points-message');
  message.setAttribute('role', 'status');
  function report(text, failed = false) {
    message.textContent = text;
    message.classList.toggle('failed', failed);
    message.setAttribute('role', failed ? 'alert' : 'status');
  }
  // Every action reports its failure in the view instead of losing it.
  const safely = (action) => async (...args) => {
    try {
      await action(...args);
    } catch (error) {
      report(error.message, true);
    }
  };

  // File choice and sheet.
  const fileInput = element('input');
  fileInput.type = 'file';
  fileInput.accept = '.csv,.xlsx,text/csv';
  const sheetSelect = element('select');
  const sheetField = labelled('Sheet', sheetSelect);
  sheetField.hidden = true;
  const pick = element('div', 'orvale-points-row');
  pick.append(labelled('Point file', fileInput), sheetField);

  // The first rows, under the selector's column names.
  const previewBox = element('div', 'orvale-points-preview');
  previewBox.hidden = true;
  const previewTable = element('table', 'orvale-list orvale-preview');
  previewTable.setAttribute('role', 'grid');
  previewTable.setAttribute('aria-label', 'Preview');
  previewTable.setAttribute('aria-readonly', 'true');
  previewBox.append(element('h3', '', 'First rows'), previewTable);

  // The import selector and the computation.
  const selectorBox = element('fieldset', 'orvale-points-selector');
  selectorBox.hidden = true;
  const legend = element('legend', '', 'Columns');
  const formSelect = element('select');
  formSelect.append(...kForms.map(([value, text]) => option(value, text)));
  const paneSelect = element('select');
  const directionSelect = element('select');
  directionSelect.append(...kDirections.map(([value, text]) => option(value, text)));
  const directionField = labelled('Direction', directionSelect);
  directionField.hidden = true;
  const settings = element('div', 'orvale-points-row');
  settings.append(labelled('Points are', formSelect), labelled('Computation', paneSelect), directionField);
  const columnsBox = element('div', 'orvale-points-row');
  const convertButton = makeButton('Convert', safely(() => convert()));
  selectorBox.append(legend, settings, columnsBox, convertButton);

  // Results.
  const resultsBox = element('div', 'orvale-points-results');
  resultsBox.hidden = true;
  const summary = element('p', 'orvale-points-summary');
  const exports = element('div', 'orvale-points-row');
  exports.append(
    makeButton('Export CSV', safely(() => exportAs('csv'))),
    makeButton('Export EXCEL', safely(() => exportAs('xlsx'))),
  );
  const scroller = element('div', 'orvale-list-scroller');
  const resultTable = element('table', 'orvale-list orvale-points-table');
  resultTable.setAttribute('role', 'grid');
  resultTable.setAttribute('aria-label', 'Points');
  resultTable.setAttribute('aria-readonly', 'true');
  resultTable.tabIndex = 0;
  scroller.append(resultTable);
  resultsBox.append(summary, exports, scroller);

  root.append(pick, message, previewBox, selectorBox, resultsBox);

  const choosers = [];

  // The selector of the file's kind, its remembered columns and sheet. While the kind
  // stays (another sheet, another file of the kind) the choices on screen are kept.
  async function loadSelector() {
    const kind = selectorKind(formSelect.value, state.name);
    const keep = state.selector?.kind === kind ? choosers.map((select) => Number(select.value)) : null;
    const selector = keep ? state.selector : await call(api, 'GET', `/selectors/${kind}`);
    if (kind !== selectorKind(formSelect.value, state.name)) return; // changed meanwhile
    state.selector = selector;
    legend.textContent = selector.caption || 'Columns';
    choosers.length = 0;
    columnsBox.replaceChildren();
    selector.names.forEach((name, i) => {
      const select = element('select');
      // Entry 0 is "Skip" (column -1); entry n names column n - 1.
      selector.entries.forEach((text, entry) => {
        const column = entry - 1;
        const heading = column >= 0 && column < state.columns ? state.rows[0]?.[column] : '';
        select.append(option(String(column), heading ? `${text} (${heading})` : text));
      });
      select.value = String(keep?.[i] ?? selector.columns[i] ?? -1);
      choosers.push(select);
      columnsBox.append(labelled(name, select));
    });
    fillPreview();
  }

  function fillPreview() {
    const entries = state.selector?.entries ?? [];
    const names = Array.from({ length: state.columns }, (_, i) => entries[i + 1] ?? String(i + 1));
    const rows = state.rows.map((cells, i) => [String(state.lines[i] ?? i + 1), ...cells]);
    fillTable(previewTable, ['Line', ...names], rows);
    previewBox.hidden = false;
  }

  async function fillComputations() {
    const stateJson = await call(api, 'GET', '/state');
    const kinds = stateJson.kinds ?? [];
    const previous = paneSelect.value;
    paneSelect.replaceChildren(
      ...kComputations.map((kind) => option(kind, kinds.find((k) => k.kind === kind)?.caption ?? kind)),
    );
    if (kComputations.includes(previous)) paneSelect.value = previous;
    directionField.hidden = paneSelect.value !== 'datum-shift';
  }

  async function preview(sheet) {
    const file = fileInput.files[0];
    if (!file) return;
    report(`Reading ${file.name}…`);
    const body = { name: file.name, content: toBase64(await file.arrayBuffer()) };
    if (sheet) body.sheet = sheet;
    const answer = await call(api, 'POST', '/points/preview', body);
    takePreview(file.name, answer);
    await Promise.all([loadSelector(), fillComputations()]);
    // A workbook opens on the sheet the selector remembers, when it has one.
    const remembered = state.selector?.sheet;
    if (!sheet && remembered && remembered !== answer.sheet && state.sheets.includes(remembered)) {
      await showSheet(remembered);
    }
    selectorBox.hidden = false;
    resultsBox.hidden = true;
    report(`${file.name}: the first ${state.rows.length} rows of ${state.columns} columns`);
  }

  function takePreview(name, answer) {
    Object.assign(state, {
      file: answer.file,
      name,
      sheets: answer.sheets ?? [],
      rows: answer.rows ?? [],
      lines: answer.lines ?? [],
      columns: answer.columns ?? 0,
    });
    sheetField.hidden = state.sheets.length === 0;
    sheetSelect.replaceChildren(...state.sheets.map((s) => option(s, s)));
    if (answer.sheet) sheetSelect.value = answer.sheet;
  }

  // Another sheet of the uploaded workbook: previewed again without a second upload.
  async function showSheet(sheet) {
    const answer = await call(api, 'POST', '/points/preview', { file: state.file, sheet });
    takePreview(state.name, answer);
    await loadSelector();
  }

  async function convert() {
    if (!state.file) return;
    const kind = selectorKind(formSelect.value, state.name);
    const columns = choosers.map((select) => Number(select.value));
    const sheet = isWorkbook(state.name) ? sheetSelect.value : undefined;
    // Remembered as the selector's OK would, for the next file of this kind.
    const remembered = await call(api, 'POST', `/selectors/${kind}`, sheet ? { columns, sheet } : { columns });
    state.selector = remembered;
    report('Converting…');
    const body = { file: state.file, pane: paneSelect.value, form: formSelect.value, columns };
    if (sheet) body.sheet = sheet;
    if (paneSelect.value === 'datum-shift') body.direction = Number(directionSelect.value);
    const answer = await call(api, 'POST', '/points/convert', body);
    showResults(answer);
    report('');
  }

  function showResults(answer) {
    // The status beside the line number, where a failed row's reason is seen first.
    const headings = ['Line', 'Status', ...answer.headings, 'Method'];
    const rows = answer.rows.map((row) => [String(row.line), row.status, ...row.cells, row.method ?? '']);
    const body = fillTable(resultTable, headings, rows);
    let failed = 0;
    answer.rows.forEach((row, i) => {
      const tr = body.rows[i];
      tr.dataset.line = String(row.line);
      if (row.status !== 'ok') {
        failed++;
        tr.classList.add('failed');
        tr.setAttribute('aria-invalid', 'true');
      }
    });
    summary.textContent = `${answer.rows.length} rows: ${answer.rows.length - failed} converted, ${failed} failed`;
    resultsBox.hidden = false;
  }

  async function exportAs(format) {
    if (!state.file) return;
    const name = await download(api, `/points/export?file=${encodeURIComponent(state.file)}&format=${format}`);
    report(`Exported ${name}`);
  }

  fileInput.addEventListener('change', safely(() => preview()));
  sheetSelect.addEventListener('change', safely(() => showSheet(sheetSelect.value)));
  formSelect.addEventListener('change', safely(() => loadSelector()));
  paneSelect.addEventListener('change', () => {
    directionField.hidden = paneSelect.value !== 'datum-shift';
  });

  if (modal) modal.show();
  return root;
}
