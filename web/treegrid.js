// The property grid: a W3C treegrid over a grid snapshot from the server. One tab
// stop (the focused row carries tabindex 0, the others -1); the arrows move and fold;
// Enter or F2 opens an editor in the value cell, Esc drops it, Enter or Tab hands the
// typed text to the owner unchanged (the server reads every spelling it accepts, so
// the page never reformats what was typed). A refused value stays in the box with the
// reason under the row.

const COLOUR_PROPERTIES = [
  ["background", "--grid-background"],
  ["text", "--grid-text"],
  ["group_background", "--group-background"],
  ["group_text", "--group-text"],
  ["description_background", "--description-background"],
  ["description_text", "--description-text"],
  ["line", "--grid-line"],
];

// Puts a snapshot's seven scheme colours and its night flag on `element`, where the
// grid's stylesheet (and anything else inside the element) picks them up.
export function applyGridColours(element, grid) {
  const colours = (grid && grid.colours) || {};
  for (const [key, property] of COLOUR_PROPERTIES) {
    if (typeof colours[key] === "string") element.style.setProperty(property, colours[key]);
    else element.style.removeProperty(property);
  }
  element.classList.toggle("night", Boolean(grid && grid.night));
}

let gridCount = 0;

function element(tag, attributes = {}, text) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) node.setAttribute(name, value);
  if (text !== undefined) node.textContent = text;
  return node;
}

export class TreeGrid {
  constructor(container, { label = "", onEdit } = {}) {
    this.container = container;
    this.onEdit = onEdit;
    this.grid = null;
    this.rows = []; // the visible properties in display order: {p, level, parent}
    this.byPath = new Map(); // path -> {p, level, parent}
    this.trs = new Map(); // path -> <tr>
    this.expanded = new Map(); // group path -> bool; unknown groups start open
    this.focusPath = null;
    this.editor = null; // {path, control, original, busy, alertRow}
    this.notice = null; // {path, row}: a refusal shown without an editor
    this.id = `tg${++gridCount}`;

    container.classList.add("tg");
    this.table = element("table", { role: "treegrid", "aria-label": label, class: "tg-table" });
    this.head = element("thead");
    this.body = element("tbody");
    this.table.append(this.head, this.body);
    this.note = element("div", { role: "note", class: "tg-note", id: `${this.id}-note` });
    this.noteName = element("div", { class: "tg-note-name" });
    this.noteText = element("div", { class: "tg-note-text" });
    this.note.append(this.noteName, this.noteText);
    container.append(this.table, this.note);

    this.table.addEventListener("keydown", (event) => this.onKeyDown(event));
    this.table.addEventListener("focusin", (event) => this.onFocusIn(event));
    this.table.addEventListener("click", (event) => this.onClick(event));
    this.table.addEventListener("dblclick", (event) => this.onDoubleClick(event));
    this.table.addEventListener("copy", (event) => this.onCopy(event));
  }

  // Shows a new snapshot. Rows are kept by path, so focus, fold state and an open
  // editor survive (the sun-shot clock repaints its pane every second).
  update(grid) {
    this.grid = grid;
    applyGridColours(this.container, grid);
    this.table.classList.toggle("tg-mark-modified", Boolean(grid.mark_modified));
    this.note.hidden = grid.description_area === false;
    this.renderHeader();

    this.rows = [];
    this.byPath = new Map();
    const walk = (properties, level, parent) => {
      for (const p of properties || []) {
        if (p.visible === false) continue;
        // Groups fold, and so does a value with sub-values of its own.
        const expandable = Boolean(p.group || (p.items || []).some((item) => item.visible !== false));
        const entry = { p, level, parent, expandable };
        this.rows.push(entry);
        this.byPath.set(p.path, entry);
        if (expandable) walk(p.items, level + 1, entry);
      }
    };
    walk(grid.properties, 1, null);

    // Rows are only moved when out of place: moving a node takes focus from it (and
    // from an open editor in it).
    const seen = new Set();
    let cursor = this.body.firstChild;
    const place = (node) => {
      if (node === cursor) cursor = cursor.nextSibling;
      else this.body.insertBefore(node, cursor);
    };
    for (const entry of this.rows) {
      const path = entry.p.path;
      seen.add(path);
      let tr = this.trs.get(path);
      if (!tr) {
        tr = element("tr", { role: "row", tabindex: "-1", "data-path": path });
        this.trs.set(path, tr);
      }
      this.renderRow(tr, entry);
      place(tr);
      if (this.editor && this.editor.path === path && this.editor.alertRow) place(this.editor.alertRow);
      if (this.notice && this.notice.path === path) place(this.notice.row);
    }
    if (this.notice && !seen.has(this.notice.path)) this.dropNotice();
    for (const [path, tr] of this.trs) {
      if (seen.has(path)) continue;
      if (this.editor && this.editor.path === path) this.closeEditor(false);
      tr.remove();
      this.trs.delete(path);
    }
    this.applyFolding();
    if (!this.focusPath || !this.isShown(this.focusPath)) {
      this.setFocusPath(this.nearestShown(this.focusPath), false);
    } else {
      this.setFocusPath(this.focusPath, false);
    }
  }

