// The points table: a local CSV or .xlsx file is uploaded, its first rows previewed,
// its columns mapped through the import selector (name, latitude/easting,
// longitude/northing, height, each possibly "Skip"), and every row converted through
// a pane's computation. Each row keeps its line number, its status (a failed row
// stays in the table) and the method or grid that gave its result; the results
// export as CSV or .xlsx.

import { call, createModal, download, ensureStyles, makeButton } from './dialogs.js';

const kForms = {
  geog: [
    ['name', 'Name'],
    ['latitude', 'Latitude'],
    ['longitude', 'Longitude'],
    ['height', 'Height'],
  ],
  grid: [
    ['name', 'Name'],
    ['easting', 'Easting'],
    ['northing', 'Northing'],
    ['height', 'Height'],
  ],
};

// Which heading words suggest which field, for a first guess at the mapping.
const kGuesses = {
  name: /^(name|point|pt|id|station|stn)\b/i,
  latitude: /^(lat|latitude|phi)\b/i,
  longitude: /^(lon|long|longitude|lng|lambda)\b/i,
  easting: /^(e|east|easting|x)\b/i,
  northing: /^(n|north|northing|y)\b/i,
  height: /^(h|height|ht|elev|elevation|z|alt|altitude)\b/i,
};

// Spreadsheets name columns by letter, comma-separated files by number (from 1).
export function columnName(index, lettered) {
  if (!lettered) return String(index + 1);
  let name = '';
  for (let n = index + 1; n > 0; n = Math.floor((n - 1) / 26)) {
    name = String.fromCharCode(65 + ((n - 1) % 26)) + name;
  }
  return name;
}

// The bytes of a file as base64, in slices small enough for String.fromCharCode.
export function toBase64(buffer) {
  const bytes = new Uint8Array(buffer);
  let binary = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(binary);
}

// The first guess at a mapping from the heading row: fields whose heading names
// them, then the remaining fields in column order; height is skipped unless named.
export function guessColumns(form, headings, columns) {
  const fields = kForms[form].map(([field]) => field);
  const chosen = {};
  const used = new Set();
  for (const field of fields) {
    const at = headings.findIndex((h, i) => !used.has(i) && kGuesses[field].test(String(h).trim()));
    if (at >= 0) {
      chosen[field] = at;
      used.add(at);
    }
  }
  let next = 0;
  for (const field of fields) {
    if (field in chosen) continue;
    if (field === 'height') {
      chosen[field] = -1;
      continue;
    }
    while (used.has(next)) next++;
    chosen[field] = next < columns ? next : -1;
    if (next < columns) used.add(next);
  }
  return chosen;
}

