// The studio's access rules as a browser meets them: no token, no API; another Host is
// refused; a page of another origin cannot change anything, even one on this same
// host (another port is the same site, so the SameSite cookie goes with its requests).

import assert from 'node:assert/strict';
import { createServer } from 'node:http';
import { test } from 'node:test';

import {
  contextOptions,
  eventually,
  openPane,
  openWorkbench,
  paneGrid,
  rawRequest,
} from './harness.mjs';

const apiHeader = { 'X-Orvale-Request': '1' };

async function sessionCookie(context) {
  const cookie = (await context.cookies()).find((c) => c.name === 'orvale_session');
  assert.ok(cookie, 'no orvale_session cookie after the page logged in');
  return cookie;
}

// The state as the logged-in session sees it.
async function state(studio, cookie) {
  const reply = await rawRequest(studio, {
    path: '/api/state',
    headers: { ...apiHeader, Cookie: `orvale_session=${cookie.value}` },
  });
  assert.equal(reply.status, 200, reply.body);
  return JSON.parse(reply.body);
}

// A page of another origin, served on a port of its own.
async function foreignSite(html) {
  const server = createServer((request, response) => {
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' });
    response.end(html);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, origin: `http://127.0.0.1:${server.address().port}` };
}

test('without the cookie or with another Host the studio answers 403', async (t) => {
  const { studio, context } = await openWorkbench(t);
  assert.match(studio.token, /^[0-9a-f]{64}$/, 'the token is 32 random bytes in hex');
  const cookie = await sessionCookie(context);
  assert.equal(cookie.httpOnly, true, 'the session cookie must be HttpOnly');
  assert.equal(cookie.sameSite, 'Strict');

  const noCookie = await rawRequest(studio, { path: '/api/state', headers: apiHeader });
  assert.equal(noCookie.status, 403, noCookie.body);
  assert.ok(JSON.parse(noCookie.body).error, 'a refusal says why');
  const cookieHeader = { Cookie: `orvale_session=${cookie.value}` };
  const noHeader = await rawRequest(studio, { path: '/api/state', headers: cookieHeader });
  assert.equal(noHeader.status, 403, 'the cookie alone is not enough');
  const forged = await rawRequest(studio, {
    path: '/api/state',
    headers: { ...apiHeader, Cookie: 'orvale_session=0123456789abcdef' },
  });
  assert.equal(forged.status, 403);

  // DNS rebinding: a name that resolves here is still another site.
  for (const host of ['attacker.example', `attacker.example:${studio.port}`, `127.0.0.1:${studio.port + 1}`]) {
    for (const target of ['/', '/api/state']) {
      const reply = await rawRequest(studio, {
        path: target,
        headers: { ...apiHeader, ...cookieHeader, Host: host },
      });
      assert.equal(reply.status, 403, `Host ${host} for ${target}`);
    }
  }
  const local = await rawRequest(studio, { headers: { Host: `localhost:${studio.port}` } });
  assert.equal(local.status, 200, 'localhost:PORT is our own name');
  assert.equal(local.headers['content-security-policy'], "default-src 'self'; frame-ancestors 'none'");
  assert.equal(local.headers['x-content-type-options'], 'nosniff');
  assert.equal(local.headers['cache-control'], 'no-store');
  assert.equal(local.headers['referrer-policy'], 'no-referrer');
  assert.equal(local.headers['access-control-allow-origin'], undefined);

  // The spent token opens nothing.
  const again = await rawRequest(studio, {
    method: 'POST',
    path: '/api/session',
    headers: { 'Content-Type': 'application/json', Origin: studio.origin },
    body: JSON.stringify({ token: studio.token }),
  });
  assert.equal(again.status, 403, 'the token is one-time');
});

test('a page opened without the token cannot reach the API', async (t) => {
  const { studio, browser } = await openWorkbench(t, { login: false });
  const context = await browser.newContext(contextOptions);
  t.after(() => context.close().catch(() => {}));
  const page = await context.newPage();
  await page.goto(`${studio.origin}/`);
  const status = await page.evaluate(async () => {
    const reply = await fetch('/api/state', { headers: { 'X-Orvale-Request': '1' } });
    return reply.status;
  });
  assert.equal(status, 403);
  // A wrong token is refused, no pane is shown, and the right one still works after it.
  await page.goto('about:blank'); // else only the fragment changes, and nothing loads
  const refused = page.waitForResponse((r) => new URL(r.url()).pathname === '/api/session');
  await page.goto(`${studio.origin}/#token=${'0'.repeat(64)}`);
  assert.equal((await refused).status(), 403, 'a wrong token');
  await page.waitForTimeout(500);
  assert.equal(await page.getByRole('treegrid').count(), 0, 'a pane without a session');
  assert.deepEqual(await context.cookies(), []);
  await page.goto('about:blank');
  await page.goto(studio.url);
  await eventually(async () =>
    assert.equal((await context.cookies()).length, 1, 'the printed token opens a session'));
  await paneGrid(page, 'Grid To Geographicals').or(page.getByRole('treegrid')).first().waitFor();
});

test('a page of another origin cannot change or read anything', async (t) => {
  const { studio, context, page } = await openWorkbench(t);
  await openPane(page, 'Grid To Geographicals');
  const cookie = await sessionCookie(context);
  const before = await state(studio, cookie);
  const pane = before.panes.find((p) => p.caption === 'Grid To Geographicals');
  assert.ok(pane && pane.visible, 'the pane is shown before the attack');

  const close = `${studio.origin}/api/panes/${pane.id}/close`;
  const create = `${studio.origin}/api/panes`;
  const { server, origin } = await foreignSite(`<!doctype html><title>elsewhere</title>
    <form id="plain" method="post" enctype="text/plain" action="${close}">
      <input name='{"kind":"grid-to-geog","x":"' value='"}'><button>plain</button></form>
    <form id="encoded" method="post" action="${close}">
      <input name="kind" value="grid-to-geog"><button>encoded</button></form>`);
  t.after(() => new Promise((resolve) => server.close(resolve)));

  // Same browser, same cookie jar: the cookie goes along, the Origin gives it away.
  const foreign = await context.newPage();
  for (const form of ['plain', 'encoded']) {
    await foreign.goto(`${origin}/`);
    const [reply] = await Promise.all([
      foreign.waitForResponse((r) => r.url() === close),
      foreign.locator(`#${form} button`).click(),
    ]);
    assert.ok([403, 415].includes(reply.status()), `${form} form post answered ${reply.status()}`);
    assert.equal(reply.headers()['access-control-allow-origin'], undefined);
  }

  await foreign.goto(`${origin}/`);
  const attempts = await foreign.evaluate(
    async ({ close, create, stateUrl }) => {
      const outcome = async (promise) => {
        try {
          const reply = await promise;
          return reply.type === 'opaque' ? 'opaque' : `read ${reply.status}`;
        } catch {
          return 'blocked';
        }
      };
      return {
        // No CORS header ever: a JSON post needs a preflight and fails it.
        json: await outcome(fetch(create, {
          method: 'POST',
          credentials: 'include',
          headers: { 'Content-Type': 'application/json', 'X-Orvale-Request': '1' },
          body: JSON.stringify({ kind: 'datum-shift' }),
        })),
        simple: await outcome(fetch(close, { method: 'POST', mode: 'no-cors', credentials: 'include', body: '{}' })),
        read: await outcome(fetch(stateUrl, { credentials: 'include', headers: { 'X-Orvale-Request': '1' } })),
      };
    },
    { close, create, stateUrl: `${studio.origin}/api/state` },
  );
  assert.equal(attempts.json, 'blocked');
  assert.equal(attempts.simple, 'opaque');
  assert.equal(attempts.read, 'blocked');

  const after = await state(studio, cookie);
  assert.deepEqual(
    after.panes.map((p) => [p.kind, p.visible]),
    before.panes.map((p) => [p.kind, p.visible]),
    'nothing changed',
  );
  await page.reload();
  await eventually(async () => assert.ok(await paneGrid(page, 'Grid To Geographicals').isVisible()));
});
