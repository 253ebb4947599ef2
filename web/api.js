// The studio's JSON API as the page uses it. Every call carries the custom header the
// server demands on /api/ (a page on another origin cannot send it without a CORS
// pre-flight, which the server never grants) and speaks JSON only.

const HEADERS = { "X-Orvale-Request": "1", "Content-Type": "application/json" };

export class ApiError extends Error {
  constructor(status, message) {
    super(message);
    this.status = status;
  }
}

async function request(method, path, body) {
  const init = { method, headers: { ...HEADERS }, credentials: "same-origin", cache: "no-store" };
  if (body !== undefined) init.body = JSON.stringify(body);
  else if (method === "GET") delete init.headers["Content-Type"];
  const response = await fetch(`/api${path}`, init);
  const type = response.headers.get("Content-Type") || "";
  const answer = type.includes("application/json") ? await response.json() : null;
  if (!response.ok) {
    throw new ApiError(response.status, (answer && answer.error) || `${response.status} ${response.statusText}`);
  }
  return answer;
}

// Calls go one at a time, in the order they were made. Each answer carries the panes
// as they are after it; were two in flight at once, an older answer arriving last
// would paint over a newer one (a field typed, then the next one, then the first
// answer undoing the second on screen).
let queue = Promise.resolve();
function inTurn(method, path, body) {
  const turn = queue.then(() => request(method, path, body));
  queue = turn.catch(() => {});
  return turn;
}

export const get = (path) => inTurn("GET", path);
export const post = (path, body = {}) => inTurn("POST", path, body);

// Trades the one-time token from the page's address for the session cookie, then
// takes the token out of the address bar and the history so it is never shown,
// bookmarked or sent again.
export async function openSession() {
  const fragment = new URLSearchParams(location.hash.slice(1));
  const token = fragment.get("token");
  if (token === null) return false;
  history.replaceState(history.state, "", location.pathname + location.search);
  await post("/session", { token });
  return true;
}

// A file the API serves (an export), fetched with the header every /api/ request
// needs, with the name the server gave it.
export async function download(path) {
  const response = await fetch(`/api${path}`, {
    headers: { "X-Orvale-Request": "1" },
    credentials: "same-origin",
    cache: "no-store",
  });
  if (!response.ok) {
    let message = `${response.status} ${response.statusText}`;
    try {
      message = (await response.json()).error || message;
    } catch {
      // not JSON: keep the status line
    }
    throw new ApiError(response.status, message);
  }
  const disposition = response.headers.get("Content-Disposition") || "";
  const star = disposition.match(/filename\*=UTF-8''([^;]+)/i);
  const plain = disposition.match(/filename="([^"]*)"/i);
  const name = star ? decodeURIComponent(star[1]) : plain ? plain[1] : "download";
  return { blob: await response.blob(), name, type: response.headers.get("Content-Type") || "" };
}
