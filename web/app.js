// The workbench page: signs in with the token from the address, builds the toolbar
// from the pane kinds the server offers, and docks a panel per open pane. Every
// answer that carries "panes" repaints each pane it lists, so a pane that follows
// another (a new projection, a shared position) changes with it.

import * as api from "./api.js";
import { BubbleView } from "./bubble.js";
import { Dock } from "./dock.js";
import { bindNightMode, SettingsPanel } from "./settings.js";
import { applyGridColours, TreeGrid } from "./treegrid.js";

const LAYOUT_KEY = "orvale-studio.layout";
const DEFAULT_PANES = ["grid-to-geog"];
const EDITORS = [
  ["Spheroids", "spheroids"],
  ["Datums", "datums"],
  ["Projections", "projections"],
  ["Datum Shifts", "datum-shifts"],
];
const CLOCK_MS = 1000;

const panes = new Map(); // kind -> the server's last PANE
const views = new Map(); // kind -> PaneView shown in the dock
const captions = new Map(); // kind -> caption
let settings = null;
let settingsPanel = null;
let dock = null;
let nightBox = null;

const paneId = (kind) => `pane-${kind}`;

function announce(text) {
  const status = document.getElementById("status");
  status.textContent = "";
  // Emptied first, so the same words twice are spoken twice.
  requestAnimationFrame(() => {
    status.textContent = text;
  });
}

// A problem the user should hear about; it goes after a while.
function complain(error) {
  const message = error instanceof Error ? error.message : String(error);
  const box = document.createElement("p");
  box.className = "problem";
  box.setAttribute("role", "alert");
  box.textContent = message;
  document.body.append(box);
  setTimeout(() => box.remove(), 8000);
}

function showPanes(list) {
  for (const pane of list || []) {
    panes.set(pane.kind, pane);
    captions.set(pane.kind, pane.caption);
    const view = views.get(pane.kind);
    if (view) view.update(pane);
    if (dock) dock.setTitle(paneId(pane.kind), pane.caption);
  }
  clock.follow();
}

function showSettings(next) {
  if (!next) return;
  settings = next;
  const night = Boolean(settings.night);
  document.documentElement.classList.toggle("night", night);
  if (nightBox) nightBox.checked = night;
  if (dock) dock.setNight(night);
  if (settingsPanel) settingsPanel.update(settings);
}

function takeAnswer(answer) {
  if (!answer) return;
  if (answer.settings) showSettings(answer.settings);
  if (answer.panes) showPanes(answer.panes);
}

// The sun-shot pane shows the time: while it is open the server's clock is ticked
// every second, one tick at a time.
const clock = {
  timer: 0,
  busy: false,
  follow() {
    const wanted = views.has("sun-shot");
    if (wanted && !this.timer) this.timer = setInterval(() => this.tick(), CLOCK_MS);
    if (!wanted && this.timer) {
      clearInterval(this.timer);
      this.timer = 0;
    }
  },
  async tick() {
    if (this.busy || document.hidden) return;
    this.busy = true;
    try {
      takeAnswer(await api.post("/clock"));
    } catch {
      // the next tick tries again
    } finally {
      this.busy = false;
    }
  },
};

class PaneView {
  constructor(kind) {
    this.kind = kind;
    this.pane = null;
    this.element = document.createElement("div");
    this.element.className = "pane";
    this.element.dataset.kind = kind;
    this.almanac = document.createElement("div");
    this.almanac.className = "pane-almanac";
    this.almanac.hidden = true;
    this.element.append(this.almanac);
    if (kind === "compute-heading") this.bubble = new BubbleView(this.element);
    const gridBox = document.createElement("div");
    gridBox.className = "pane-grid";
    this.element.append(gridBox);
    this.grid = new TreeGrid(gridBox, {
      label: captions.get(kind) || kind,
      onEdit: (path, text) => this.edit(path, text),
    });
  }

  update(pane) {
    this.pane = pane;
    this.grid.table.setAttribute("aria-label", pane.caption);
    // The scheme's colours go on the pane itself, for all it holds.
    applyGridColours(this.element, pane.grid);
    this.grid.update(pane.grid);
    if (this.bubble) this.bubble.update(pane.view);
    this.showAlmanac(pane.almanac_missing);
  }

