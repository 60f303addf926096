// What the browser scenarios know of Rillo's page: the positions from
// game/layout.h, the pictures from data/src, and a Game that presses on the
// canvas in the game's coordinates and reads its pixels back.
'use strict';
const fs = require('fs');
const os = require('os');
const path = require('path');
const {chromium} = require('playwright-core');

const root = path.resolve(__dirname, '..', '..');

// The constants of game/layout.h, one per line, as the data tools read them.
function readLayout() {
  const text = fs.readFileSync(path.join(root, 'game', 'layout.h'), 'utf8');
  const layout = {};
  for (const m of text.matchAll(/^constexpr int (\w+) = (-?\d+);/gm)) layout[m[1]] = Number(m[2]);
  const screens = {};
  const state = fs.readFileSync(path.join(root, 'game', 'state.h'), 'utf8');
  for (const m of state.matchAll(/constexpr int (Screen\w+) = (\d+);/g)) screens[m[1]] = Number(m[2]);
  layout.menu = {};
  for (const m of text.matchAll(/\{(\d+), (\d+), (\d+), (\d+), (Screen\w+)\}/g)) {
    const [left, right, top, bottom] = m.slice(1, 5).map(Number);
    layout.menu[m[5]] = {x: Math.round((left + right) / 2), y: Math.round((top + bottom) / 2), left, right, top, bottom};
  }
  const rows = text.match(/HighscoreRowY\[\] = \{([^}]*)\}/);
  layout.HighscoreRowY = rows[1].split(',').map(Number);
  if (Object.keys(layout.menu).length !== 5 || !('DiscFirstX' in layout))
    throw new Error('game/layout.h could not be read');
  return layout;
}

const layout = readLayout();

// The texts of game/texts.h, as the build puts them into the page.
function readTexts() {
  const text = fs.readFileSync(path.join(root, 'game', 'texts.h'), 'utf8');
  const texts = {};
  for (const m of text.matchAll(/^constexpr const char\* (\w+) = "((?:[^"\\]|\\.)*)";$/gm))
    texts[m[1]] = m[2].replace(/\\(.)/g, (_, c) => ({n: '\n', t: '\t'}[c] || c));
  if (!('PageEndedText' in texts)) throw new Error('game/texts.h could not be read');
  return texts;
}

const texts = readTexts();

// A 24-bit bitmap of data/src as rows of [r, g, b], top row first.
function readPicture(name) {
  const bytes = fs.readFileSync(path.join(root, 'data', 'src', name));
  const offset = bytes.readUInt32LE(10);
  const width = bytes.readInt32LE(18);
  const height = bytes.readInt32LE(22);
  if (bytes.readUInt16LE(28) !== 24 || height <= 0) throw new Error(name + ' is not a 24-bit bitmap');
  const stride = Math.ceil((width * 3) / 4) * 4;
  return {
    width, height,
    at(x, y) {
      const o = offset + (height - 1 - y) * stride + x * 3;
      return [bytes[o + 2], bytes[o + 1], bytes[o]];
    },
  };
}

const pictures = {};
for (const name of fs.readdirSync(path.join(root, 'data', 'src'))) {
  if (name.endsWith('.bmp')) pictures[name.replace('.bmp', '')] = readPicture(name);
}

// Colours of a disc's core, as the game draws them.
const RedCore = [128, 0, 0];
const YellowCore = [128, 128, 0];

function same(a, b) {
  return a[0] === b[0] && a[1] === b[1] && a[2] === b[2];
}

function discX(column) {
  return layout.DiscFirstX + layout.DiscStepX * column;
}

function discY(row) {
  return layout.DiscBottomY - layout.DiscStepY * (5 - row);
}

class Game {
  constructor(page) {
    this.page = page;
    this.presses = 0;
  }

  async open(url) {
    await this.page.goto(url);
    await this.waitForPicture('intro', 'the intro');
  }

  // A press at the game's (x, y), wherever and however large the canvas is.
  async press(x, y) {
    const box = await this.page.locator('#screen').boundingBox();
    await this.page.mouse.click(box.x + ((x + 0.5) * box.width) / 800, box.y + ((y + 0.5) * box.height) / 600);
    this.presses++;
  }