  focus() {
    if (!this.focusPath) this.setFocusPath(this.nearestShown(null), false);
    const tr = this.focusPath && this.trs.get(this.focusPath);
    if (this.editor && this.editor.path === this.focusPath) this.editor.control.focus();
    else if (tr) tr.focus();
    else this.table.focus();
  }

  renderHeader() {
    const grid = this.grid;
    this.head.replaceChildren();
    if (grid.header === false) return;
    const labels = grid.header_labels || ["Property", "Value"];
    const tr = element("tr", { role: "row", class: "tg-header" });
    tr.append(
      element("th", { role: "columnheader", scope: "col" }, labels[0] ?? ""),
      element("th", { role: "columnheader", scope: "col", colspan: "2" }, labels[1] ?? ""),
    );
    this.head.append(tr);
  }

  renderRow(tr, { p, level, expandable }) {
    const isGroup = Boolean(p.group);
    const kind = p.kind || "";
    tr.setAttribute("aria-level", String(level));
    tr.style.setProperty("--level", String(level - 1));
    tr.className = "tg-row";
    tr.classList.toggle("tg-editing", Boolean(this.editor && this.editor.path === p.path));
    tr.classList.add(`tg-kind-${kind.replace(/[^a-z0-9-]/gi, "") || "value"}`);
    tr.classList.toggle("tg-group", isGroup);
    tr.classList.toggle("tg-parent", expandable);
    tr.classList.toggle("tg-modified", Boolean(p.modified));
    tr.classList.toggle("tg-disabled", p.enabled === false);
    if (expandable) {
      if (!this.expanded.has(p.path)) this.expanded.set(p.path, true);
      tr.setAttribute("aria-expanded", String(this.expanded.get(p.path)));
    } else {
      tr.removeAttribute("aria-expanded");
    }
    if (!isGroup && !this.isEditable(p)) tr.setAttribute("aria-readonly", "true");
    else tr.removeAttribute("aria-readonly");
    if (p.enabled === false) tr.setAttribute("aria-disabled", "true");
    else tr.removeAttribute("aria-disabled");

    const editing = this.editor && this.editor.path === p.path;
    let header = tr.firstElementChild;
    if (!header) {
      header = element("th", { role: "rowheader", scope: "row", class: "tg-name" });
      tr.append(header);
    }
    // The twisty has no text of its own (its glyph is drawn by the stylesheet), so
    // the header's text stays exactly the property's name.
    header.replaceChildren(element("span", { class: "tg-twisty", "aria-hidden": "true" }), p.name ?? "");

    let value = header.nextElementSibling;
    if (!value) {
      value = element("td", { role: "gridcell", class: "tg-value" });
      tr.append(value);
    }
    const dual = kind === "dual" || Boolean(p.second_name || p.second_text);
    if (!editing) this.renderValue(value, p);
    value.setAttribute("colspan", dual ? "1" : "2");

    let second = value.nextElementSibling;
    if (dual) {
      if (!second) {
        second = element("td", { role: "gridcell", class: "tg-second" });
        tr.append(second);
      }
      const name = element("span", { class: "tg-second-name" }, p.second_name ?? "");
      const text = element("span", { class: "tg-second-text" }, p.second_text ?? "");
      second.replaceChildren(name, " ", text);
    } else if (second) {
      second.remove();
    }
  }

