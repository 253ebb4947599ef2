// Modal dialogs of the workbench: a record edit dialog (its property grid and the
// buttons its model names), the yes/no question, and the few helpers the list
// editors and the points table share with them (requests, downloads, print view).

import { TreeGrid } from './treegrid.js';

const kStyleId = 'orvale-dialogs-css';
let dialogCount = 0;

// The dialogs' style sheet is linked once, on first use, so the page need not know it.
export function ensureStyles(doc = document) {
  if (doc.getElementById(kStyleId)) return;
  const link = doc.createElement('link');
  link.id = kStyleId;
  link.rel = 'stylesheet';
  link.href = new URL('./dialogs.css', import.meta.url).href;
  doc.head.append(link);
}

// One JSON call through the page's API client. The client is asked in the shapes it
// may offer (get/post, or request); the route is the part after "/api".
export async function call(api, method, route, body) {
  if (method === 'GET' && typeof api.get === 'function') return api.get(route);
  if (method === 'POST' && typeof api.post === 'function') return api.post(route, body);
  if (typeof api.request === 'function') return api.request(method, route, body);
  return fetchJson(method, route, body);
}

function apiUrl(route) {
  return route.startsWith('/api/') ? route : `/api${route.startsWith('/') ? '' : '/'}${route}`;
}

async function fetchJson(method, route, body) {
  const init = { method, credentials: 'same-origin', headers: { 'X-Orvale-Request': '1' } };
  if (body !== undefined) {
    init.headers['Content-Type'] = 'application/json';
    init.body = JSON.stringify(body);
  }
  const response = await fetch(apiUrl(route), init);
  const answer = await response.json().catch(() => ({}));
  if (!response.ok) throw new Error(answer.error || `${response.status} ${response.statusText}`);
  return answer;
}

// A file route fetched with the API's header (a plain link would lack it): through
// the page's client when it offers downloads, else directly. Answers the blob and the
// name the server gave it.
export async function fetchFile(api, route) {
  if (api && typeof api.download === 'function') {
    const { blob, name } = await api.download(route);
    return { blob, name };
  }
  const response = await fetch(apiUrl(route), {
    credentials: 'same-origin',
    cache: 'no-store',
    headers: { 'X-Orvale-Request': '1' },
  });
  if (!response.ok) {
    const answer = await response.json().catch(() => ({}));
    throw new Error(answer.error || `${response.status} ${response.statusText}`);
  }
  const blob = await response.blob();
  return { blob, name: fileNameOf(response.headers.get('Content-Disposition')) };
}

// The file name of a Content-Disposition header, the UTF-8 form preferred.
export function fileNameOf(disposition) {
  if (!disposition) return 'download';
  const extended = /filename\*\s*=\s*UTF-8''([^;]+)/i.exec(disposition);
  if (extended) {
    try {
      return decodeURIComponent(extended[1].trim());
    } catch {
      // fall through to the plain name
    }
  }
  const plain = /filename\s*=\s*"((?:[^"\\]|\\.)*)"|filename\s*=\s*([^;]+)/i.exec(disposition);
  if (plain) return (plain[1] ?? plain[2]).replace(/\\(.)/g, '$1').trim();
  return 'download';
}

// Saves a file route as a real download under the server's file name.
export async function download(api, route) {
  const { blob, name } = await fetchFile(api, route);
  const url = URL.createObjectURL(blob);
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  // The browser has taken the blob once the click's task has run.
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
  return name;
}

// Opens a page route (the print view) in a window of its own, without the workbench
// around it. The window is opened before the fetch, while the click still counts as
// the user's, or the pop-up blocker would refuse it.
export async function openPage(api, route) {
  const view = window.open('', '_blank');
  // The print page needs nothing of the workbench, so it gets no handle on it.
  if (view) view.opener = null;
  try {
    const { blob } = await fetchFile(api, route);
    const url = URL.createObjectURL(new Blob([blob], { type: 'text/html' }));
    if (view) view.location.href = url;
    else window.open(url, '_blank');
    setTimeout(() => URL.revokeObjectURL(url), 60_000);
  } catch (error) {
    if (view) view.close();
    throw error;
  }
}

