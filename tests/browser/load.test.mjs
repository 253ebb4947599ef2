// The first page load: from the address being opened to the default pane's grid
// filled in, with a browser that has nothing cached. One second is the budget on a
// machine of the project's own kind (two cores).
import { test } from 'node:test';
import assert from 'node:assert/strict';

import { launchBrowser, openPage, paneGrid, startStudio } from './harness.mjs';

test('the first page load shows the default pane within a second', async (t) => {
  const studio = await startStudio();
  const browser = await launchBrowser();
  t.after(async () => {
    await browser.close().catch(() => {});
    await studio.stop();
  });
  // A first start of the browser pays for its own caches; time a second, fresh page.
  const warm = await openPage(browser, studio.url);
  await warm.context.close();
  const { url } = await studio.freshUrl();

  const started = Date.now();
  const { page } = await openPage(browser, url);
  await paneGrid(page, 'Grid To Geographicals').getByRole('row').first().waitFor();
  const elapsed = Date.now() - started;
  t.diagnostic(`first load: ${elapsed} ms`);
  assert.ok(elapsed < 1000, `the first load took ${elapsed} ms`);
});
