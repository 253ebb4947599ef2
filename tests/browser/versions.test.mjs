// playwright-core speaks the DevTools protocol of the browser build it was released
// with; Debian's Chromium must be of the same major version or the two drift apart.

import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { test } from 'node:test';

import { chromiumPath, launchBrowser, repositoryRoot } from './harness.mjs';

const major = (version) => Number(/^(\d+)\./.exec(version)?.[1]);

function bundledChromium() {
  const file = path.join(repositoryRoot, 'node_modules', 'playwright-core', 'browsers.json');
  const entry = JSON.parse(readFileSync(file, 'utf8')).browsers.find((b) => b.name === 'chromium');
  assert.ok(entry, 'playwright-core names no chromium build');
  return entry.browserVersion;
}

test("playwright-core's Chromium build and Debian's chromium share a major version", () => {
  const debian = execFileSync(chromiumPath, ['--version'], { encoding: 'utf8' });
  const installed = /Chromium (\d+\.\d+\.\d+\.\d+)/.exec(debian)?.[1];
  assert.ok(installed, `unexpected version text: ${debian}`);
  const bundled = bundledChromium();
  assert.ok(Number.isInteger(major(bundled)), `unexpected browserVersion ${bundled}`);
  assert.equal(major(installed), major(bundled),
    `Debian's chromium ${installed}, playwright-core ${bundled}: pin the playwright-core ` +
    'release whose browser build matches');
});

test('the browser playwright launches is the one checked', async () => {
  const browser = await launchBrowser();
  try {
    assert.equal(major(browser.version()), major(bundledChromium()));
  } finally {
    await browser.close();
  }
});
