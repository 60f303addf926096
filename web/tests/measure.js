// Measures Rillo's page in headless Chromium and prints the figures as a
// Markdown section for docs/performance.md; run by tools/web_performance.sh.
// Figures are reported against their targets, never judged.
//
//   node measure.js --url http://127.0.0.1:PORT/ --site build/web [--runs N]
'use strict';
const fs = require('fs');
const path = require('path');
const {chromium} = require('playwright-core');
const {Game, layout, pictures, discX, discY} = require('./page');

const options = {url: null, site: null, runs: 5};
for (let i = 2; i < process.argv.length; i++) {
  const [key, value] = [process.argv[i], process.argv[i + 1]];
  if (key === '--url') options.url = value;
  if (key === '--site') options.site = value;
  if (key === '--runs') options.runs = Number(value);
  i++;
}

function median(values) {
  const sorted = values.slice().sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

const ms = (value) => value.toFixed(1);

// Watches every frame from the page's start for the intro on the canvas.
function introWatch(points) {
  window.introDrawnAt = null;
  const look = () => {
    const canvas = document.getElementById('screen');
    if (canvas) {
      const context = canvas.getContext('2d', {willReadFrequently: true});
      const drawn = points.every(([x, y, colour]) =>
        Array.from(context.getImageData(x, y, 1, 1).data.slice(0, 3)).join() === colour.join());
      if (drawn) {
        window.introDrawnAt = performance.now();
        return;
      }
    }
    requestAnimationFrame(look);
  };
  requestAnimationFrame(look);
}

const introPoints = [[400, 300], [100, 100], [700, 500], [50, 550], [760, 40]].map(([x, y]) =>
  [x, y, pictures.intro.at(x, y)]);

async function introTime(page) {
  await page.waitForFunction(() => window.introDrawnAt !== null, null, {timeout: 20000});
  return page.evaluate(() => window.introDrawnAt);
}

// Time from a press at (x, y) until the pixel at `at` shows `colour`: on the
// canvas (checked after every task) and in a frame (checked every frame).
async function pressToPixel(game, x, y, at, colour) {
  await game.page.evaluate(({at, colour}) => {
    window.pressed = null;
    window.onCanvas = null;
    window.inFrame = null;
    const context = document.getElementById('screen').getContext('2d', {willReadFrequently: true});
    const shows = () => Array.from(context.getImageData(at[0], at[1], 1, 1).data.slice(0, 3)).join() === colour.join();
    window.addEventListener('pointerdown', () => {
      window.pressed = performance.now();
      const channel = new MessageChannel();
      channel.port1.onmessage = () => {
        if (shows()) window.onCanvas = performance.now();
        else channel.port2.postMessage(0);
      };
      channel.port2.postMessage(0);
      const frame = (time) => {
        if (shows()) window.inFrame = {time: performance.now(), frames: (window.frameCount || 0) + 1};
        else {
          window.frameCount = (window.frameCount || 0) + 1;
          requestAnimationFrame(frame);
        }
      };
      window.frameCount = 0;
      requestAnimationFrame(frame);
    }, {capture: true, once: true});
  }, {at, colour});
  await game.press(x, y);
  await game.page.waitForFunction(() => window.onCanvas !== null && window.inFrame !== null, null, {timeout: 10000});
  return game.page.evaluate(() => ({canvas: window.onCanvas - window.pressed, frame: window.inFrame.time - window.pressed,
    frames: window.inFrame.frames}));
}

async function main() {
  const browser = await chromium.launch({
    executablePath: process.env.RILLO_CHROMIUM || '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
           '--disable-sync', '--no-first-run'],
  });
  const cold = [];
  const reloaded = [];
  const slowed = [];
  const discs = [];
  const computer = [];
  const paints = [];
  let transfer = null;
  let memory = null;
  let servedByWorker = 0;
  for (let run = 0; run < options.runs; run++) {
    // With the CPU slowed four times, cold.
    const slow = await browser.newContext({viewport: {width: 1000, height: 760}});
    await slow.addInitScript(introWatch, introPoints);
    const slowPage = await slow.newPage();
    await (await slow.newCDPSession(slowPage)).send('Emulation.setCPUThrottlingRate', {rate: 4});
    await slowPage.goto(options.url);
    slowed.push(await introTime(slowPage));
    await slow.close();

    const context = await browser.newContext({viewport: {width: 1000, height: 760}});
    await context.addInitScript(introWatch, introPoints);
    const page = await context.newPage();
    await page.goto(options.url);
    cold.push(await introTime(page));
    if (transfer === null) {
      transfer = await page.evaluate(() => {
        const entries = [...performance.getEntriesByType('navigation'), ...performance.getEntriesByType('resource')];
        return entries.map((e) => ({name: e.name.split('/').pop() || 'index.html', bytes: e.transferSize}));
      });
    }
    // The reload once the service worker keeps the site.
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.reload();
    reloaded.push(await introTime(page));
    if (await page.evaluate(() => navigator.serviceWorker.controller !== null)) servedByWorker++;

    // A two-player game: every press's disc, then full repaints.
    const game = new Game(page);
    await game.press(400, 300);
    await game.waitForPicture('menue', 'the menu', 0.99);
    await game.pressMenu('ScreenTwoPlayers');
    await game.answerName('Spieler1:', 'Anna');
    await game.answerName('Spieler2:', 'Bernd');
    await game.waitForPicture('spielfeld', 'the board');
    const columns = [3, 2, 4, 5, 1, 6];
    for (let i = 0; i < columns.length; i++) {
      const colour = i % 2 === 0 ? [128, 128, 0] : [128, 0, 0];
      discs.push(await pressToPixel(game, discX(columns[i]), 200 + 40 * i, [discX(columns[i]), discY(5)], colour));
      await page.waitForTimeout(600);  // no double click
    }
    for (let i = 0; i < 100; i++) {
      // The page keeps the last 50 times: start each repaint on an empty list.
      await page.evaluate(() => {
        Module.paintTimes = [];
        window.dispatchEvent(new Event('resize'));
      });
      await page.waitForFunction(() => Module.paintTimes.length > 0);
      paints.push(await page.evaluate(() => Module.paintTimes[0]));
    }
    if (memory === null) {
      const session = await context.newCDPSession(page);
      await session.send('Performance.enable');
      const metrics = (await session.send('Performance.getMetrics')).metrics;
      const heap = metrics.find((m) => m.name === 'JSHeapUsedSize').value;
      memory = {heap, wasm: await page.evaluate(() => Module.memoryBytes())};
    }
    await context.close();

    // Against the easy computer: the press until the computer's disc shows.
    const second = await browser.newContext({viewport: {width: 1000, height: 760}});
    const page2 = await second.newPage();
    const game2 = new Game(page2);
    await game2.open(options.url);
    await game2.press(400, 300);
    await game2.waitForPicture('menue', 'the menu', 0.99);
    await game2.pressMenu('ScreenEasyComputer');
    await game2.answerName('Spieler:', 'Eva');
    await game2.waitForPicture('spielfeld', 'the board');
    // The computer answers a disc in the middle column on the cell above
    // it or beside it: watch every cell of the two lowest rows for red.
    await page2.evaluate(({cells}) => {
      window.redAt = null;
      const context = document.getElementById('screen').getContext('2d', {willReadFrequently: true});
      window.addEventListener('pointerdown', () => {
        const start = performance.now();
        const frame = () => {
          const red = cells.some(([x, y]) => Array.from(context.getImageData(x, y, 1, 1).data.slice(0, 3)).join() === '128,0,0');
          if (red) window.redAt = performance.now() - start;
          else requestAnimationFrame(frame);
        };
        requestAnimationFrame(frame);
      }, {capture: true, once: true});
    }, {cells: [0, 1, 2, 3, 4, 5, 6].flatMap((c) => [[discX(c), discY(5)], [discX(c), discY(4)]])});
    await game2.pressColumn(3);
    await page2.waitForFunction(() => window.redAt !== null, null, {timeout: 10000});
    computer.push(await page2.evaluate(() => window.redAt));
    await second.close();
  }
  await browser.close();

  const files = ['index.html', 'rillo.css', 'rillo.js', 'rillo.wasm', 'rillo.data', 'manifest.webmanifest',
    'icon-192.png', 'icon-512.png', 'icon-maskable-512.png', 'sw.js'].map((name) =>
    [name, fs.statSync(path.join(options.site, name)).size]);
  const transferred = transfer.reduce((sum, e) => sum + e.bytes, 0);
  const lines = [];
  const row = (what, value, target) => lines.push(`| ${what} | ${value} | ${target} |`);
  lines.push('## Rillo in the browser', '');
  lines.push(`Measured by tools/web_performance.sh on ${new Date().toISOString().slice(0, 16).replace('T', ' ')} UTC ` +
    `in headless Chromium (${browser.version()}), ${options.runs} runs, the site served from 127.0.0.1 ` +
    'by Python\'s static server. Medians, with the range in brackets; reported, not judged. ' +
    `Load average of the machine at the end: ${fs.readFileSync('/proc/loadavg', 'utf8').split(' ').slice(0, 3).join(' ')} ` +
    '(other work on the machine slows the times).', '');
  lines.push('| Measure | Measured | Target |', '|---|---|---|');
  const range = (values) => `${ms(median(values))} ms (${ms(Math.min(...values))} to ${ms(Math.max(...values))})`;
  row('navigation to the intro drawn, cold (empty cache and storage)', range(cold), 'within 400 ms');
  row(`navigation to the intro drawn, reloaded (served by the service worker in ${servedByWorker} of ${options.runs})`,
    range(reloaded), 'within 150 ms');
  row('navigation to the intro drawn, cold, CPU slowed four times', range(slowed), 'within 1200 ms');
  row('press to the disc on the canvas', range(discs.map((d) => d.canvas)), 'within 16.7 ms');
  row('press to the disc in a frame on screen', `${range(discs.map((d) => d.frame))}, ` +
    `in frame ${Math.max(...discs.map((d) => d.frames))} after the press at the latest`, 'within 16.7 ms');
  row('press to the computer\'s disc (easy, after its 1000 ms pause)', range(computer), '1000 ms pause and one frame');
  row(`full repaint of a game screen (${paints.length} repaints, ${paints.filter((t) => t > 16.7).length} over 16.7 ms)`,
    range(paints), 'median within 4 ms, none over 16.7 ms');
  row('bytes transferred by a cold load', `${transferred} bytes (${(transferred / 1048576).toFixed(2)} MB)`, 'under 3 MB');
  row('JavaScript heap in use on the game screen', `${(memory.heap / 1048576).toFixed(1)} MB`, 'none');
  row('WebAssembly memory', `${(memory.wasm / 1048576).toFixed(1)} MB`, 'none');
  lines.push('', 'The site\'s files:', '', '| File | Bytes |', '|---|---|');
  for (const [name, size] of files) lines.push(`| ${name} | ${size} |`);
  lines.push(`| all | ${files.reduce((sum, f) => sum + f[1], 0)} |`);
  console.log(lines.join('\n'));
}

main().catch((error) => {
  console.error(error.message);
  process.exit(1);
});