  renderValue(cell, p) {
    const text = p.text ?? "";
    if (p.kind === "button") {
      const button = element("button", { type: "button", tabindex: "-1", class: "tg-button" });
      if (p.enabled === false || p.editable === false) button.disabled = true;
      if (p.colour) {
        const swatch = element("span", { class: "tg-swatch", "aria-hidden": "true" });
        swatch.style.setProperty("background-color", p.colour);
        button.append(swatch);
      }
      button.append(text);
      cell.replaceChildren(button);
    } else {
      cell.replaceChildren(text);
    }
  }

  isEditable(p) {
    return Boolean(p && !p.group && p.kind !== "title" && p.editable !== false && p.enabled !== false);
  }

  isShown(path) {
    const entry = this.byPath.get(path);
    if (!entry) return false;
    for (let parent = entry.parent; parent; parent = parent.parent) {
      if (this.expanded.get(parent.p.path) === false) return false;
    }
    return true;
  }

  // The row itself when shown, else its closest shown ancestor, else the first row.
  nearestShown(path) {
    let entry = path ? this.byPath.get(path) : null;
    while (entry && !this.isShown(entry.p.path)) entry = entry.parent;
    if (entry) return entry.p.path;
    const first = this.rows.find((row) => this.isShown(row.p.path));
    return first ? first.p.path : null;
  }

  shownRows() {
    return this.rows.filter((row) => this.isShown(row.p.path));
  }

  applyFolding() {
    for (const entry of this.rows) {
      const tr = this.trs.get(entry.p.path);
      tr.hidden = !this.isShown(entry.p.path);
      if (entry.expandable) tr.setAttribute("aria-expanded", String(this.expanded.get(entry.p.path) !== false));
    }
    if (this.editor && this.editor.alertRow) this.editor.alertRow.hidden = !this.isShown(this.editor.path);
  }

  setFocusPath(path, moveFocus = true) {
    if (this.focusPath && this.focusPath !== path) {
      const old = this.trs.get(this.focusPath);
      if (old) {
        old.setAttribute("tabindex", "-1");
        old.removeAttribute("aria-describedby");
      }
    }
    this.focusPath = path;
    const tr = path && this.trs.get(path);
    if (tr) {
      tr.setAttribute("tabindex", "0");
      if (!this.note.hidden) tr.setAttribute("aria-describedby", this.note.id);
      if (moveFocus) {
        tr.focus();
        tr.scrollIntoView({ block: "nearest" });
      }
    } else if (this.rows.length === 0) {
      this.table.setAttribute("tabindex", "0");
    }
    if (tr) this.table.removeAttribute("tabindex");
    this.showDescription();
  }

  showDescription() {
    const entry = this.focusPath && this.byPath.get(this.focusPath);
    this.noteName.textContent = entry ? entry.p.name ?? "" : "";
    this.noteText.textContent = entry ? entry.p.description ?? "" : "";
  }

  rowOf(node) {
    const tr = node && node.closest ? node.closest("tr[data-path]") : null;
    return tr && this.body.contains(tr) ? tr : null;
  }

  onFocusIn(event) {
    const tr = this.rowOf(event.target);
    if (tr && tr.dataset.path !== this.focusPath) this.setFocusPath(tr.dataset.path, false);
  }

  onClick(event) {
    const tr = this.rowOf(event.target);
    if (!tr) return;
    const path = tr.dataset.path;
    if (this.editor && this.editor.path === path) return;
    const entry = this.byPath.get(path);
    if (event.target.closest("button.tg-button")) {
      this.setFocusPath(path);
      this.press(entry.p);
      return;
    }
    if (entry.expandable && event.target.closest(".tg-twisty")) {
      this.setFolded(path, this.expanded.get(path) !== false);
    }
    this.setFocusPath(path);
  }

  onDoubleClick(event) {
    const tr = this.rowOf(event.target);
    if (!tr || (this.editor && this.editor.path === tr.dataset.path)) return;
    const entry = this.byPath.get(tr.dataset.path);
    if (entry.p.group) this.setFolded(entry.p.path, this.expanded.get(entry.p.path) !== false);
    else if (entry.p.kind !== "button") this.beginEdit(tr.dataset.path);
  }

  setFolded(path, folded) {
    this.expanded.set(path, !folded);
    this.applyFolding();
  }