  // Two quick presses on one spot: a double click.
  async doublePress(x, y) {
    const box = await this.page.locator('#screen').boundingBox();
    await this.page.mouse.dblclick(box.x + ((x + 0.5) * box.width) / 800, box.y + ((y + 0.5) * box.height) / 600);
    this.presses += 2;
  }

  // A press on a board column. y plays no part in the game, so it changes
  // from press to press: two presses on one spot soon after each other are a
  // double click, which the game does not take.
  async pressColumn(column) {
    await this.press(discX(column), 150 + 37 * (this.presses % 9));
  }

  // A press on a menu button, a little off the last one's spot, so two
  // presses on one button soon after each other are no double click.
  async pressMenu(screen) {
    const at = layout.menu[screen];
    await this.press(at.x + 5 * ((this.presses % 3) - 1), at.y);
  }

  // Pixels of the canvas at the given points, as [r, g, b].
  async pixels(points) {
    // Only the rows the points lie in are read, and the colours come back as
    // one flat list.
    const top = Math.min(...points.map((p) => p[1]));
    const bottom = Math.max(...points.map((p) => p[1]));
    const flat = await this.page.evaluate(({points, top, bottom}) => {
      const context = document.getElementById('screen').getContext('2d', {willReadFrequently: true});
      const rows = context.getImageData(0, top, 800, bottom - top + 1).data;
      const out = new Array(points.length * 3);
      for (let i = 0; i < points.length; i++) {
        const o = ((points[i][1] - top) * 800 + points[i][0]) * 4;
        out[3 * i] = rows[o];
        out[3 * i + 1] = rows[o + 1];
        out[3 * i + 2] = rows[o + 2];
      }
      return out;
    }, {points, top, bottom});
    return points.map((_, i) => flat.slice(3 * i, 3 * i + 3));
  }

  // The share of sampled points in a region that show a picture's pixels,
  // the picture's top left corner at (left, top).
  async pictureShare(name, left = 0, top = 0, region = null) {
    const picture = pictures[name];
    const r = region || {x: left, y: top, width: picture.width, height: picture.height};
    const points = [];
    for (let y = r.y + 1; y < r.y + r.height; y += 9)
      for (let x = r.x + 2; x < r.x + r.width; x += 11) points.push([x, y]);
    const seen = await this.pixels(points);
    let matching = 0;
    points.forEach(([x, y], i) => {
      if (same(seen[i], picture.at(x - left, y - top))) matching++;
    });
    return matching / points.length;
  }

  async waitFor(what, test, timeout = 5000) {
    const until = Date.now() + timeout;
    let last;
    for (;;) {
      last = await test();
      if (last === true) return;
      if (Date.now() > until) throw new Error(`${what} not seen within ${timeout} ms` + (last ? `: ${last}` : ''));
      await this.page.waitForTimeout(25);
    }
  }

  // Waits until the canvas shows a screen picture (names, discs and the side
  // pictures may cover part of it).
  async waitForPicture(name, what, share = 0.8) {
    await this.waitFor(what, async () => {
      const seen = await this.pictureShare(name);
      return seen >= share || `${Math.round(seen * 100)}% of ${name}.bmp`;
    });
  }

  // The board as 6 strings of 7: 'R' red core, 'Y' yellow core, ' ' the
  // board picture, '?' anything else.
  async board() {
    const points = [];
    for (let row = 0; row < 6; row++)
      for (let column = 0; column < 7; column++) points.push([discX(column), discY(row)]);
    const seen = await this.pixels(points);
    const rows = [];
    for (let row = 0; row < 6; row++) {
      let line = '';
      for (let column = 0; column < 7; column++) {
        const [x, y] = points[row * 7 + column];
        const colour = seen[row * 7 + column];
        line += same(colour, RedCore) ? 'R' : same(colour, YellowCore) ? 'Y'
          : same(colour, pictures.spielfeld.at(x, y)) ? ' ' : '?';
      }
      rows.push(line);
    }
    return rows;
  }

