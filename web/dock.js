// The docking frame, over dockview-core. This is the only module that knows the
// library, so it can be swapped for another: the rest of the page opens, closes and
// finds panels by id, and registers how each kind of panel's content is made.
//
// Keyboard. The library's tab strips are tab lists (arrows, Home/End, Enter or
// Space to show, Delete to close); on top of them:
//   F6 / Shift+F6                  the next / previous group's panel takes focus
//   Ctrl+Alt+W                     close the active panel
//   Ctrl+Alt+Shift+arrow           move the active panel to the group that way (a
//                                  new group at that side when there is none)
//   Ctrl+Alt+arrow                 resize the active group

import { createDockview, themeDark, themeLight } from "./vendor/dockview-core.js";

const STEP = 24; // pixels per resize key press

export class Dock {
  // `factories` maps a component name to (params, panel) => {element, dispose?,
  // focus?}; `onClosed(id, params)` hears of a panel the user closed; `announce`
  // takes text for the page's status region.
  constructor(element, { storageKey, factories, onClosed, announce }) {
    this.element = element;
    this.storageKey = storageKey;
    this.factories = factories;
    this.onClosed = onClosed || (() => {});
    this.quiet = 0; // > 0 while the page itself rebuilds the layout
    this.contents = new Map(); // panel id -> content made by a factory

    const dock = this;
    this.api = createDockview(element, {
      theme: themeLight,
      disableFloatingGroups: true,
      announcer: ({ message }) => announce && announce(message),
      createComponent: ({ id, name }) => {
        const host = document.createElement("div");
        host.className = "dock-panel";
        return {
          element: host,
          init(parameters) {
            const factory = dock.factories.get(name);
            if (!factory) return;
            const content = factory(parameters.params || {}, parameters.api);
            dock.contents.set(id, content);
            host.append(content.element);
          },
          dispose() {
            const content = dock.contents.get(id);
            dock.contents.delete(id);
            if (content && content.dispose) content.dispose();
          },
        };
      },
    });
    // With an announcer the library speaks through us; its own live regions would
    // only stand empty (one of them an alert).
    for (const region of element.querySelectorAll(".dv-live-region, .dv-live-region-assertive")) region.remove();

    this.api.onDidRemovePanel((panel) => {
      if (this.quiet) return;
      const { id } = panel;
      const params = panel.params || {};
      // A move removes and adds again; only a panel that stays gone was closed.
      queueMicrotask(() => {
        if (!this.api.getPanel(id)) this.onClosed(id, params);
      });
    });
    let pending = 0;
    this.api.onDidLayoutChange(() => {
      if (this.quiet) return;
      clearTimeout(pending);
      pending = setTimeout(() => this.save(), 100);
    });
    window.addEventListener("pagehide", () => this.save());
    // Captured before the library's own tab-list keys, which cancel every arrow key
    // whatever the modifiers: the dock's combinations must work from a tab too.
    document.addEventListener("keydown", (event) => this.onKeyDown(event), true);
    new ResizeObserver(() => this.api.layout(element.clientWidth, element.clientHeight)).observe(element);
  }

  setNight(night) {
    this.api.updateOptions({ theme: night ? themeDark : themeLight });
  }

  has(id) {
    return Boolean(this.api.getPanel(id));
  }

  content(id) {
    return this.contents.get(id);
  }

  ids() {
    return this.api.panels.map((panel) => panel.id);
  }

  // Opens (or brings forward) a panel. New panels join the active group as a tab,
  // or split to the right when `beside` is set.
  open(id, title, component, params = {}, { beside = false } = {}) {
    const existing = this.api.getPanel(id);
    if (existing) {
      existing.api.setActive();
      return existing;
    }
    const options = { id, title, component, params };
    const group = this.api.activeGroup;
    if (group) options.position = beside ? { referenceGroup: group, direction: "right" } : { referenceGroup: group };
    return this.api.addPanel(options);
  }

  close(id) {
    const panel = this.api.getPanel(id);
    if (panel) panel.api.close();
  }

