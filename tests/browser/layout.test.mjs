// The docked layout: a panel moved by the mouse, closed and shown again stays so across
// reloads, and "Reset layout" brings back the layout a fresh studio starts with.

import assert from 'node:assert/strict';
import { test } from 'node:test';

import {
  eventually,
  layoutSignature,
  openPane,
  openWorkbench,
  pageProblems,
  paneGrid,
  toolbar,
} from './harness.mjs';

function groupOf(signature, caption) {
  return signature.find((group) => group.tabs.includes(caption));
}

function panelOf(page, caption) {
  return page.getByRole('tabpanel').filter({ has: paneGrid(page, caption) });
}

async function reload(page) {
  await page.reload();
  await toolbar(page).waitFor();
  await page.getByRole('tab').first().waitFor();
}

test('a panel moved, closed and shown again keeps its place across reloads; ' +
    'Reset layout restores the default', async (t) => {
  const { page } = await openWorkbench(t);
  await page.getByRole('tab').first().waitFor();
  const fresh = await layoutSignature(page);
  assert.ok(fresh.length > 0, 'a fresh studio shows panels');

  await openPane(page, 'Grid To Geographicals');
  await openPane(page, 'Convergence');
  const opened = await layoutSignature(page);
  assert.ok(groupOf(opened, 'Convergence'), 'the Convergence panel has a tab');

  // Drag the Convergence tab onto the right edge of the Grid To Geographicals panel:
  // it splits off into a group of its own to the right.
  await openPane(page, 'Grid To Geographicals');
  const target = panelOf(page, 'Grid To Geographicals');
  const box = await target.boundingBox();
  await page.getByRole('tab', { name: 'Convergence', exact: true }).dragTo(target, {
    targetPosition: { x: box.width - 10, y: box.height / 2 },
  });
  let moved;
  await eventually(async () => {
    moved = await layoutSignature(page);
    const left = groupOf(moved, 'Grid To Geographicals');
    const right = groupOf(moved, 'Convergence');
    assert.ok(left && right && left !== right, `not split: ${JSON.stringify(moved)}`);
    assert.ok(right.x > left.x, 'Convergence to the right');
  });
  assert.ok(await paneGrid(page, 'Convergence').isVisible());
  assert.ok(await paneGrid(page, 'Grid To Geographicals').isVisible(), 'both shown side by side');

  await reload(page);
  assert.deepEqual(await layoutSignature(page), moved, 'the move is kept');

  // Closed stays closed.
  await page.getByRole('button', { name: 'Close Convergence', exact: true }).click();
  await eventually(async () => assert.equal(groupOf(await layoutSignature(page), 'Convergence'), undefined));
  const closed = await layoutSignature(page);
  await reload(page);
  assert.deepEqual(await layoutSignature(page), closed, 'the close is kept');
  assert.equal(await paneGrid(page, 'Convergence').count(), 0);

  // Shown again from the toolbar, and kept so.
  await toolbar(page).getByRole('button', { name: 'Convergence', exact: true }).click();
  await paneGrid(page, 'Convergence').waitFor();
  const restored = await layoutSignature(page);
  assert.ok(groupOf(restored, 'Convergence'));
  await reload(page);
  assert.deepEqual(await layoutSignature(page), restored, 'the restored panel is kept');

  await toolbar(page).getByRole('button', { name: 'Reset layout', exact: true }).click();
  await eventually(async () => assert.deepEqual(await layoutSignature(page), fresh));
  await reload(page);
  assert.deepEqual(await layoutSignature(page), fresh, 'the default is kept after a reset');
  assert.deepEqual(pageProblems(page), []);
});

// Moves the active panel to the right by the keyboard and answers the layout then.
async function moveRight(page) {
  await page.keyboard.press('Control+Alt+Shift+ArrowRight');
  let split;
  await eventually(async () => {
    split = await layoutSignature(page);
    const left = groupOf(split, 'Grid To Geographicals');
    const right = groupOf(split, 'Convergence');
    assert.ok(left && right && left !== right && right.x > left.x,
      `Convergence not moved right: ${JSON.stringify(split)}`);
  });
  return split;
}

test('the keyboard moves, resizes and closes the active panel', async (t) => {
  const { page } = await openWorkbench(t);
  await openPane(page, 'Grid To Geographicals');
  await openPane(page, 'Convergence');
  // F6 takes the focus into the active panel, Convergence.
  await page.evaluate(() => document.activeElement?.blur());
  await page.keyboard.press('F6');
  await eventually(async () => assert.ok(await page.evaluate(() =>
    document.activeElement?.closest('[role="tabpanel"]')?.querySelector('[role="treegrid"]')
      ?.getAttribute('aria-label') === 'Convergence')));

  const split = await moveRight(page);
  // Ctrl+Alt+Left and Right resize its group one way and back.
  const width = async () => (await panelOf(page, 'Convergence').boundingBox()).width;
  const before = await width();
  await page.keyboard.press('Control+Alt+ArrowLeft');
  await eventually(async () => assert.notEqual(await width(), before, 'resized'));
  await page.keyboard.press('Control+Alt+ArrowRight');
  await eventually(async () => assert.equal(await width(), before, 'and back'));
  assert.deepEqual(await layoutSignature(page), split);

  await page.keyboard.press('Control+Alt+w');
  await eventually(async () =>
    assert.equal(groupOf(await layoutSignature(page), 'Convergence'), undefined));
  assert.ok(await paneGrid(page, 'Grid To Geographicals').isVisible());
  assert.deepEqual(pageProblems(page), []);
});

test('a panel chosen in its tab list is moved by the keyboard from there', async (t) => {
  const { page } = await openWorkbench(t);
  await openPane(page, 'Grid To Geographicals');
  await openPane(page, 'Convergence');
  // Along the tab list to Convergence, Enter shows it; the focus stays on its tab.
  await page.getByRole('tab', { name: 'Grid To Geographicals', exact: true }).focus();
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('Enter');
  assert.equal(await page.evaluate(() => document.activeElement?.getAttribute('aria-label')),
    'Convergence');
  await moveRight(page);
  assert.deepEqual(pageProblems(page), []);
});
