// The browser tests' harness: starts an already built orvale-studio on drives of its
// own, drives Debian's Chromium through playwright-core, and stops both afterwards,
// whatever happened. It builds nothing.
//
// The studio is $ORVALE_STUDIO, else build/$ORVALE_PRESET/apps/studio/orvale-studio,
// else the newer of the release and dev builds.

import { spawn } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, rmSync, statSync } from 'node:fs';
import { request as httpRequest } from 'node:http';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { setTimeout as sleep } from 'node:timers/promises';
import { fileURLToPath } from 'node:url';

import { chromium } from 'playwright-core';

export const repositoryRoot = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../..');

// Debian's browser itself: the /usr/bin/chromium wrapper adds flags of its own that
// clash with the ones playwright passes.
export const chromiumPath = '/usr/lib/chromium/chromium';
export const chromiumArgs = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

// Everything that changes how a page is drawn is fixed, so screenshots compare.
export const viewport = { width: 1280, height: 800 };
export const contextOptions = {
  viewport,
  deviceScaleFactor: 1,
  locale: 'en-GB',
  timezoneId: 'UTC',
  colorScheme: 'light',
  reducedMotion: 'reduce',
};

const startTimeoutMs = 20_000;
const stopTimeoutMs = 5_000;

export function studioBinary() {
  if (process.env.ORVALE_STUDIO) return path.resolve(process.env.ORVALE_STUDIO);
  const inPreset = (preset) =>
    path.join(repositoryRoot, 'build', preset, 'apps', 'studio', 'orvale-studio');
  if (process.env.ORVALE_PRESET) return inPreset(process.env.ORVALE_PRESET);
  const built = ['release', 'dev']
    .map(inPreset)
    .filter((file) => existsSync(file))
    .sort((a, b) => statSync(b).mtimeMs - statSync(a).mtimeMs);
  if (built.length === 0) {
    throw new Error(
      'no orvale-studio built: build the target orvale_studio (and studio_web) of a preset, ' +
        'or set ORVALE_STUDIO',
    );
  }
  return built[0];
}

// Every process and folder the harness made, so an interrupted run leaves none behind.
const living = new Set();
function killAllNow() {
  for (const child of living) {
    try {
      child.kill('SIGKILL');
    } catch {
      // already gone
    }
  }
}
process.on('exit', killAllNow);
for (const signal of ['SIGINT', 'SIGTERM']) {
  process.once(signal, () => {
    killAllNow();
    process.exit(128 + (signal === 'SIGINT' ? 2 : 15));
  });
}