  setTitle(id, title) {
    const panel = this.api.getPanel(id);
    if (panel && panel.title !== title) panel.api.setTitle(title);
  }

  focusPanel(id) {
    const panel = this.api.getPanel(id);
    if (!panel) return;
    panel.api.setActive();
    const content = this.contents.get(id);
    if (content && content.focus) content.focus();
    else panel.group.element.querySelector(".dv-tab.dv-active-tab")?.focus();
  }

  save() {
    try {
      localStorage.setItem(this.storageKey, JSON.stringify(this.api.toJSON()));
    } catch {
      // storage full or refused: the layout is simply not kept
    }
  }

  // The saved layout, when there is one the library can read; false otherwise.
  restore() {
    let saved;
    try {
      saved = JSON.parse(localStorage.getItem(this.storageKey) || "null");
    } catch {
      saved = null;
    }
    if (!saved) return false;
    this.quiet++;
    try {
      this.api.fromJSON(saved);
      return true;
    } catch {
      localStorage.removeItem(this.storageKey);
      this.api.clear();
      return false;
    } finally {
      this.quiet--;
    }
  }

  // Empties the frame without reporting the panels as closed by the user.
  clear() {
    this.quiet++;
    try {
      this.api.clear();
    } finally {
      this.quiet--;
    }
    localStorage.removeItem(this.storageKey);
  }

  onKeyDown(event) {
    if (event.defaultPrevented) return;
    const key = event.key;
    const arrows = { ArrowLeft: "left", ArrowRight: "right", ArrowUp: "up", ArrowDown: "down" };
    if (key === "F6" && !event.ctrlKey && !event.altKey && !event.metaKey) {
      event.preventDefault();
      event.stopPropagation();
      this.focusGroup(event.shiftKey ? -1 : 1);
      return;
    }
    const panel = this.api.activePanel;
    if (!panel || !event.ctrlKey || !event.altKey || event.metaKey) return;
    const handled = (key.toLowerCase() === "w" && !event.shiftKey) || arrows[key];
    if (handled) event.stopPropagation();
    if (key.toLowerCase() === "w" && !event.shiftKey) {
      event.preventDefault();
      panel.api.close();
      const next = this.api.activePanel;
      if (next) this.focusPanel(next.id);
    } else if (arrows[key] && event.shiftKey) {
      event.preventDefault();
      this.moveActive(panel, arrows[key]);
    } else if (arrows[key]) {
      event.preventDefault();
      this.resizeActive(panel, key);
    }
  }

  // Focus to the active panel of the group `step` places on from the one holding
  // focus (the active group when focus is elsewhere, such as the toolbar).
  focusGroup(step) {
    const groups = this.api.groups.filter((group) => group.activePanel);
    if (groups.length === 0) return;
    const inDock = this.element.contains(document.activeElement);
    let at = groups.findIndex((group) => group.element.contains(document.activeElement));
    if (at < 0) at = Math.max(0, groups.indexOf(this.api.activeGroup));
    const next = inDock ? groups[(at + step + groups.length) % groups.length] : groups[at];
    this.focusPanel(next.activePanel.id);
  }

  moveActive(panel, direction) {
    const group = panel.group;
    const target = this.api.adjacentGroupInDirection(group, direction);
    if (target) {
      panel.api.moveTo({ group: target });
    } else if (group.panels.length > 1) {
      const position = { left: "left", right: "right", up: "top", down: "bottom" }[direction];
      panel.api.moveTo({ group, position });
    } else {
      return;
    }
    this.focusPanel(panel.id);
  }

  resizeActive(panel, key) {
    const group = panel.group;
    const width = group.api.width;
    const height = group.api.height;
    if (key === "ArrowRight") group.api.setSize({ width: width + STEP });
    else if (key === "ArrowLeft") group.api.setSize({ width: Math.max(60, width - STEP) });
    else if (key === "ArrowDown") group.api.setSize({ height: height + STEP });
    else group.api.setSize({ height: Math.max(60, height - STEP) });
  }
}
