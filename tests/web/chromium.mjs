// Headless Chromium driven over the DevTools protocol on a pipe (file
// descriptors 3 and 4, messages ended by a NUL byte), and a static file
// server for the built site; Node's own modules only. Used by the browser
// test and the page benchmarks.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';

export function chromiumPath() {
  for (const p of [process.env.QB_CHROMIUM, '/usr/lib/chromium/chromium', '/usr/bin/chromium'])
    if (p && fs.existsSync(p)) return p;
  throw new Error('no Chromium found (apt-get install chromium, or set QB_CHROMIUM)');
}

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm',
};

// Serves `root` on 127.0.0.1 (a free port unless given); resolves to
// { url, close }.
export function serve(root, port = 0) {
  const base = path.resolve(root);
  const server = http.createServer((req, res) => {
    const rel = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.resolve(base, '.' + (rel.endsWith('/') ? rel + 'index.html' : rel));
    if (!file.startsWith(base + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404);
      res.end('not found');
      return;
    }
    res.writeHead(200, {
      'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
      'Cache-Control': 'no-store',
    });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => resolve({
      url: `http://127.0.0.1:${server.address().port}/`,
      close: () => new Promise((r) => server.close(r)),
    }));
  });
}

class Session {
  constructor(browser, id) {
    this.browser = browser;
    this.id = id;
  }
  send(method, params = {}) { return this.browser.send(method, params, this.id); }
  on(method, handler) { this.browser.listeners.push({ method, session: this.id, handler }); }
  // Evaluates an expression in the page and returns its value.
  async eval(expression) {
    const r = await this.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) throw new Error(`page: ${r.exceptionDetails.exception?.description || r.exceptionDetails.text}`);
    return r.result.value;
  }
}

export class Browser {
  static async launch({ width = 1024, height = 768, args = [] } = {}) {
    const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'qb-chromium-'));
    const child = spawn(chromiumPath(), [
      '--headless=new', '--no-sandbox', '--remote-debugging-pipe', `--user-data-dir=${dir}`,
      `--window-size=${width},${height}`, '--no-first-run', '--no-default-browser-check',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--mute-audio', '--password-store=basic', '--use-mock-keychain', '--disable-dev-shm-usage', ...args,
      'about:blank',
    ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const b = new Browser(child, dir);
    await b.ready;
    return b;
  }

  constructor(child, dir) {
    this.child = child;
    this.dir = dir;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.stderr = '';
    child.stderr.on('data', (d) => { this.stderr = (this.stderr + d).slice(-4000); });
    let buffer = '';
    child.stdio[4].on('data', (chunk) => {
      buffer += chunk.toString('utf8');
      let end;
      while ((end = buffer.indexOf('\0')) >= 0) {
        const message = JSON.parse(buffer.slice(0, end));
        buffer = buffer.slice(end + 1);
        this.dispatch(message);
      }
    });
    this.exited = new Promise((resolve) => child.once('exit', resolve));
    this.exited.then(() => {
      for (const { reject } of this.pending.values())
        reject(new Error('Chromium exited:\n' + this.stderr));
      this.pending.clear();
    });
    this.ready = this.send('Browser.getVersion');
  }

  dispatch(m) {
    if (m.id !== undefined) {
      const p = this.pending.get(m.id);
      if (!p) return;
      this.pending.delete(m.id);
      if (m.error) p.reject(new Error(`${p.method}: ${m.error.message}`));
      else p.resolve(m.result);
      return;
    }
    for (const l of this.listeners)
      if (l.method === m.method && l.session === m.sessionId) l.handler(m.params);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  // Opens a tab, attaches to it and enables the domains the callers use.
  async newPage() {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Session(this, sessionId);
    page.targetId = targetId;
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    return page;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), new Promise((r) => setTimeout(r, 3000))]);
    } catch { /* already gone */ }
    if (this.child.exitCode === null) this.child.kill('SIGKILL');
    await this.exited;
    // Chromium's helper processes may still be writing its profile for a moment.
    try { fs.rmSync(this.dir, { recursive: true, force: true, maxRetries: 10, retryDelay: 200 }); } catch { /* left in tmp */ }
  }
}

// Key presses as a keyboard makes them: DOM key, code and the Windows key
// code Chromium wants for the non-character keys.
const NAMED = {
  Up: ['ArrowUp', 'ArrowUp', 38], Down: ['ArrowDown', 'ArrowDown', 40],
  Left: ['ArrowLeft', 'ArrowLeft', 37], Right: ['ArrowRight', 'ArrowRight', 39],
  Enter: ['Enter', 'Enter', 13, '\r'], Space: [' ', 'Space', 32, ' '], Escape: ['Escape', 'Escape', 27],
  Backspace: ['Backspace', 'Backspace', 8], F1: ['F1', 'F1', 112], F5: ['F5', 'F5', 116],
  F12: ['F12', 'F12', 123], Plus: ['+', 'NumpadAdd', 107, '+'],
};

// Presses and releases a key named as in the replay tool's scripts ("Up",
// "F5", "Plus", "Enter", or a single character); modifiers: 1 Alt, 2 Ctrl,
// 4 Meta, 8 Shift.
export async function pressKey(page, name, modifiers = 0) {
  let key, code, vk, text;
  if (NAMED[name]) [key, code, vk, text] = NAMED[name];
  else if (name.length === 1) {
    key = name;
    text = name;
    const upper = name.toUpperCase();
    code = /[A-Z]/.test(upper) ? 'Key' + upper : /[0-9]/.test(name) ? 'Digit' + name : '';
    vk = upper.charCodeAt(0);
  } else throw new Error(`unknown key ${name}`);
  const common = { key, code, windowsVirtualKeyCode: vk, nativeVirtualKeyCode: vk, modifiers };
  await page.send('Input.dispatchKeyEvent',
    { type: text && !(modifiers & 7) ? 'keyDown' : 'rawKeyDown', text: modifiers & 7 ? undefined : text, ...common });
  await page.send('Input.dispatchKeyEvent', { type: 'keyUp', ...common });
}

export const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
