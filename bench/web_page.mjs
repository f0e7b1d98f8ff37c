// Measures the web page in headless Chromium on 127.0.0.1 and prints the
// figures: the sizes of the game's .wasm and .js (plain and gzip), the time
// from navigation to the first frame on the canvas, the time from a key to
// the canvas change it makes (against the animation frame interval), and the
// play loop's passes per second.
//
//   node bench/web_page.mjs [SITE_DIR]     (default build/web/site)
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { Browser, pressKey, serve, sleep } from '../tests/web/chromium.mjs';

const site = process.argv[2] || 'build/web/site';
const LOADS = 12, KEYS = 40;

function stats(values) {
  const v = [...values].sort((a, b) => a - b);
  const at = (q) => v[Math.min(v.length - 1, Math.floor(q * v.length))];
  return { n: v.length, min: v[0], median: at(0.5), p90: at(0.9), max: v[v.length - 1] };
}
const fmt = (s, unit = 'ms') =>
  `median ${s.median.toFixed(1)} ${unit}, min ${s.min.toFixed(1)}, 90% ${s.p90.toFixed(1)}, max ${s.max.toFixed(1)} (n=${s.n})`;

console.log('== sizes');
for (const name of ['quizzlebox.wasm', 'quizzlebox.js', 'index.html', 'page.js', 'page.css']) {
  const data = fs.readFileSync(path.join(site, name));
  const gz = zlib.gzipSync(data, { level: 9 }).length;
  console.log(`${name.padEnd(16)} ${String(data.length).padStart(9)} bytes, gzip ${String(gz).padStart(8)} bytes`);
}

const server = await serve(site);
const browser = await Browser.launch({ width: 1024, height: 768 });
try {
  const page = await browser.newPage();
  const firstFrame = () => page.eval('window.qbPage && window.qbPage.firstFrame');
  async function load() {
    await page.send('Page.navigate', { url: server.url + '?' + Math.random() });
    for (let i = 0; i < 200; ++i) {
      const t = await firstFrame().catch(() => null);
      if (t) return t;
      await sleep(25);
    }
    throw new Error('no first frame');
  }

  console.log('\n== navigation to first frame (performance.now() at the first canvas update)');
  await page.send('Network.enable');
  for (const cache of [true, false]) {
    await page.send('Network.setCacheDisabled', { cacheDisabled: cache });
    await load();  // warm up the browser itself
    const times = [];
    for (let i = 0; i < LOADS; ++i) times.push(await load());
    console.log(`${cache ? 'no cache  ' : 'with cache'}: ${fmt(stats(times))}`);
    const steps = await page.eval(`(() => {
      const r = (name) => performance.getEntriesByType('resource').find((e) => e.name.includes(name));
      return { js: r('quizzlebox.js').responseEnd, wasm: r('quizzlebox.wasm').responseEnd,
               started: qbPage.started, frame: qbPage.firstFrame };
    })()`);
    console.log(`  the last load: .js fetched ${steps.js.toFixed(1)}, .wasm fetched ${steps.wasm.toFixed(1)},` +
                ` game started ${steps.started.toFixed(1)}, first frame ${steps.frame.toFixed(1)} ms`);
  }

  console.log('\n== key to canvas change (main menu, Down and Up in turn)');
  await load();
  await sleep(1000);
  await page.eval(`window.qbBench = { keys: [], frames: [], ticks: [] };
    window.addEventListener('keydown', (e) => qbBench.keys.push(e.timeStamp));
    { const shown = Module.onFrame; Module.onFrame = () => { qbBench.frames.push(performance.now()); shown(); }; }
    { const tick = (t) => { qbBench.ticks.push(t); if (qbBench.ticks.length < 2000) requestAnimationFrame(tick); };
      requestAnimationFrame(tick); }
    true`);
  for (let i = 0; i < KEYS; ++i) {
    await pressKey(page, i % 2 ? 'Up' : 'Down');
    await sleep(120 + Math.floor(Math.random() * 40));  // not in step with the frames
  }
  const b = await page.eval('qbBench');
  const latency = b.keys.map((k) => b.frames.find((f) => f >= k) - k).filter((x) => !Number.isNaN(x));
  const interval = b.ticks.slice(1).map((t, i) => t - b.ticks[i]);
  const frameMs = stats(interval).median;
  console.log(`key to canvas change: ${fmt(stats(latency))}`);
  console.log(`animation frame interval: ${fmt(stats(interval))}`);
  console.log(`changes shown within one frame interval of the key: ${latency.filter((x) => x <= frameMs + 0.5).length} of ${latency.length}`);

  // The play loop sleeps through the passes that change nothing on screen and
  // counts them when it wakes: until the time gauge begins to erode (count
  // 6000) it wakes only for keys, so the count jumps. The rate is read over
  // the whole run and, second by second, once the gauge erodes.
  console.log('\n== play loop passes per second (level 1, no keys)');
  await pressKey(page, 'Enter');  // the keys above left the pointer on the first entry
  await sleep(4000);
  await pressKey(page, 'Space');
  const read = () => page.eval('({ t: performance.now(), p: Module._qb_play_passes() })');
  let start = await read();
  while (start.p === 0) start = await read();  // the first pass
  let last = await read();
  while (last.p < 6500) {
    await sleep(250);
    last = await read();
  }
  const rates = [];
  for (let i = 0; i < 6; ++i) {
    await sleep(1000);
    const now = await read();
    rates.push((now.p - last.p) / ((now.t - last.t) / 1000));
    last = now;
  }
  console.log(`over the whole run: ${((last.p - start.p) / ((last.t - start.t) / 1000)).toFixed(0)} passes/s` +
              ` (${last.p} passes in ${((last.t - start.t) / 1000).toFixed(1)} s)`);
  console.log(`second by second while the gauge erodes: ${fmt(stats(rates), '/s')}`);
} finally {
  await browser.close();
  await server.close();
}
