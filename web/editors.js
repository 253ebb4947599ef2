// The catalogue list editors: a whole catalogue as a grid of rows, one per record,
// with Add, Edit and Remove for the records stored as files, and the export, print
// and OK buttons. Every decision (which rows can change, the question before a
// removal, the refilled list) is the server's; this module shows and asks.

import {
  askYesNo,
  call,
  createModal,
  download,
  makeButton,
  openPage,
  runRecordDialog,
} from './dialogs.js';

// The toolbar's names and the server's editor kinds.
const kKinds = {
  spheroids: 'spheroids',
  datums: 'datums',
  projections: 'projections',
  'datum-shifts': 'datum-shifts',
  'datum shifts': 'datum-shifts',
};

export function editorKind(name) {
  const kind = kKinds[String(name).trim().toLowerCase()];
  if (!kind) throw new Error(`No list editor "${name}"`);
  return kind;
}

// A list of rows as a W3C grid: one tab stop, Up/Down/Home/End/PageUp/PageDown move the
// selection, Enter edits, Delete removes; a click selects, a double click edits.
class RecordList {
  constructor(container, { label, onSelect, onActivate, onDelete }) {
    this.onSelect = onSelect;
    this.onActivate = onActivate;
    this.onDelete = onDelete;
    this.selected = -1;
    this.table = document.createElement('table');
    this.table.className = 'orvale-list';
    this.table.setAttribute('role', 'grid');
    this.table.setAttribute('aria-label', label);
    this.table.setAttribute('aria-readonly', 'true');
    this.table.tabIndex = 0;
    this.idBase = `orvale-list-${Math.random().toString(36).slice(2)}`;
    this.colgroup = document.createElement('colgroup');
    this.head = document.createElement('thead');
    this.body = document.createElement('tbody');
    this.table.append(this.colgroup, this.head, this.body);
    const scroller = document.createElement('div');
    scroller.className = 'orvale-list-scroller';
    scroller.append(this.table);
    container.append(scroller);

    this.body.addEventListener('click', (event) => {
      const row = event.target.closest('tr');
      if (!row) return;
      this.select(Number(row.dataset.row));
      this.onSelect(Number(row.dataset.row));
    });
    this.body.addEventListener('dblclick', (event) => {
      const row = event.target.closest('tr');
      if (row) this.onActivate(Number(row.dataset.row));
    });
    this.table.addEventListener('keydown', (event) => this.key(event));
  }

  key(event) {
    const count = this.body.rows.length;
    if (count === 0) return;
    const page = Math.max(1, Math.floor(this.table.parentElement.clientHeight / 24) - 1);
    const at = this.selected;
    const moves = {
      ArrowDown: Math.min(count - 1, at + 1),
      ArrowUp: Math.max(0, at < 0 ? 0 : at - 1),
      Home: 0,
      End: count - 1,
      PageDown: Math.min(count - 1, at + page),
      PageUp: Math.max(0, at - page),
    };
    if (event.key in moves) {
      event.preventDefault();
      // Shown at once, so held arrows run on; the server's answer confirms it.
      if (moves[event.key] !== at) {
        this.select(moves[event.key]);
        this.onSelect(moves[event.key]);
      }
    } else if (event.key === 'Enter' && at >= 0) {
      event.preventDefault();
      this.onActivate(at);
    } else if (event.key === 'Delete' && at >= 0) {
      event.preventDefault();
      this.onDelete(at);
    }
  }

  fill(editor) {
    const cols = editor.columns.map((column) => {
      const col = document.createElement('col');
      if (column.width > 0) col.style.width = `${column.width}px`;
      return col;
    });
    this.colgroup.replaceChildren(...cols);
    const headRow = document.createElement('tr');
    headRow.setAttribute('role', 'row');
    for (const column of editor.columns) {
      const th = document.createElement('th');
      th.setAttribute('role', 'columnheader');
      th.scope = 'col';
      th.textContent = column.heading;
      headRow.append(th);
    }
    this.head.replaceChildren(headRow);
    const rows = editor.rows.map((cells, index) => {
      const tr = document.createElement('tr');
      tr.setAttribute('role', 'row');
      tr.id = `${this.idBase}-${index}`;
      tr.dataset.row = String(index);
      if (editor.file_rows?.[index]) tr.classList.add('file-record');
      for (const text of cells) {
        const td = document.createElement('td');
        td.setAttribute('role', 'gridcell');
        td.textContent = text;
        tr.append(td);
      }
      return tr;
    });
    this.body.replaceChildren(...rows);
    this.table.setAttribute('aria-rowcount', String(editor.rows.length + 1));
    this.select(editor.selected);
  }

  select(index) {
    const previous = this.body.rows[this.selected];
    if (previous) previous.setAttribute('aria-selected', 'false');
    this.selected = index >= 0 && index < this.body.rows.length ? index : -1;
    for (const tr of this.body.rows) tr.setAttribute('aria-selected', 'false');
    const row = this.body.rows[this.selected];
    if (row) {
      row.setAttribute('aria-selected', 'true');
      this.table.setAttribute('aria-activedescendant', row.id);
      row.scrollIntoView({ block: 'nearest' });
    } else {
      this.table.removeAttribute('aria-activedescendant');
    }
  }