function element(tag, className, text) {
  const node = document.createElement(tag);
  if (className) node.className = className;
  if (text !== undefined) node.textContent = text;
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

  const state = { file: null, name: '', sheets: [], rows: [], columns: 0, results: null };

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
  fileInput.accept = '.csv,.txt,.xlsx,text/csv';
  const sheetSelect = element('select');
  const sheetField = labelled('Sheet', sheetSelect);
  sheetField.hidden = true;
  const pick = element('div', 'orvale-points-row');
  pick.append(labelled('Point file', fileInput), sheetField);

  // Preview of the first rows.
  const previewBox = element('div', 'orvale-points-preview');
  previewBox.hidden = true;
  const previewTable = element('table', 'orvale-list orvale-preview');
  previewTable.setAttribute('role', 'grid');
  previewTable.setAttribute('aria-label', 'Preview');
  previewTable.setAttribute('aria-readonly', 'true');
  previewBox.append(element('h3', '', 'First rows'), previewTable);

  // The import selector: form, columns, heading rows, computation.
  const selector = element('fieldset', 'orvale-points-selector');
  selector.hidden = true;
  selector.append(element('legend', '', 'Columns'));
  const formSelect = element('select');
  for (const [value, text] of [
    ['geog', 'Geographicals (latitude, longitude)'],
    ['grid', 'Grid (easting, northing)'],
  ]) {
    const option = element('option', '', text);
    option.value = value;
    formSelect.append(option);
  }
  const headerInput = element('input');
  headerInput.type = 'number';
  headerInput.min = '0';
  headerInput.value = '1';
  headerInput.className = 'orvale-number';
  const paneSelect = element('select');
  const columnsBox = element('div', 'orvale-points-row');
  const settings = element('div', 'orvale-points-row');
  settings.append(
    labelled('Points are', formSelect),
    labelled('Heading rows', headerInput),
    labelled('Computation', paneSelect),
  );
  const convertButton = makeButton('Convert', safely(() => convert()));
  selector.append(settings, columnsBox, convertButton);

  // Results.
  const resultsBox = element('div', 'orvale-points-results');
  resultsBox.hidden = true;
  const summary = element('p', 'orvale-points-summary');
  summary.setAttribute('role', 'status');
  const exportCsv = makeButton('Export CSV', safely(() => exportAs('csv')));
  const exportXlsx = makeButton('Export EXCEL', safely(() => exportAs('xlsx')));
  const exports = element('div', 'orvale-points-row');
  exports.append(exportCsv, exportXlsx);
  const scroller = element('div', 'orvale-list-scroller');
  const resultTable = element('table', 'orvale-list orvale-points-table');
  resultTable.setAttribute('role', 'grid');
  resultTable.setAttribute('aria-label', 'Points');
  resultTable.setAttribute('aria-readonly', 'true');
  resultTable.tabIndex = 0;
  scroller.append(resultTable);
  resultsBox.append(summary, exports, scroller);

  root.append(pick, message, previewBox, selector, resultsBox);

  const selects = {};

  function buildColumnSelectors() {
    const form = formSelect.value;
    const lettered = /\.xlsx$/i.test(state.name);
    const headerRows = Number(headerInput.value) || 0;
    const headings = headerRows > 0 && state.rows.length > 0 ? state.rows[0] : [];
    const guess = guessColumns(form, headings, state.columns);
    columnsBox.replaceChildren();
    for (const key of Object.keys(selects)) delete selects[key];
    for (const [field, text] of kForms[form]) {
      const select = element('select');
      const skip = element('option', '', 'Skip');
      skip.value = '-1';
      select.append(skip);
      for (let i = 0; i < state.columns; i++) {
        const heading = headings[i] ? ` (${headings[i]})` : '';
        const option = element('option', '', `${columnName(i, lettered)}${heading}`);
        option.value = String(i);
        select.append(option);
      }
      select.value = String(guess[field]);
      selects[field] = select;
      columnsBox.append(labelled(text, select));
    }
  }

  async function fillPanes() {
    const stateJson = await call(api, 'GET', '/state');
    const panes = stateJson.panes ?? [];
    const kinds = stateJson.kinds ?? [];
    const previous = paneSelect.value;
    paneSelect.replaceChildren();
    // Open panes first (they hold the user's projection and datum), then the kinds
    // not yet open, which are created on convert.
    for (const pane of panes) {
      const option = element('option', '', pane.caption);
      option.value = `pane:${pane.id}`;
      paneSelect.append(option);
    }
    for (const kind of kinds) {
      if (panes.some((pane) => pane.kind === kind.kind)) continue;
      const option = element('option', '', kind.caption);
      option.value = `kind:${kind.kind}`;
      paneSelect.append(option);
    }
    if ([...paneSelect.options].some((o) => o.value === previous)) paneSelect.value = previous;
  }

  async function preview(sheet) {
    const file = fileInput.files[0];
    if (!file) return;
    report(`Reading ${file.name}…`);
    const content = toBase64(await file.arrayBuffer());
    const body = { name: file.name, content };
    if (sheet) body.sheet = sheet;
    const answer = await call(api, 'POST', '/points/preview', body);
    Object.assign(state, {
      file: answer.file,
      name: file.name,
      sheets: answer.sheets ?? [],
      rows: answer.rows ?? [],
      columns: answer.columns ?? 0,
      results: null,
    });
    sheetField.hidden = state.sheets.length === 0;
    if (state.sheets.length > 0) {
      sheetSelect.replaceChildren(...state.sheets.map((s) => element('option', '', s)));
      sheetSelect.value = sheet && state.sheets.includes(sheet) ? sheet : state.sheets[0];
    }
    const lettered = /\.xlsx$/i.test(file.name);
    const headings = Array.from({ length: state.columns }, (_, i) => columnName(i, lettered));
    fillTable(previewTable, headings, state.rows);
    previewBox.hidden = false;
    selector.hidden = false;
    resultsBox.hidden = true;
    buildColumnSelectors();
    await fillPanes();
    report(`${file.name}: the first ${state.rows.length} rows, ${state.columns} columns`);
  }

  async function paneId() {
    const [what, value] = paneSelect.value.split(':');
    if (what === 'pane') return Number(value);
    const pane = await call(api, 'POST', '/panes', { kind: value });
    document.dispatchEvent(new CustomEvent('orvale:pane-opened', { detail: pane }));
    await fillPanes();
    paneSelect.value = `pane:${pane.id}`;
    return pane.id;
  }

  async function convert() {
    if (!state.file) return;
    const form = formSelect.value;
    const columns = {};
    for (const [field] of kForms[form]) columns[field] = Number(selects[field].value);
    const pane = await paneId();
    report('Converting…');
    const answer = await call(api, 'POST', '/points/convert', {
      file: state.file,
      pane,
      form,
      columns,
      header_rows: Math.max(0, Number(headerInput.value) || 0),
    });
    state.results = answer;
    showResults(answer);
    report('');
  }

  function showResults(answer) {
    const headings = ['Line', ...answer.headings, 'Status', 'Method'];
    const rows = answer.rows.map((row) => [
      String(row.line),
      ...row.cells,
      row.status,
      row.method ?? '',
    ]);
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
    resultTable.setAttribute('aria-rowcount', String(rows.length + 1));
    summary.textContent = `${answer.rows.length} rows: ${answer.rows.length - failed} converted, ${failed} failed`;
    resultsBox.hidden = false;
  }

  async function exportAs(format) {
    if (!state.file) return;
    const name = await download(api, `/points/export?file=${encodeURIComponent(state.file)}&format=${format}`);
    report(`Exported ${name}`);
  }

  fileInput.addEventListener('change', safely(() => preview()));
  sheetSelect.addEventListener('change', safely(() => preview(sheetSelect.value)));
  formSelect.addEventListener('change', () => buildColumnSelectors());
  headerInput.addEventListener('change', () => buildColumnSelectors());

  if (modal) modal.show();
  fileInput.focus();
  return root;
}
