// The settings page: the three display settings files the library reads (angles,
// geographicals, units), the grids' colour scheme, and night mode. Each change is
// sent at once (POST /api/settings with only that field); the server answers with the
// settings and every pane as they now show, which the owner repaints. Night mode is
// the toolbar's check box, bound here too.

import { post } from "./api.js";

const SECTIONS = [
  ["angles", "Angles"],
  ["geographicals", "Geographicals"],
  ["units", "Units"],
];
const FIELD_LABELS = {
  notation: "Notation",
  decimals: "Decimals",
  latitude_letter: "Latitude hemisphere",
  longitude_letter: "Longitude hemisphere",
  mode: "Unit system",
  index: "Unit",
  imperial_mode: "Imperial unit",
};
const FIELD_ORDER = Object.keys(FIELD_LABELS);
const SCHEMES = 8;

function labelOf(name) {
  return FIELD_LABELS[name] || name.replace(/_/g, " ").replace(/^./, (c) => c.toUpperCase());
}

let fieldCount = 0;

// Sends part of the settings; `onAnswer({settings, panes})` repaints the page.
export async function saveSettings(part, onAnswer) {
  const answer = await post("/settings", part);
  onAnswer(answer);
  return answer;
}

// The toolbar's "Night mode" check box.
export function bindNightMode(checkbox, onAnswer, onError) {
  checkbox.addEventListener("change", async () => {
    const wanted = checkbox.checked;
    try {
      await saveSettings({ night: wanted }, onAnswer);
    } catch (error) {
      checkbox.checked = !wanted;
      onError(error);
    }
  });
}

export class SettingsPanel {
  constructor(onAnswer) {
    this.onAnswer = onAnswer;
    this.element = document.createElement("form");
    this.element.className = "settings";
    this.element.setAttribute("aria-label", "Settings");
    this.element.addEventListener("submit", (event) => event.preventDefault());
    this.message = document.createElement("p");
    this.message.className = "settings-message";
    this.settings = null;
  }

  focus() {
    const first = this.element.querySelector("select, input");
    if (first) first.focus();
  }

  // Draws the settings; the control that had focus keeps it.
  update(settings) {
    this.settings = settings;
    const focused = document.activeElement;
    const active = focused && this.element.contains(focused) ? focused.dataset.key : null;
    const children = [];
    for (const [key, title] of SECTIONS) {
      const section = settings[key];
      if (!section || typeof section !== "object") continue;
      const set = document.createElement("fieldset");
      const legend = document.createElement("legend");
      legend.textContent = title;
      set.append(legend);
      // The server's objects come in alphabetical order; the page shows a reading
      // order instead, anything unknown last.
      const order = (name) => {
        const at = FIELD_ORDER.indexOf(name);
        return at < 0 ? FIELD_ORDER.length : at;
      };
      const names = Object.keys(section).sort((a, b) => order(a) - order(b));
      for (const name of names) {
        const field = section[name];
        const control = this.control(key, name, field, section);
        if (control) set.append(control);
      }
      children.push(set);
    }
    const look = document.createElement("fieldset");
    const legend = document.createElement("legend");
    legend.textContent = "Appearance";
    look.append(legend);
    const schemes = Array.from({ length: SCHEMES }, (_, i) => `Scheme ${i}`);
    look.append(
      this.labelled("Colour scheme", "scheme", this.select(schemes, settings.scheme ?? 0, (value) => ({ scheme: value }))),
    );
    children.push(look, this.message);
    this.element.replaceChildren(...children);
    if (active) {
      const again = this.element.querySelector(`[data-key="${CSS.escape(active)}"]`);
      if (again) again.focus();
    }
  }

  control(section, name, field, all) {
    const value = field && typeof field === "object" && "value" in field ? field.value : field;
    const part = (v) => ({ [section]: { [name]: v } });
    let input;
    if (field && Array.isArray(field.options)) {
      let options = field.options;
      // A unit's choices follow the unit system chosen beside it.
      if (field.options_by_mode && all.mode) options = field.options_by_mode[all.mode.value] || options;
      input = this.select(options, value, part);
    } else if (typeof value === "number") {
      input = document.createElement("input");
      input.type = "number";
      if (field.min !== undefined) input.min = String(field.min);
      if (field.max !== undefined) input.max = String(field.max);
      input.step = "1";
      input.value = String(value);
      input.addEventListener("change", () => {
        const number = Number(input.value);
        if (input.value.trim() !== "" && Number.isInteger(number)) this.send(part(number));
        else this.fail("Enter a whole number.");
      });
    } else {
      return null;
    }
    return this.labelled(labelOf(name), `${section}-${name}`, input);
  }

  // A list whose value is sent as an index when the setting is a number, as the
  // option's text when it is text (the hemisphere letters).
  select(options, value, part) {
    const select = document.createElement("select");
    options.forEach((text, i) => {
      const option = new Option(text, String(i));
      option.selected = typeof value === "number" ? i === value : text === value;
      select.append(option);
    });
    select.addEventListener("change", () => {
      const i = Number(select.value);
      this.send(part(typeof value === "number" ? i : options[i]));
    });
    return select;
  }

  labelled(text, key, input) {
    const id = `settings-${key}-${++fieldCount}`;
    input.id = id;
    input.dataset.key = key;
    const label = document.createElement("label");
    label.htmlFor = id;
    label.textContent = text;
    const row = document.createElement("div");
    row.className = "settings-field";
    row.append(label, input);
    return row;
  }

  fail(text) {
    this.message.setAttribute("role", "alert");
    this.message.textContent = text;
  }

  async send(part) {
    this.message.removeAttribute("role");
    this.message.textContent = "";
    try {
      await saveSettings(part, this.onAnswer);
    } catch (error) {
      this.fail(error.message);
      if (this.settings) this.update(this.settings);
    }
  }
}