  focus() {
    this.table.focus();
  }
}

// Opens the list editor of `kind` ("spheroids", "datums", "projections",
// "datum-shifts", or the toolbar's names for them) as a modal dialog in `host` (the
// page body by default). Resolves when the editor is closed with OK or Esc.
export async function openEditor(api, kind, host) {
  const editorKindName = editorKind(kind);
  let editor = await call(api, 'POST', '/editors', { kind: editorKindName });
  const id = editor.id;

  return new Promise((resolve) => {
    const modal = createModal(editor.caption, { host, onCancel: () => close() });
    modal.dialog.classList.add('orvale-editor');
    modal.dialog.dataset.kind = editorKindName;

    const list = new RecordList(modal.body, {
      label: editor.caption,
      onSelect: (row) => guarded(() => select(row)),
      // A double-click (or Enter) opens the row's record; on a built-in row the
      // server opens nothing.
      onActivate: (row) => guarded(() => editRecord('open', { row }), { opens: true }),
      onDelete: (row) =>
        guarded(
          async () => {
            await select(row);
            if (editor.remove_visible) await remove();
          },
          { opens: true },
        ),
    });

    // The datum shift editor adds and edits nothing; the server says so when it can.
    const canAdd = editor.can_add ?? editorKindName !== 'datum-shifts';
    const exportExcel = makeButton('Export EXCEL', () => guarded(() => exportAs('xlsx')));
    const exportCsv = makeButton('Export CSV', () => guarded(() => exportAs('csv')));
    const print = makeButton('Print', () => guarded(() => openPage(api, exportRoute('html'))));
    const add = makeButton('Add', () => guarded(() => editRecord('add'), { opens: true }));
    const removeButton = makeButton('Remove', () => guarded(remove, { opens: true }));
    const edit = makeButton('Edit', () => guarded(() => editRecord('edit'), { opens: true }));
    const ok = makeButton('OK', () => close());
    add.hidden = !canAdd;
    modal.buttons.append(exportExcel, exportCsv, print, add, removeButton, edit, ok);

    function show(next) {
      editor = next;
      list.fill(editor);
      edit.hidden = !(canAdd && editor.edit_visible);
      removeButton.hidden = !editor.remove_visible;
    }

    // Actions run one after another in the order given, so a click made while the
    // server answers the one before (a row chosen, then Edit) still counts. A second
    // press of a button that opens a dialog or question, before the first one's
    // dialog is up, is the same request twice and is dropped.
    let queue = Promise.resolve();
    let opening = false;
    function guarded(action, { opens = false } = {}) {
      if (opens && opening) return queue;
      if (opens) opening = true;
      queue = queue
        .then(action)
        .catch((error) => modal.report(error.message, true))
        .finally(() => {
          if (opens) opening = false;
        });
      return queue;
    }

    function exportRoute(format) {
      return `/editors/${id}/export?format=${format}`;
    }

    async function exportAs(format) {
      const name = await download(api, exportRoute(format));
      modal.report(`Exported ${name}`);
    }

    async function select(row) {
      const answer = await call(api, 'POST', `/editors/${id}/select`, { row });
      const next = answer.editor ?? (answer.rows ? answer : null);
      if (next) {
        editor = next;
        list.select(next.selected);
        edit.hidden = !(canAdd && next.edit_visible);
        removeButton.hidden = !next.remove_visible;
      } else {
        list.select(row);
      }
    }

    async function editRecord(action, body = {}) {
      if (!canAdd) return;
      const answer = await call(api, 'POST', `/editors/${id}/${action}`, body);
      opening = false;
      if (answer.editor) show(answer.editor);
      if (!answer.dialog) return;
      const closing = await runRecordDialog(api, answer.dialog);
      await refresh(closing);
      if (closing.saved === false && closing.reason) modal.report(closing.reason, true);
      else modal.report(closing.saved ? 'Saved' : '');
      list.focus();
    }

    // After a record dialog the server has refilled the list; its answer may carry the
    // editor, else it is read back.
    async function refresh(closing) {
      if (closing.editor) {
        show(closing.editor);
        return;
      }
      const answer = await call(api, 'GET', `/editors/${id}`).catch(() => null);
      const next = answer && (answer.editor ?? (answer.rows ? answer : null));
      if (next) show(next);
    }

    async function remove() {
      if (!editor.remove_visible || editor.selected < 0) return;
      const asked = await call(api, 'POST', `/editors/${id}/remove`, { answer: null });
      opening = false;
      if (asked.editor) show(asked.editor);
      if (!asked.question) return;
      const yes = await askYesNo(asked.question);
      const answer = await call(api, 'POST', `/editors/${id}/remove`, { answer: yes });
      if (answer.editor) show(answer.editor);
      list.focus();
    }

    function close() {
      modal.close();
      // The server forgets the editor; an older one without the route answers 404.
      call(api, 'POST', `/editors/${id}/close`, {}).catch(() => {});
      resolve();
    }

    show(editor);
    modal.show();
    list.focus();
  });
}