  async waitForBoard(expected, what) {
    await this.waitFor(what, async () => {
      const rows = await this.board();
      return rows.join('|') === expected.join('|') || `board |${rows.join('|')}|`;
    });
  }

  // Which turn picture is shown: 1, 2 or 0 for neither.
  async turnShown() {
    const at = [layout.TurnPictureX, layout.TurnPictureY];
    for (const [number, name] of [[1, 'spieler1'], [2, 'spieler2']]) {
      if ((await this.pictureShare(name, at[0], at[1])) > 0.95) return number;
    }
    return 0;
  }

  // Count of white pixels in a region: drawn names and table entries.
  async whiteIn(x, y, width, height) {
    const points = [];
    for (let py = y; py < y + height; py++) for (let px = x; px < x + width; px++) points.push([px, py]);
    const seen = await this.pixels(points);
    return seen.filter((c) => same(c, [255, 255, 255])).length;
  }

  // The open box or name question by its role and name.
  box(caption) {
    return this.page.getByRole('alertdialog', {name: caption, exact: true});
  }

  nameQuestion() {
    return this.page.getByRole('dialog', {name: texts.NameCaption, exact: true});
  }

  // Answers the name question with a name (empty: OK on an empty field).
  async answerName(prompt, name) {
    const question = this.nameQuestion();
    await question.waitFor();
    const field = question.getByLabel(prompt, {exact: true});
    await field.waitFor();
    await field.fill(name);
    // The next question may follow at once: this one must go.
    const asked = await question.elementHandle();
    await question.getByRole('button', {name: texts.NameOkText, exact: true}).click();
    await this.page.waitForFunction((dialog) => !dialog.isConnected, asked);
  }

  // Checks an open box's caption, text, icon and buttons.
  async expectBox(caption, text, icon, buttons) {
    const box = this.box(caption);
    await box.waitFor();
    const description = await box.evaluate((b) => document.getElementById(b.getAttribute('aria-describedby')).textContent);
    if (description !== text) throw new Error(`box "${caption}" says "${description}", expected "${text}"`);
    if ((await box.getByRole('img', {name: icon, exact: true}).count()) !== 1)
      throw new Error(`box "${caption}" lacks the ${icon} icon`);
    const labels = await box.getByRole('button').allTextContents();
    if (labels.join(',') !== buttons.join(','))
      throw new Error(`box "${caption}" has the buttons ${labels.join(',')}, expected ${buttons.join(',')}`);
    return box;
  }

  async pressButton(caption, label) {
    const box = this.box(caption);
    await box.getByRole('button', {name: label, exact: true}).click();
    await box.waitFor({state: 'detached'});
  }

  // The table as the browser's storage holds it.
  async storedTable() {
    return this.page.evaluate(() => new Promise((resolve, reject) => {
      const opened = indexedDB.open('/rillo/table');
      opened.onerror = () => reject(new Error('no saved folder in the browser'));
      opened.onsuccess = () => {
        const db = opened.result;
        const read = db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/rillo/table/.\\src\\Highscore.txt');
        read.onsuccess = () => {
          db.close();
          resolve(read.result ? new TextDecoder('windows-1252').decode(read.result.contents) : null);
        };
        read.onerror = () => reject(new Error('the table could not be read'));
      };
    }));
  }
}

// How the scenarios start Chromium.
const launchOptions = {
  executablePath: process.env.RILLO_CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
         '--disable-sync', '--no-first-run'],
};

// A browser with a profile on disk, as a player's own (not a private
// window), which some of the browser's services need; close() ends it and
// removes the profile.
async function launchWithProfile() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'rillo-profile-'));
  const context = await chromium.launchPersistentContext(folder,
    {...launchOptions, viewport: {width: 1000, height: 760}});
  const page = context.pages()[0] || await context.newPage();
  const close = async () => {
    await context.close();
    fs.rmSync(folder, {recursive: true, force: true});
  };
  return {context, page, close};
}

module.exports = {Game, layout, texts, pictures, discX, discY, root, launchOptions, launchWithProfile};