  copyText(p) {
    let text = `${p.name ?? ""}\t${p.text ?? ""}`;
    if (p.kind === "dual" || p.second_name || p.second_text) {
      text += `\t${p.second_name ?? ""}\t${p.second_text ?? ""}`;
    }
    return text;
  }

  onCopy(event) {
    if (this.editor && event.target.closest && event.target.closest(".tg-editor")) return;
    const entry = this.focusPath && this.byPath.get(this.focusPath);
    if (!entry) return;
    event.clipboardData.setData("text/plain", this.copyText(entry.p));
    event.preventDefault();
  }

  onKeyDown(event) {
    if (this.editor && event.target === this.editor.control) {
      this.onEditorKey(event);
      return;
    }
    const tr = this.rowOf(event.target);
    if (!tr) return;
    const path = tr.dataset.path;
    const entry = this.byPath.get(path);
    const shown = this.shownRows();
    const index = shown.findIndex((row) => row.p.path === path);
    const go = (i) => {
      const target = shown[Math.max(0, Math.min(shown.length - 1, i))];
      if (target) this.setFocusPath(target.p.path);
    };
    const plain = !event.altKey && !event.ctrlKey && !event.metaKey;
    let handled = true;
    if ((event.ctrlKey || event.metaKey) && !event.altKey && event.key.toLowerCase() === "c") {
      // The copy event writes the row too; this covers a page without a selection,
      // where some browsers send no copy event at all.
      if (navigator.clipboard) navigator.clipboard.writeText(this.copyText(entry.p)).catch(() => {});
      return; // let the browser's copy run as well
    } else if (!plain) {
      handled = false;
    } else if (event.key === "ArrowDown") {
      go(index + 1);
    } else if (event.key === "ArrowUp") {
      go(index - 1);
    } else if (event.key === "Home") {
      go(0);
    } else if (event.key === "End") {
      go(shown.length - 1);
    } else if (event.key === "PageDown") {
      go(index + 10);
    } else if (event.key === "PageUp") {
      go(index - 10);
    } else if (event.key === "ArrowRight") {
      if (entry.expandable && this.expanded.get(path) === false) this.setFolded(path, false);
      else if (entry.expandable && shown[index + 1] && shown[index + 1].parent === entry) go(index + 1);
    } else if (event.key === "ArrowLeft") {
      if (entry.expandable && this.expanded.get(path) !== false) this.setFolded(path, true);
      else if (entry.parent) this.setFocusPath(entry.parent.p.path);
    } else if (event.key === "Enter" || event.key === "F2") {
      if (entry.p.group) {
        if (event.key === "Enter") this.setFolded(path, this.expanded.get(path) !== false);
      } else if (entry.p.kind === "button") {
        this.press(entry.p);
      } else {
        this.beginEdit(path);
      }
    } else if (event.key === " " && entry.p.kind === "button") {
      this.press(entry.p);
    } else if (event.key.length === 1 && event.key !== " " && entry.p.kind !== "button" &&
               !(entry.p.options && entry.p.options.length) && this.isEditable(entry.p)) {
      // Typing on a row starts its editor with what was typed, as the desktop grid
      // did: the box takes focus now and the key's character lands in it.
      this.beginEdit(path);
      handled = false;
    } else {
      handled = false;
    }
    if (handled) event.preventDefault();
  }

  async press(p) {
    if (!this.isEditable(p) || !this.onEdit) return;
    try {
      const answer = await this.onEdit(p.path, "");
      if (answer && answer.outcome && answer.outcome !== "taken") {
        this.showPlainAlert(p.path, answer.reason || answer.outcome);
      }
    } catch (error) {
      this.showPlainAlert(p.path, error.message);
    }
  }

  // An alert under a row without an editor (a button the model refused); it goes
  // when focus leaves the row or after a while.
  showPlainAlert(path, message) {
    if (this.editor) return;
    const tr = this.trs.get(path);
    if (!tr) return;
    this.dropNotice();
    const notice = { path, row: this.makeAlertRow(message) };
    this.notice = notice;
    tr.after(notice.row);
    const drop = () => {
      if (this.notice === notice) this.dropNotice();
    };
    tr.addEventListener("blur", drop, { once: true });
    setTimeout(drop, 8000);
  }

  dropNotice() {
    if (this.notice) this.notice.row.remove();
    this.notice = null;
  }