// A modal <dialog> named by its caption, in `host` (the page body by default). Esc
// runs `onCancel` instead of closing on its own, so the model hears about it.
export function createModal(caption, { host, onCancel, role } = {}) {
  ensureStyles();
  const dialog = document.createElement('dialog');
  dialog.className = 'orvale-dialog';
  if (role) dialog.setAttribute('role', role);
  const titleId = `orvale-dialog-title-${++dialogCount}`;
  const title = document.createElement('h2');
  title.className = 'orvale-dialog-title';
  title.id = titleId;
  title.textContent = caption;
  dialog.setAttribute('aria-labelledby', titleId);
  const body = document.createElement('div');
  body.className = 'orvale-dialog-body';
  const status = document.createElement('p');
  status.className = 'orvale-dialog-status';
  status.setAttribute('role', 'status');
  const buttons = document.createElement('div');
  buttons.className = 'orvale-dialog-buttons';
  dialog.append(title, body, status, buttons);
  dialog.addEventListener('cancel', (event) => {
    event.preventDefault();
    if (onCancel) onCancel();
  });
  (host instanceof Element ? host : document.body).append(dialog);
  return {
    dialog,
    title,
    body,
    status,
    buttons,
    show() {
      dialog.showModal();
    },
    close() {
      if (dialog.open) dialog.close();
      dialog.remove();
    },
    report(text, failed = false) {
      status.textContent = text;
      status.classList.toggle('failed', failed);
      status.setAttribute('role', failed ? 'alert' : 'status');
    },
  };
}

export function makeButton(text, onClick) {
  const button = document.createElement('button');
  button.type = 'button';
  button.textContent = text;
  button.addEventListener('click', onClick);
  return button;
}

// Asks a yes/no question in a modal of our own; resolves true for "Yes". Esc is "No".
export function askYesNo(question, { caption = 'Confirm', host } = {}) {
  return new Promise((resolve) => {
    let answered = false;
    const answer = (yes) => {
      if (answered) return;
      answered = true;
      modal.close();
      resolve(yes);
    };
    const modal = createModal(caption, { host, role: 'alertdialog', onCancel: () => answer(false) });
    const text = document.createElement('p');
    text.className = 'orvale-question';
    text.id = `${modal.title.id}-question`;
    text.textContent = question;
    modal.dialog.setAttribute('aria-describedby', text.id);
    modal.body.append(text);
    const yes = makeButton('Yes', () => answer(true));
    const no = makeButton('No', () => answer(false));
    modal.buttons.append(yes, no);
    modal.show();
    no.focus();
  });
}

// A dialog made of drop-down lists and display lines (the WGS84 set-up): each list
// is a labelled list box whose choice is sent as an edit of the list's path.
class ListForm {
  constructor(container, { label, onEdit }) {
    this.onEdit = onEdit;
    this.chosen = new Map(); // path -> the option last chosen, kept across redraws
    this.root = document.createElement('div');
    this.root.className = 'orvale-list-form';
    this.root.setAttribute('role', 'group');
    this.root.setAttribute('aria-label', label);
    this.lists = document.createElement('div');
    this.lists.className = 'orvale-list-form-lists';
    this.displays = document.createElement('dl');
    this.displays.className = 'orvale-list-form-displays';
    this.root.append(this.lists, this.displays);
    container.append(this.root);
  }

  update(dialog) {
    const focused = document.activeElement?.dataset?.path;
    const fields = (dialog.lists ?? []).filter((list) => list.visible !== false).map((list) => {
      const select = document.createElement('select');
      select.dataset.path = list.path;
      select.setAttribute('aria-label', list.name);
      const none = document.createElement('option');
      none.value = '';
      none.textContent = '(choose)';
      none.disabled = true;
      select.append(none);
      for (const text of list.options) {
        const option = document.createElement('option');
        option.value = text;
        option.textContent = text;
        select.append(option);
      }
      const kept = this.chosen.get(list.path);
      select.value = kept !== undefined && list.options.includes(kept) ? kept : '';
      select.addEventListener('change', () => {
        this.chosen.set(list.path, select.value);
        this.onEdit(list.path, select.value);
      });
      const label = document.createElement('label');
      label.className = 'orvale-field';
      const name = document.createElement('span');
      name.className = 'orvale-field-label';
      name.textContent = list.name;
      label.append(name, select);
      return label;
    });
    this.lists.replaceChildren(...fields);
    const lines = [];
    for (const display of dialog.displays ?? []) {
      const term = document.createElement('dt');
      term.textContent = display.name;
      const value = document.createElement('dd');
      value.textContent = display.text;
      lines.push(term, value);
    }
    this.displays.replaceChildren(...lines);
    if (focused) this.lists.querySelector(`select[data-path="${CSS.escape(focused)}"]`)?.focus();
  }

