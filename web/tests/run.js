// Runs the browser scenarios against a served site in headless Chromium.
//
//   node run.js --url http://127.0.0.1:PORT/ [--shots DIR] [scenario...]
//   node run.js --list
//
// Each scenario runs in a fresh browser context (empty storage) within its
// time limit; one line per scenario, then "N passed, N failed". Exits 1 when
// any failed.
'use strict';
const fs = require('fs');
const path = require('path');
const {chromium} = require('playwright-core');
const {Game, root, launchOptions} = require('./page');
const {scenarios, limits, narrow, ownBrowser} = require('./scenarios');

const DefaultLimit = 60;

function parseArguments(argv) {
  const options = {url: null, shots: path.join(root, 'build', 'web-e2e', 'screenshots'), names: [], list: false};
  for (let i = 0; i < argv.length; i++) {
    if (argv[i] === '--url') options.url = argv[++i];
    else if (argv[i] === '--shots') options.shots = argv[++i];
    else if (argv[i] === '--list') options.list = true;
    else options.names.push(argv[i]);
  }
  return options;
}

function withLimit(promise, seconds) {
  let timer;
  const limit = new Promise((resolve, reject) => {
    timer = setTimeout(() => reject(new Error(`time limit of ${seconds} s reached`)), seconds * 1000);
  });
  return Promise.race([promise, limit]).finally(() => clearTimeout(timer));
}

async function runOne(browser, name, options) {
  const context = await browser.newContext(narrow[name] || {viewport: {width: 1000, height: 760}});
  const page = await context.newPage();
  const problems = [];
  // A scenario that provokes a message names it: allow(/pattern/).
  const allowed = [];
  const allow = (pattern) => allowed.push(pattern);
  page.on('pageerror', (error) => problems.push(error.message));
  page.on('console', (message) => {
    const text = message.text();
    if ((message.type() === 'warning' || message.type() === 'error') && !allowed.some((p) => p.test(text)))
      problems.push(text);
  });
  const game = new Game(page);
  const shot = (label) => page.screenshot({path: path.join(options.shots, `${label}.png`)});
  try {
    await withLimit(scenarios[name](game, {page, url: options.url, shot, allow}), limits[name] || DefaultLimit);
    if (problems.length > 0) throw new Error('the page reported: ' + problems.join(' | '));
  } catch (error) {
    await page.screenshot({path: path.join(options.shots, `failed_${name}.png`)}).catch(() => {});
    throw error;
  } finally {
    await context.close();
  }
}

async function main() {
  const options = parseArguments(process.argv.slice(2));
  if (options.list) {
    for (const name of Object.keys(scenarios)) console.log(`${name} (${limits[name] || DefaultLimit} s)`);
    return 0;
  }
  if (!options.url) throw new Error('usage: node run.js --url URL [--shots DIR] [scenario...]');
  const names = options.names.length > 0 ? options.names : Object.keys(scenarios);
  for (const name of names) if (!scenarios[name]) throw new Error(`no scenario "${name}"; --list names them`);
  fs.mkdirSync(options.shots, {recursive: true});

  // Playwright gives every launch a fresh, temporary profile of its own; a
  // scenario that needs other launch options gets a browser of its own.
  const launch = (extra) => chromium.launch({...launchOptions, ...extra});
  const browser = await launch({});
  let passed = 0;
  let failed = 0;
  try {
    for (const name of names) {
      const started = Date.now();
      try {
        if (ownBrowser[name]) {
          const own = await launch(ownBrowser[name]);
          await runOne(own, name, options).finally(() => own.close());
        } else {
          await runOne(browser, name, options);
        }
        passed++;
        console.log(`ok   ${name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
      } catch (error) {
        failed++;
        console.log(`FAIL ${name} (${((Date.now() - started) / 1000).toFixed(1)} s): ${error.message}`);
      }
    }
  } finally {
    await browser.close();
  }
  console.log(`${passed} passed, ${failed} failed`);
  return failed === 0 ? 0 : 1;
}

main().then((status) => process.exit(status), (error) => {
  console.error(error.message);
  process.exit(1);
});
