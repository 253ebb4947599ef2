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
  const target = page.getByRole('tabpanel').filter({ has: paneGrid(page, 'Grid To Geographicals') });
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