  showAlmanac(year) {
    if (year === undefined || year === null) {
      this.almanac.hidden = true;
      this.almanac.replaceChildren();
      return;
    }
    const label = `Generate almanac for ${year}`;
    const current = this.almanac.querySelector("button");
    if (current && current.textContent === label) {
      this.almanac.hidden = false;
      return;
    }
    const text = document.createElement("span");
    text.textContent = `No almanac for ${year}: the sun's results need one.`;
    const button = document.createElement("button");
    button.type = "button";
    button.textContent = label;
    button.addEventListener("click", async () => {
      button.disabled = true;
      try {
        const answer = await api.post(`/panes/${this.pane.id}/almanac`, { year });
        takeAnswer(answer);
        announce(answer.file ? `Wrote ${answer.file}` : `Almanac for ${year} written`);
      } catch (error) {
        complain(error);
      } finally {
        button.disabled = false;
      }
    });
    this.almanac.replaceChildren(text, button);
    this.almanac.hidden = false;
  }

  async edit(path, text) {
    const answer = await api.post(`/panes/${this.pane.id}/edit`, { path, text });
    takeAnswer(answer);
    return answer;
  }

  focus() {
    this.grid.focus();
  }
}

// Makes sure the server has the pane of `kind` shown and returns it.
async function ensurePane(kind) {
  const pane = await api.post("/panes", { kind });
  showPanes([pane]);
  return pane;
}

async function openPane(kind) {
  try {
    if (!dock.has(paneId(kind)) || !panes.has(kind) || !panes.get(kind).visible) await ensurePane(kind);
    dock.open(paneId(kind), captions.get(kind) || kind, "pane", { kind });
    dock.focusPanel(paneId(kind));
  } catch (error) {
    complain(error);
  }
}

async function closePaneOnServer(kind) {
  const pane = panes.get(kind);
  if (!pane) return;
  try {
    const answer = await api.post(`/panes/${pane.id}/close`);
    panes.set(kind, { ...pane, visible: false });
    takeAnswer(answer);
  } catch (error) {
    complain(error);
  }
}

function paneFactory({ kind }) {
  const view = new PaneView(kind);
  views.set(kind, view);
  const known = panes.get(kind);
  if (known && known.visible !== false) view.update(known);
  else ensurePane(kind).catch(complain); // a kept layout names a pane the server hid
  clock.follow();
  return {
    element: view.element,
    focus: () => view.focus(),
    dispose: () => {
      if (views.get(kind) === view) views.delete(kind);
      clock.follow();
    },
  };
}

function settingsFactory() {
  const panel = new SettingsPanel(takeAnswer);
  settingsPanel = panel;
  if (settings) panel.update(settings);
  return {
    element: panel.element,
    focus: () => panel.focus(),
    dispose: () => {
      if (settingsPanel === panel) settingsPanel = null;
    },
  };
}

const client = { get: api.get, post: api.post, download: api.download };

function pointsFactory() {
  const element = document.createElement("div");
  element.className = "points-host";
  import("./points.js")
    .then((module) => module.openPoints(client, element))
    .catch(complain);
  return { element, focus: () => element.querySelector("input, select, button")?.focus() };
}

async function openEditor(kind) {
  try {
    const module = await import("./editors.js");
    await module.openEditor(client, kind);
    // A record changed in the editor may change what the panes show.
    const state = await api.get("/state");
    takeAnswer(state);
  } catch (error) {
    complain(error);
  }
}

// The WGS84 set-up works on the host's datum: the panes show its choices after OK.
async function openWgs84Setup() {
  try {
    const module = await import("./dialogs.js");
    await module.openDialog(client, "wgs84-setup");
    takeAnswer(await api.get("/state"));
  } catch (error) {
    complain(error);
  }
}

function defaultLayout() {
  for (const kind of DEFAULT_PANES) {
    if (captions.has(kind)) dock.open(paneId(kind), captions.get(kind), "pane", { kind });
  }
}

async function resetLayout() {
  const open = [...views.keys()];
  dock.clear();
  views.clear();
  settingsPanel = null;
  for (const kind of open) {
    if (!DEFAULT_PANES.includes(kind)) await closePaneOnServer(kind);
  }
  for (const kind of DEFAULT_PANES) {
    if (captions.has(kind) && !(panes.get(kind) || {}).visible) await ensurePane(kind).catch(complain);
  }
  defaultLayout();
  dock.save();
  clock.follow();
  announce("Layout reset");
}