  focus() {
    (this.lists.querySelector('select') ?? this.root).focus();
  }
}

// Runs a record dialog (DIALOG from the server) modally: its property grid edits
// through the dialog's route and its buttons press the model's buttons. Resolves
// with the server's closing answer ({closed, saved, reason?}) once OK or Cancel ends it.
export function runRecordDialog(api, dialogJson, { host } = {}) {
  return new Promise((resolve) => {
    let current = dialogJson;
    let finished = false;
    const id = dialogJson.id;
    const cancelButton = () =>
      current.buttons.find((b) => /^cancel$/i.test(b.text)) ?? current.buttons.at(-1);

    const modal = createModal(dialogJson.caption, {
      host,
      onCancel: () => {
        const cancel = cancelButton();
        if (cancel) press(cancel.id);
        else finish({ closed: true, saved: false });
      },
    });
    modal.dialog.classList.add('orvale-record-dialog');
    modal.dialog.dataset.kind = dialogJson.kind;
    const gridHost = document.createElement('div');
    gridHost.className = 'orvale-dialog-grid';
    modal.body.append(gridHost);

    const onEdit = async (path, text) => {
      try {
        const answer = await call(api, 'POST', `/dialogs/${id}/edit`, { path, text });
        if (answer.dialog) show(answer.dialog, { refill: false });
        if (answer.outcome && answer.outcome !== 'taken' && !dialogJson.grid) {
          modal.report(answer.reason || answer.outcome, true);
        } else {
          modal.report('');
        }
        return answer;
      } catch (error) {
        modal.report(error.message, true);
        return { outcome: 'refused', reason: error.message };
      }
    };
    // A record dialog is a property grid; the WGS84 set-up is lists and display lines.
    const grid = dialogJson.grid
      ? new TreeGrid(gridHost, { label: dialogJson.caption, onEdit })
      : new ListForm(gridHost, { label: dialogJson.caption, onEdit });

    function finish(answer) {
      if (finished) return;
      finished = true;
      modal.close();
      resolve(answer);
    }

    async function press(buttonId) {
      try {
        const answer = await call(api, 'POST', `/dialogs/${id}/button`, { button: buttonId });
        if (answer.closed) {
          finish(answer);
          return;
        }
        // Still open: a button that redraws (Units), or an OK whose file could not be
        // written, which says why.
        if (answer.dialog) show(answer.dialog);
        if (answer.reason) modal.report(answer.reason, true);
      } catch (error) {
        modal.report(error.message, true);
      }
    }

    function show(next, { refill = true } = {}) {
      current = next;
      grid.update(next.grid ?? next);
      modal.title.textContent = next.caption;
      if (refill || modal.buttons.childElementCount !== next.buttons.length) {
        modal.buttons.replaceChildren(...next.buttons.map((b) => makeButton(b.text, () => press(b.id))));
      } else {
        // Keep the button elements (and focus) while only their captions change.
        next.buttons.forEach((b, i) => {
          modal.buttons.children[i].textContent = b.text;
        });
      }
    }

    show(dialogJson);
    modal.show();
    grid.focus();
  });
}

// Opens a record dialog of its own (not from a list editor): "edit-spheroid",
// "edit-datum", "edit-projection" or "wgs84-setup", optionally on a record's file title.
export async function openDialog(api, kind, { record, host } = {}) {
  const body = record === undefined ? { kind } : { kind, record };
  const dialogJson = await call(api, 'POST', '/dialogs', body);
  return runRecordDialog(api, dialogJson, { host });
}