  makeAlertRow(message) {
    const row = element("tr", { role: "none", class: "tg-alert-row" });
    const cell = element("td", { role: "none", colspan: "3" });
    cell.append(element("div", { role: "alert", class: "tg-alert" }, message));
    row.append(cell);
    return row;
  }

  beginEdit(path) {
    const entry = this.byPath.get(path);
    const tr = this.trs.get(path);
    if (!entry || !tr || !this.isEditable(entry.p)) return;
    if (this.editor) this.closeEditor(false);
    this.dropNotice();
    const p = entry.p;
    const cell = tr.querySelector(".tg-value");
    let control;
    if (p.options && p.options.length) {
      control = element("select", {
        class: "tg-editor tg-list",
        size: String(Math.max(2, Math.min(p.options.length, 8))),
        "aria-label": p.name ?? "",
      });
      for (const option of p.options) control.append(new Option(option, option, false, option === p.text));
      if (control.selectedIndex < 0) control.selectedIndex = 0;
      control.addEventListener("click", (event) => {
        if (event.target.tagName === "OPTION") this.commit();
      });
    } else {
      control = element("input", {
        type: "text",
        class: "tg-editor tg-input",
        "aria-label": p.name ?? "",
        autocomplete: "off",
        spellcheck: "false",
      });
      control.value = p.text ?? "";
    }
    control.addEventListener("blur", () => this.onEditorBlur());
    this.editor = { path, control, original: p.text ?? "", busy: false, alertRow: null };
    cell.replaceChildren(control);
    tr.classList.add("tg-editing");
    control.focus();
    if (control.select) control.select();
  }

  onEditorKey(event) {
    if (event.key === "Escape") {
      event.preventDefault();
      event.stopPropagation();
      this.closeEditor(true);
    } else if (event.key === "Enter" || event.key === "Tab") {
      event.preventDefault();
      this.commit();
    }
  }

  onEditorBlur() {
    // Leaving the box keeps a changed value, as the desktop grid did; an unchanged
    // one just closes (after a refusal the box stays, with its reason).
    const editor = this.editor;
    if (!editor || editor.busy || editor.alertRow) return;
    setTimeout(() => {
      if (this.editor !== editor || editor.busy || document.activeElement === editor.control) return;
      if (editor.control.value === editor.original) this.closeEditor(false);
      else this.commit(false);
    }, 0);
  }

  async commit(refocus = true) {
    const editor = this.editor;
    if (!editor || editor.busy) return;
    const text = editor.control.value;
    if (text === editor.original && !editor.alertRow) {
      this.closeEditor(refocus);
      return;
    }
    editor.busy = true;
    editor.control.setAttribute("aria-busy", "true");
    let answer;
    try {
      answer = await this.onEdit(editor.path, text);
    } catch (error) {
      answer = { outcome: "error", reason: error.message };
    }
    editor.busy = false;
    editor.control.removeAttribute("aria-busy");
    if (this.editor !== editor) return;
    if (answer && answer.outcome === "taken") {
      this.closeEditor(refocus);
      return;
    }
    const reason = (answer && answer.reason) || (answer && answer.outcome) || "The value was not taken.";
    this.showEditorAlert(reason);
    if (refocus) editor.control.focus();
  }

  showEditorAlert(reason) {
    const editor = this.editor;
    if (editor.alertRow) editor.alertRow.remove();
    editor.alertRow = this.makeAlertRow(reason);
    const id = `${this.id}-alert`;
    editor.alertRow.querySelector(".tg-alert").id = id;
    editor.control.setAttribute("aria-invalid", "true");
    editor.control.setAttribute("aria-describedby", id);
    this.trs.get(editor.path).after(editor.alertRow);
  }

  closeEditor(refocus) {
    const editor = this.editor;
    if (!editor) return;
    this.editor = null;
    if (editor.alertRow) editor.alertRow.remove();
    const tr = this.trs.get(editor.path);
    const entry = this.byPath.get(editor.path);
    const hadFocus = editor.control === document.activeElement;
    if (tr) {
      tr.classList.remove("tg-editing");
      if (entry) this.renderValue(tr.querySelector(".tg-value"), entry.p);
      if (refocus || hadFocus) this.setFocusPath(editor.path);
    }
  }
}