function makeButton(text, action) {
  const button = document.createElement("button");
  button.type = "button";
  button.textContent = text;
  button.addEventListener("click", action);
  return button;
}

// The toolbar keeps one tab stop; the arrows move along it (WAI-ARIA toolbar).
function buildToolbar(kinds) {
  const bar = document.createElement("div");
  bar.className = "toolbar";
  bar.setAttribute("role", "toolbar");
  bar.setAttribute("aria-label", "Workbench");
  const groups = [];
  groups.push(kinds.map(({ kind, caption }) => makeButton(caption, () => openPane(kind))));
  groups.push([
    ...EDITORS.map(([caption, kind]) => makeButton(caption, () => openEditor(kind))),
    makeButton("WGS84 Setup", openWgs84Setup),
  ]);
  groups.push([
    makeButton("Points", () => {
      dock.open("points", "Points", "points", {}, { beside: true });
      dock.focusPanel("points");
    }),
    makeButton("Settings", () => {
      dock.open("settings", "Settings", "settings", {}, { beside: true });
      dock.focusPanel("settings");
    }),
    makeButton("Reset layout", () => resetLayout().catch(complain)),
  ]);
  for (const group of groups) {
    const box = document.createElement("div");
    box.className = "toolbar-group";
    box.append(...group);
    bar.append(box);
  }
  const night = document.createElement("label");
  night.className = "toolbar-night";
  nightBox = document.createElement("input");
  nightBox.type = "checkbox";
  night.append(nightBox, " Night mode");
  bar.append(night);
  bindNightMode(nightBox, takeAnswer, complain);

  const items = () => [...bar.querySelectorAll("button, input")];
  items().forEach((item, i) => item.setAttribute("tabindex", i === 0 ? "0" : "-1"));
  bar.addEventListener("focusin", (event) => {
    for (const item of items()) item.setAttribute("tabindex", item === event.target ? "0" : "-1");
  });
  bar.addEventListener("keydown", (event) => {
    const list = items();
    const at = list.indexOf(document.activeElement);
    if (at < 0 || event.altKey || event.ctrlKey || event.metaKey) return;
    const to = { ArrowRight: at + 1, ArrowLeft: at - 1, Home: 0, End: list.length - 1 }[event.key];
    if (to === undefined) return;
    event.preventDefault();
    list[(to + list.length) % list.length].focus();
  });
  return bar;
}

function fatal(text) {
  const box = document.createElement("p");
  box.className = "problem fatal";
  box.setAttribute("role", "alert");
  box.textContent = text;
  document.getElementById("dock").replaceChildren(box);
}

async function main() {
  let refused = null;
  try {
    await api.openSession();
  } catch (error) {
    // A spent token: this browser may still hold a session from it.
    refused = error;
  }
  let state;
  try {
    state = await api.get("/state");
  } catch (error) {
    const why = refused ? `the address's token was refused: ${refused.message}` : error.message;
    fatal(`Not signed in to the studio (${why}). Open the address it printed; a line typed on its terminal prints a fresh one.`);
    return;
  }
  for (const { kind, caption } of state.kinds || []) captions.set(kind, caption);
  for (const pane of state.panes || []) panes.set(pane.kind, pane);

  document.getElementById("bar").append(buildToolbar(state.kinds || []));
  dock = new Dock(document.getElementById("dock"), {
    storageKey: LAYOUT_KEY,
    factories: new Map([
      ["pane", paneFactory],
      ["settings", settingsFactory],
      ["points", pointsFactory],
    ]),
    onClosed: (id, params) => {
      if (params.kind) closePaneOnServer(params.kind);
    },
    announce,
  });
  showSettings(state.settings);

  // A kept layout is what the user left: panes it lacks are hidden on the server
  // too, so the server's visibility always matches what is docked.
  if (dock.restore()) {
    for (const pane of state.panes || []) {
      if (pane.visible && !views.has(pane.kind)) closePaneOnServer(pane.kind);
    }
  } else {
    const shown = (state.panes || []).filter((pane) => pane.visible).map((pane) => pane.kind);
    if (shown.length === 0) {
      for (const kind of DEFAULT_PANES) if (captions.has(kind)) await ensurePane(kind).catch(complain);
      defaultLayout();
    } else {
      for (const kind of shown) dock.open(paneId(kind), captions.get(kind), "pane", { kind });
    }
  }
  clock.follow();
}

main().catch(complain);