const urlPattern = /Orvale Studio: (http:\/\/127\.0\.0\.1:(\d+)\/#token=([0-9A-Za-z]+))/;

// What a sanitizer prints when the dev build finds a fault.
const sanitizerPattern = /ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:/;

export class Studio {
  constructor(child, root) {
    this.child = child;
    this.root = root;
    this.drives = { C: path.join(root, 'C'), D: path.join(root, 'D') };
    this.stdout = '';
    this.stderr = '';
    this.exit = null; // {code, signal} once it ended
    this.stopping = false;
    this.waiters = [];
    child.stdout.setEncoding('utf8');
    child.stderr.setEncoding('utf8');
    child.stdout.on('data', (text) => {
      this.stdout += text;
      this.wake();
    });
    child.stderr.on('data', (text) => {
      this.stderr += text;
    });
    this.exited = new Promise((resolve) => {
      child.on('exit', (code, signal) => {
        this.exit = { code, signal };
        living.delete(child);
        this.wake();
        resolve(this.exit);
      });
    });
  }

  wake() {
    for (const waiter of this.waiters.splice(0)) waiter();
  }

  // The next URL the studio prints after `offset` characters of its output.
  async nextUrl(offset = 0) {
    const deadline = Date.now() + startTimeoutMs;
    for (;;) {
      const match = urlPattern.exec(this.stdout.slice(offset));
      if (match) {
        this.consumed = offset + match.index + match[0].length;
        return { url: match[1], port: Number(match[2]), token: match[3] };
      }
      if (this.exit) {
        throw new Error(
          `orvale-studio ended (${JSON.stringify(this.exit)}) without printing its URL:\n` +
            this.stdout + this.stderr,
        );
      }
      const left = deadline - Date.now();
      if (left <= 0) throw new Error(`orvale-studio printed no URL in time:\n${this.stdout}`);
      // Unreferenced timers: a pending one must not keep the test process alive.
      const woken = new Promise((resolve) => this.waiters.push(resolve));
      await Promise.race([woken, sleep(left, undefined, { ref: false })]);
    }
  }

  // A fresh one-time token: a line typed on the studio's terminal prints a new URL.
  async freshUrl() {
    const offset = this.stdout.length;
    this.child.stdin.write('\n');
    const { url, token } = await this.nextUrl(offset);
    return { url, token };
  }

  get origin() {
    return `http://127.0.0.1:${this.port}`;
  }

  // Host folder of a library path such as "C:\\MyData\\Global\\".
  hostPath(libraryPath) {
    const match = /^([A-Za-z]):\\?(.*)$/.exec(libraryPath);
    if (!match) throw new Error(`not a drive path: ${libraryPath}`);
    const root = this.drives[match[1].toUpperCase()];
    return path.join(root, ...match[2].split('\\').filter(Boolean));
  }

  // The sanitizers' report when the dev build found a fault, else ''.
  sanitizerReport() {
    const at = this.stderr.search(sanitizerPattern);
    return at < 0 ? '' : this.stderr.slice(at);
  }

  async stop() {
    if (!this.exit) {
      this.stopping = true;
      this.child.kill('SIGTERM');
      const ended = await Promise.race([this.exited, sleep(stopTimeoutMs, null, { ref: false })]);
      if (!ended) {
        this.child.kill('SIGKILL');
        await this.exited;
      }
    }
    rmSync(this.root, { recursive: true, force: true });
  }
}

// Starts the studio on a free port with drives C: and D: in a new temporary folder
// (nothing reaches the user's own data), after `prepare(folders)` has put files there.
export async function startStudio({ prepare, args = [], env = {} } = {}) {
  const binary = studioBinary();
  if (!existsSync(binary)) throw new Error(`${binary} is not built`);
  const root = mkdtempSync(path.join(tmpdir(), 'orvale-browser-'));
  const home = path.join(root, 'home');
  for (const folder of ['C', 'D', home]) mkdirSync(path.resolve(root, folder), { recursive: true });
  const folders = {
    root,
    C: path.join(root, 'C'),
    D: path.join(root, 'D'),
    global: path.join(root, 'C', 'MyData', 'Global'),
    settings: path.join(root, 'C', 'MySettings', 'Orvale'),
  };
  if (prepare) await prepare(folders);

  const childEnv = { ...process.env };
  for (const name of ['ORVALE_DRIVE_E', 'ORVALE_PROGRAM_DIR']) delete childEnv[name];
  Object.assign(childEnv, {
    ORVALE_DRIVE_C: folders.C,
    ORVALE_DRIVE_D: folders.D,
    HOME: home,
    XDG_DATA_HOME: path.join(home, 'data'),
    XDG_CONFIG_HOME: path.join(home, 'config'),
    XDG_CACHE_HOME: path.join(home, 'cache'),
    TZ: 'UTC',
    LANG: 'C.UTF-8',
    ...env,
  });
  const child = spawn(binary, args, {
    cwd: root,
    env: childEnv,
    stdio: ['pipe', 'pipe', 'pipe'],
  });
  living.add(child);
  const studio = new Studio(child, root);
  child.on('error', (error) => {
    studio.stderr += `\n${error.message}`;
  });
  try {
    const first = await studio.nextUrl();
    Object.assign(studio, first);
  } catch (error) {
    await studio.stop();
    throw error;
  }
  return studio;
}

export async function launchBrowser() {
  return chromium.launch({ executablePath: chromiumPath, args: chromiumArgs });
}

// A page logged in to the studio: the URL's fragment token is exchanged by the page
// itself. Uncaught errors and refused content (CSP) are collected in `problems`.
export async function openPage(browser, url, options = {}) {
  const context = await browser.newContext({ ...contextOptions, ...options });
  // Everything here answers in well under a second; a step that waits longer has
  // failed, and saying so early keeps the run short.
  context.setDefaultTimeout(15_000);
  const page = await context.newPage();
  page.problems = [];
  page.on('pageerror', (error) => page.problems.push(`uncaught: ${error.message}`));
  page.on('console', (message) => {
    if (message.type() === 'error') page.problems.push(`console: ${message.text()}`);
  });
  await page.goto(url);
  await page.getByRole('toolbar', { name: 'Workbench' }).waitFor({ timeout: 10_000 });
  return { context, page };
}

// The studio and a logged-in page, stopped when the test `t` ends (passed or not).
// Options: `prepare(folders)` puts files on the drives first, `context` adds browser
// context options, `login: false` leaves the token unspent and opens no page.
export async function openWorkbench(t, options = {}) {
  const studio = await startStudio(options);
  let browser;
  const cleanup = async () => {
    if (browser) await browser.close().catch(() => {});
    await studio.stop();
  };
  t.after(async () => {
    await cleanup();
    const report = studio.sanitizerReport();
    if (report) throw new Error(`orvale-studio reported a fault:\n${report}`);
  });
  browser = await launchBrowser();
  if (options.login === false) return { studio, browser };
  const { context, page } = await openPage(browser, studio.url, options.context);
  return { studio, browser, context, page };
}

// The page's uncaught errors and console errors, for a test to assert there are none.
export function pageProblems(page) {
  return page.problems.slice();
}

// ---------------------------------------------------------------------------------
// Waiting: the server answers asynchronously, so assertions are retried until they
// hold or the time is up; the last failure is what is reported.

export async function eventually(check, { timeout = 5_000, interval = 50 } = {}) {
  const deadline = Date.now() + timeout;
  for (;;) {
    try {
      return await check();
    } catch (error) {
      if (Date.now() >= deadline) throw error;
    }
    await sleep(interval);
  }
}

// ---------------------------------------------------------------------------------
// The workbench, found by the roles and names of web/README.md.

export function toolbar(page) {
  return page.getByRole('toolbar', { name: 'Workbench' });
}

export function paneGrid(page, caption) {
  return page.getByRole('treegrid', { name: caption, exact: true });
}

// Shows the pane of that caption (its toolbar button), brings its tab to the front
// and answers its treegrid.
export async function openPane(page, caption) {
  const grid = paneGrid(page, caption);
  if (!(await grid.isVisible())) {
    await toolbar(page).getByRole('button', { name: caption, exact: true }).click();
  }
  if (!(await grid.isVisible())) {
    await page.getByRole('tab', { name: caption, exact: true }).click();
  }
  await grid.waitFor({ state: 'visible' });
  return grid;
}

// The row reached through group names, e.g. findRow(grid, 'Point A', 'Latitude'); a
// single name finds the first row of that name anywhere. Folded groups are opened.
export async function findRow(grid, ...names) {
  const target = names.at(-1);
  const path = await grid.evaluate((element, chain) => {
    const rows = [...element.querySelectorAll('[role="row"]')];
    const stack = [];
    let fallback = null;
    for (const row of rows) {
      const level = Number(row.getAttribute('aria-level') || 1);
      const header = row.querySelector('[role="rowheader"]');
      const name = header ? header.textContent.trim() : '';
      stack.length = level - 1;
      stack[level - 1] = name;
      const groups = chain.slice(0, -1);
      const own = chain.at(-1);
      if (name !== own) continue;
      const ancestors = stack.slice(0, level - 1);
      if (!groups.every((group) => ancestors.includes(group))) continue;
      if (!row.closest('[hidden]')) return row.getAttribute('data-path');
      fallback ??= row.getAttribute('data-path');
    }
    return fallback;
  }, names);
  if (path === null) throw new Error(`no row ${names.join(' > ')} in the grid`);
  const row = grid.locator(`[role="row"][data-path="${path}"]`);
  // Unfold the groups above it so it can be seen and edited.
  const parts = path.split('/');
  for (let i = 1; i < parts.length; ++i) {
    const group = grid.locator(`[role="row"][data-path="${parts.slice(0, i).join('/')}"]`);
    if ((await group.count()) === 1 && (await group.getAttribute('aria-expanded')) === 'false') {
      await group.getByRole('rowheader').click();
      await group.press('ArrowRight');
    }
  }
  return row;
}

export async function rowText(row) {
  return (await row.getByRole('gridcell').first().textContent()).trim();
}

// Types `text` into a row by its editor (Enter opens it, Enter commits) and waits for
// the answer.
export async function editRow(row, text) {
  await row.getByRole('rowheader').click();
  await row.press('Enter');
  const box = row.page().getByRole('textbox').and(row.page().locator(':focus'));
  await box.waitFor();
  await box.fill(text);
  await box.press('Enter');
  // The server has answered when the box has gone, or stayed with the reason it was
  // refused.
  const grid = row.locator('xpath=ancestor::*[@role="treegrid"][1]');
  await eventually(async () => {
    const open = await row.locator('input, select, textarea').count();
    if (open > 0 && (await grid.getByRole('alert').count()) === 0) throw new Error('edit pending');
  });
}

// Picks the option of a row with options (its list box): `option` is its whole text,
// or a RegExp its text must match.
export async function chooseOption(row, option) {
  await row.getByRole('rowheader').click();
  await row.press('Enter');
  const page = row.page();
  const list = page.getByRole('listbox').or(page.getByRole('combobox')).and(page.locator(':focus'));
  await list.waitFor();
  const name = typeof option === 'string' ? new RegExp(`^${escapeRegExp(option)}$`) : option;
  if (await list.evaluate((element) => element.tagName === 'SELECT')) {
    const labels = await list.evaluate((select) => [...select.options].map((o) => o.textContent.trim()));
    const label = labels.find((text) => name.test(text));
    if (label === undefined) throw new Error(`no option ${name} among ${labels.join(' | ')}`);
    await list.selectOption({ label });
    await list.press('Enter');
  } else {
    await list.getByRole('option', { name }).first().click();
  }
}

export function escapeRegExp(text) {
  return text.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
}

// The row that has the keyboard focus: its name, display text, path, level, whether it
// is an open group or has an editor open, and its top-level group; null when the focus
// is in no row.
export function focusedRow(page) {
  return page.evaluate(() => {
    const row = document.activeElement?.closest('[role="row"]');
    if (!row) return null;
    const cell = (role) => row.querySelector(`[role="${role}"]`)?.textContent.trim() ?? '';
    const grid = row.closest('[role="treegrid"]');
    const top = (row.getAttribute('data-path') ?? '').split('/')[0];
    const topRow = grid?.querySelector(`[role="row"][data-path="${top}"]`);
    return {
      name: cell('rowheader'),
      text: cell('gridcell'),
      path: row.getAttribute('data-path'),
      level: Number(row.getAttribute('aria-level') || 1),
      expanded: row.getAttribute('aria-expanded'),
      readOnly: row.getAttribute('aria-readonly') === 'true',
      editing: row.querySelector('input, select, textarea, [role="listbox"], [role="textbox"]') !== null,
      // The top-level group the row is in (its own name for a top-level row).
      group: topRow?.querySelector('[role="rowheader"]')?.textContent.trim() ?? '',
      grid: grid?.getAttribute('aria-label') ?? '',
    };
  });
}

// A displayed angle ("52° 39' 27\".25310N", "52° 39'.4542181N", "-0.5", ...) in
// signed degrees, whatever notation the settings chose.
export function angleDegrees(text) {
  const sign = /[SW]/.test(text) || /^\s*-/.test(text) ? -1 : 1;
  const numbers = text.replace(/["']\./, '.').match(/\d+(?:\.\d+)?/g);
  if (!numbers) throw new Error(`no angle in ${JSON.stringify(text)}`);
  const [d, m = 0, s = 0] = numbers.map(Number);
  return sign * (d + m / 60 + s / 3600);
}

// Where every panel is: its tab's name, its group (tab list) and the group's box, so
// two layouts can be compared.
export async function layoutSignature(page) {
  return page.evaluate(() => {
    const lists = [...document.querySelectorAll('[role="tablist"]')];
    return lists
      .map((list) => {
        const box = list.getBoundingClientRect();
        const tabs = [...list.querySelectorAll('[role="tab"]')].map((tab) =>
          tab.getAttribute('aria-label') || tab.textContent.trim(),
        );
        return { tabs, x: Math.round(box.x), y: Math.round(box.y), width: Math.round(box.width) };
      })
      .filter((group) => group.tabs.length > 0)
      .sort((a, b) => a.y - b.y || a.x - b.x);
  });
}

// ---------------------------------------------------------------------------------
// Plain HTTP, for what a browser would never send (another Host, no cookie).

export function rawRequest(studio, { method = 'GET', path: target = '/', headers = {}, body } = {}) {
  return new Promise((resolve, reject) => {
    const request = httpRequest(
      {
        host: '127.0.0.1',
        port: studio.port,
        method,
        path: target,
        headers: { Host: `127.0.0.1:${studio.port}`, ...headers },
        setHost: false,
        agent: false, // a connection per request: none left open when the studio stops
      },
      (response) => {
        let text = '';
        response.setEncoding('utf8');
        response.on('data', (chunk) => {
          text += chunk;
        });
        response.on('end', () =>
          resolve({ status: response.statusCode, headers: response.headers, body: text }),
        );
      },
    );
    request.on('error', reject);
    if (body !== undefined) request.write(body);
    request.end();
  });
}
