// The web page as players see it on a phone held upright, on a phone on its
// side and on a laptop, in headless Chromium with each device's size, pixel
// ratio and touch screen: level 1 in play, with the touch keys on the phones.
//
//   node tools/web_screenshots.mjs SITE_DIR [OUT_DIR]   (default: docs)
//
// Writes web-phone-upright.png, web-phone-sideways.png and web-laptop.png and
// prints how much of the width and height the picture takes on each.
import fs from 'node:fs';
import path from 'node:path';
import { Browser, pressKey, serve, sleep } from '../tests/web/chromium.mjs';

const [site, outDir = 'docs'] = process.argv.slice(2);
if (!site) {
  console.error('usage: node tools/web_screenshots.mjs SITE_DIR [OUT_DIR]');
  process.exit(2);
}
const DEVICES = [
  { file: 'web-phone-upright.png', width: 390, height: 844, ratio: 3, touch: true },
  { file: 'web-phone-sideways.png', width: 844, height: 390, ratio: 3, touch: true },
  { file: 'web-laptop.png', width: 1280, height: 720, ratio: 1, touch: false },
];

const server = await serve(site);
const browser = await Browser.launch({ width: 1280, height: 720 });
try {
  for (const d of DEVICES) {
    const page = await browser.newPage();
    await page.send('Emulation.setDeviceMetricsOverride',
      { width: d.width, height: d.height, deviceScaleFactor: d.ratio, mobile: d.touch });
    if (d.touch) await page.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
    await page.send('Page.navigate', { url: server.url });
    for (let i = 0; i < 200 && !await page.eval('!!(window.qbPage && window.qbPage.firstFrame)'); ++i) await sleep(100);
    await sleep(1000);
    // A new game: its card, then play with the gauges filled.
    await pressKey(page, 'Enter');
    await sleep(2500);
    await pressKey(page, 'Space');
    await sleep(3000);
    const { data } = await page.send('Page.captureScreenshot', { format: 'png' });
    fs.writeFileSync(path.join(outDir, d.file), Buffer.from(data, 'base64'));
    const box = await page.eval(`(() => { const r = document.getElementById('screen').getBoundingClientRect();
      return [r.width, r.height]; })()`);
    console.log(`${d.file}: ${d.width} x ${d.height} CSS px at ${d.ratio}x: picture ${box[0].toFixed(1)} x ` +
                `${box[1].toFixed(1)} (${(100 * box[0] / d.width).toFixed(0)} % of the width, ` +
                `${(100 * box[1] / d.height).toFixed(0)} % of the height)`);
    await browser.send('Target.closeTarget', { targetId: page.targetId });
  }
} finally {
  await browser.close();
  await server.close();
}
