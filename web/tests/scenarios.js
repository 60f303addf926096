// The browser scenarios: each gets a fresh page with empty browser storage
// and plays Rillo through the canvas and the boxes, as a player would.
'use strict';
const fs = require('fs');
const path = require('path');
const net = require('net');
const {spawn} = require('child_process');
const {Game, layout, texts, root, discX, launchWithProfile} = require('./page');
const {chooseColumn} = require('./four');

function check(condition, message) {
  if (!condition) throw new Error(message);
}

const EmptyBoard = ['       ', '       ', '       ', '       ', '       ', '       '];

// A text of game/texts.h with {name} and {column} filled in, as the page
// fills them.
function say(name, values = {}) {
  return texts[name].replace(/\{(\w+)\}/g, (_, key) => String(values[key]));
}

// axe-core on what the page shows now: no violation of any rule.
async function expectAccessible(page, where) {
  await page.addScriptTag({path: require.resolve('axe-core/axe.min.js')});
  const found = await page.evaluate(async () => (await window.axe.run(document)).violations
    .map((v) => `${v.id} (${v.nodes.map((n) => n.target.join(' ')).join(', ')})`));
  check(found.length === 0, `axe on ${where}: ${found.join('; ')}`);
}

// Everything the live region says from now on, read and cleared by heard().
async function listen(page) {
  await page.evaluate(() => {
    window.rilloHeard = [];
    new MutationObserver((changes) => {
      for (const change of changes) for (const node of change.addedNodes) window.rilloHeard.push(node.textContent);
    }).observe(document.getElementById('announcements'), {childList: true});
  });
}

async function heard(page) {
  return page.evaluate(() => window.rilloHeard.splice(0));
}

// The page's controls by name, in their order on the page, and the focused one.
async function controlNames(page) {
  return page.locator('#controls button').evaluateAll((all) => all.map((b) => b.getAttribute('aria-label')));
}

async function focusedName(page) {
  return page.evaluate(() => document.activeElement && document.activeElement.getAttribute('aria-label'));
}

// Waits for a screen by its heading; its first control (or the one named)
// must then have the focus.
async function expectScreen(page, heading, focused) {
  await page.locator('h1', {hasText: texts[heading]}).waitFor();
  await page.waitForFunction((name) => document.activeElement &&
    document.activeElement.getAttribute('aria-label') === name, focused);
  const label = await page.locator('#screen').getAttribute('aria-label');
  check(label === texts[heading], `the canvas is named "${label}" on the screen "${texts[heading]}"`);
}

// Drops discs column by column, checking each lands where it should.
async function playColumns(game, columns, board, first = 'Y') {
  const rows = board.map((line) => line.split(''));
  let mark = first;
  for (const column of columns) {
    let row = 5;
    while (rows[row][column] !== ' ') row--;
    rows[row][column] = mark;
    mark = mark === 'Y' ? 'R' : 'Y';
    await game.pressColumn(column);
    await game.waitForBoard(rows.map((line) => line.join('')), `the disc in column ${column + 1}`);
  }
  return rows.map((line) => line.join(''));
}

async function toMenu(game) {
  await game.press(400, 300);
  await game.waitForPicture('menue', 'the menu', 0.99);
}

async function startTwoPlayers(game, first, second) {
  await game.pressMenu('ScreenTwoPlayers');
  await game.answerName('Spieler1:', first);
  await game.answerName('Spieler2:', second);
  await game.waitForPicture('spielfeld', 'the board', 0.8);
}

// Presses keys one right after the other, then waits for the board they
// make: quick key presses are each a press. columns are the columns the
// keys drop discs in, in order, for the board and the announcements.
async function keyColumns(game, keys, columns, board, names, first = 0) {
  for (const key of keys) await game.page.keyboard.press(key);
  const rows = board.map((line) => line.split(''));
  const expected = [];
  columns.forEach((column, i) => {
    const mover = (first + i) % 2;
    let row = 5;
    while (rows[row][column] !== ' ') row--;
    rows[row][column] = mover === 0 ? 'Y' : 'R';
    expected.push(say('AnnounceDisc', {name: names[mover], column: column + 1}));
    if (i < columns.length - 1) expected.push(say('AnnounceTurn', {name: names[1 - mover]}));
  });
  const after = rows.map((line) => line.join(''));
  await game.waitForBoard(after, `the discs of the keys ${keys.join(' ')}`);
  return {board: after, expected};
}

const nameAreas = {
  first: [layout.Name1X, layout.Name1Y, 180, 24],
  second: [layout.Name2X, layout.Name2Y, 180, 24],
};

// The first table shipped with the game, with an entry put in as the game
// ranks it: before every entry with as many moves or more.
function tableWith(name, moves) {
  const rows = fs.readFileSync(path.join(root, 'data', 'src', 'Highscore.txt'), 'latin1')
    .trim().split('\n').map((line) => line.split(' '));
  let rank = rows.findIndex((row) => Number(row[1]) >= moves);
  if (rank < 0) rank = rows.length;
  rows.splice(rank, 0, [name, String(moves)]);
  return {text: rows.slice(0, 10).map((row) => row.join(' ') + '\n').join(''), rank};
}

const scenarios = {
  async intro_menu(game, {page, url, shot}) {
    await game.open(url);
    check((await page.title()) === 'Rillo', `the page is titled "${await page.title()}"`);
    check((await game.pictureShare('intro')) === 1, 'the intro is not drawn exactly');
    const size = await page.evaluate(() => [document.getElementById('screen').width, document.getElementById('screen').height]);
    check(size.join('x') === '800x600', `the canvas is ${size.join('x')}`);
    await shot('intro');
    // Pictures are decoded once, but a file replaced meanwhile shows at the
    // next paint: the intro's file now holds the credits.
    const credits = fs.readFileSync(path.join(root, 'data', 'src', 'credits.bmp'));
    await page.evaluate((base64) => {
      Module.FS_unlink('/rillo/src/intro.bmp');
      Module.FS_createDataFile('/rillo/src', 'intro.bmp', Uint8Array.from(atob(base64), (c) => c.charCodeAt(0)), true, true);
      window.dispatchEvent(new Event('resize'));
    }, credits.toString('base64'));
    await game.waitForPicture('credits', 'the replaced intro picture', 0.99);
    await toMenu(game);
    check((await game.pictureShare('menue')) === 1, 'the menu is not drawn exactly');
    const focused = await page.evaluate(() => [document.activeElement.getAttribute('aria-label'),
      getComputedStyle(document.activeElement).opacity]);
    check(focused.join() === `${texts.ControlTwoPlayers},0`, `after a mouse press the focused control is ${focused}`);
    check((await page.getByRole('dialog').count()) === 0, 'a dialog is open on the menu');
    await shot('menu');
  },

  async two_player_win(game, {url, shot, page}) {
    await game.open(url);
    await toMenu(game);
    await startTwoPlayers(game, 'Anna', 'Bernd');
    check((await game.turnShown()) === 1, 'the first turn is not player 1\'s');
    const names = [await game.whiteIn(...nameAreas.first), await game.whiteIn(...nameAreas.second)];
    check(names[0] > 20 && names[1] > 20, `the names are not drawn (${names} white pixels)`);
    let board = await playColumns(game, [0, 1, 0, 1, 0, 1], EmptyBoard);
    check((await game.turnShown()) === 1, 'after six discs the turn picture is not player 1\'s');
    await shot('web_game');
    // The win sound (1.2 s) plays to its end before the box; no load can
    // make the box come sooner than half of it.
    const won = Date.now();
    await playColumns(game, [0], board);
    await game.box('***SIEG***SPIELER 1***').waitFor();
    const waited = Date.now() - won;
    check(waited >= 600, `the win box came ${waited} ms after the winning press, before the win sound ended`);
    await game.expectBox('***SIEG***SPIELER 1***', 'Anna', 'Information', ['OK']);
    await shot('win_box');
    // A press on the board while the box is open goes nowhere.
    await game.pressColumn(4);
    await game.pressButton('***SIEG***SPIELER 1***', 'OK');
    await game.expectBox('***????***', 'Nochmal', 'Frage', ['Ja', 'Nein', 'Abbrechen']);
    await game.pressButton('***????***', 'Ja');

    // Yes: the same screen, an empty board, the names as before.
    await game.waitForBoard(EmptyBoard, 'the board cleared after Yes');
    const again = [await game.whiteIn(...nameAreas.first), await game.whiteIn(...nameAreas.second)];
    check(again.join() === names.join(), `the names drawn after Yes differ (${again} white pixels, were ${names})`);
    check((await game.turnShown()) === 1, 'after Yes the turn picture is not player 1\'s');

    // A double click drops one disc, as on Windows, where the second press
    // of a double click is not a press.
    await game.doublePress(discX(0), 300);
    board = ['       ', '       ', '       ', '       ', '       ', 'Y      '];
    await game.waitForBoard(board, 'one disc after a double click');
    await page.waitForTimeout(300);
    check((await game.board()).join('|') === board.join('|'), 'a double click dropped two discs');
    // Player 2 wins; Enter presses the box's OK, then No returns to the menu.
    board = await playColumns(game, [1, 0, 1, 0, 1, 2, 1], board, 'R');
    await game.expectBox('***SIEG***SPIELER 2***', 'Bernd', 'Information', ['OK']);
    await page.keyboard.press('Enter');
    await game.box('***SIEG***SPIELER 2***').waitFor({state: 'detached'});
    await game.expectBox('***????***', 'Nochmal', 'Frage', ['Ja', 'Nein', 'Abbrechen']);
    await game.pressButton('***????***', 'Nein');
    await game.waitForPicture('menue', 'the menu after No', 0.99);
  },

  // Intro to credits with the keyboard alone, through the page's controls;
  // axe-core checks every screen and box on the way.
  async keyboard_only(game, {url, page, shot}) {
    await page.addInitScript(() => {
      window.rilloPointers = 0;
      addEventListener('pointerdown', () => window.rilloPointers++, true);
    });
    await game.open(url);
    await listen(page);
    await expectScreen(page, 'HeadingIntro', texts.ControlContinue);
    await expectAccessible(page, 'the intro');
    await page.keyboard.press('Enter');
    await game.waitForPicture('menue', 'the menu', 0.99);
    await expectScreen(page, 'HeadingMenu', texts.ControlTwoPlayers);
    const menu = ['ControlTwoPlayers', 'ControlEasyComputer', 'ControlHardComputer', 'ControlHighscores', 'ControlCredits'];
    const shown = await controlNames(page);
    check(shown.join() === menu.map((n) => texts[n]).join(), `the menu's controls are ${shown}`);
    // The focused control outlines its hit area; the others are not seen.
    const canvas = await page.locator('#screen').boundingBox();
    const looks = await page.locator('#controls button').evaluateAll((all) => all.map((b) => {
      const r = b.getBoundingClientRect();
      return {left: r.left, top: r.top, width: r.width, height: r.height, opacity: getComputedStyle(b).opacity};
    }));
    const area = layout.menu.ScreenTwoPlayers;
    const scale = canvas.width / 800;
    const off = Math.max(Math.abs(looks[0].left - canvas.x - area.left * scale), Math.abs(looks[0].top - canvas.y - area.top * scale),
      Math.abs(looks[0].width - (area.right - area.left + 1) * scale), Math.abs(looks[0].height - (area.bottom - area.top + 1) * scale));
    check(off < 1.5, `the control "${shown[0]}" lies ${off.toFixed(1)} px off its hit area`);
    check(looks[0].opacity === '1' && looks.slice(1).every((l) => l.opacity === '0'),
      `the controls' opacities are ${looks.map((l) => l.opacity)}`);
    await expectAccessible(page, 'the menu');
    await shot('keyboard_menu');

    await page.keyboard.press('Enter');
    const question = game.nameQuestion();
    await question.getByLabel('Spieler1:', {exact: true}).waitFor();
    await expectAccessible(page, 'the name question');
    await page.keyboard.type('Anna');
    await page.keyboard.press('Enter');
    await question.getByLabel('Spieler2:', {exact: true}).waitFor();
    await page.keyboard.type('Bernd');
    await page.keyboard.press('Enter');
    await game.waitForPicture('spielfeld', 'the board', 0.8);
    const column = (n) => say('ControlColumn', {column: n});
    await expectScreen(page, 'HeadingTwoPlayers', column(1));
    const columns = await controlNames(page);
    check(columns.join() === [1, 2, 3, 4, 5, 6, 7].map(column).join(), `the board's controls are ${columns}`);
    await expectAccessible(page, 'the board');
    await heard(page);

    // Digits, Right with Enter or Space: a win of player 1 in column 1.
    const names = ['Anna', 'Bernd'];
    let game1 = await keyColumns(game, ['1', 'ArrowRight', 'Enter', '1', '2', '1', 'ArrowRight', ' ', '1'],
      [0, 1, 0, 1, 0, 1, 0], EmptyBoard, names);
    await game.expectBox('***SIEG***SPIELER 1***', 'Anna', 'Information', ['OK']);
    let said = await heard(page);
    check(said.join('|') === game1.expected.join('|'), `the live region said\n${said.join('\n')}\nexpected\n${game1.expected.join('\n')}`);
    await expectAccessible(page, 'the win box');
    await page.keyboard.press('Enter');
    await game.expectBox('***????***', 'Nochmal', 'Frage', ['Ja', 'Nein', 'Abbrechen']);
    await expectAccessible(page, 'the box "Nochmal"');
    await page.keyboard.press('Enter');
    await game.waitForBoard(EmptyBoard, 'the board cleared after Yes');
    check((await focusedName(page)) === column(1), `after Yes the focus is on "${await focusedName(page)}"`);

    // A full column is announced, and the same player moves again.
    game1 = await keyColumns(game, ['1', '1', '1', '1', '1', '1'], [0, 0, 0, 0, 0, 0], EmptyBoard, names);
    said = await heard(page);
    await page.keyboard.press('1');
    await page.waitForFunction(() => window.rilloHeard.length >= 2);
    said = said.concat(await heard(page));
    const full = game1.expected.concat([say('AnnounceTurn', {name: 'Anna'}), say('AnnounceFullColumn', {column: 1}), say('AnnounceTurn', {name: 'Anna'})]);
    check(said.join('|') === full.join('|'), `the live region said\n${said.join('\n')}\nexpected\n${full.join('\n')}`);
    await keyColumns(game, ['2', '3', '2', '3', '2', '3', '2'], [1, 2, 1, 2, 1, 2, 1], game1.board, names);
    await game.box('***SIEG***SPIELER 1***').waitFor();
    await page.keyboard.press('Enter');
    await game.box('***????***').waitFor();
    await page.keyboard.press('Tab');
    await page.keyboard.press('Enter');
    await expectScreen(page, 'HeadingMenu', texts.ControlTwoPlayers);

    // The highscore table, read as a table, as the screen draws it.
    for (let i = 0; i < 3; i++) await page.keyboard.press('Tab');
    await page.keyboard.press('Enter');
    await expectScreen(page, 'HeadingHighscores', texts.ControlBack);
    const table = page.getByRole('table', {name: texts.HeadingHighscores});
    const rows = await table.locator('tr').evaluateAll((all) => all.map((tr) => Array.from(tr.cells, (c) => c.textContent).join(' ')));
    const shipped = fs.readFileSync(path.join(root, 'data', 'src', 'Highscore.txt'), 'latin1').trim().split('\n')
      .map((line, i) => `${i + 1} ${line}`);
    const header = [texts.TableRankHeader, texts.TableNameHeader, texts.TableMovesHeader].join(' ');
    check(rows.join('|') === [header, ...shipped].join('|'), `the table reads\n${rows.join('\n')}`);
    await expectAccessible(page, 'the highscore screen');
    await page.keyboard.press('Enter');
    await expectScreen(page, 'HeadingMenu', texts.ControlTwoPlayers);
    check(await table.isHidden(), 'the table stays on the menu');

    for (let i = 0; i < 4; i++) await page.keyboard.press('Tab');
    await page.keyboard.press('Enter');
    await expectScreen(page, 'HeadingCredits', texts.ControlEnd);
    await expectAccessible(page, 'the credits');
    await page.keyboard.press('Enter');
    await page.getByRole('status').getByText(texts.PageEndedText).waitFor();
    check((await focusedName(page)) === null && (await page.evaluate(() => document.activeElement.id)) === 'restart',
      'the focus is not on the new start');
    await expectAccessible(page, 'the ended page');
    check((await page.evaluate(() => window.rilloPointers)) === 0, 'a pointer pressed during the keyboard game');
  },

  async name_dialog(game, {url, page, shot}) {
    await game.open(url);
    await toMenu(game);
    await game.pressMenu('ScreenTwoPlayers');
    const question = game.nameQuestion();
    await question.getByLabel('Spieler1:', {exact: true}).waitFor();
    await shot('name_dialog');
    await page.keyboard.press('Escape');
    await question.waitFor({state: 'detached'});
    await game.waitForPicture('menue', 'the menu after Escape', 0.99);

    // An empty first name: both are asked, then both again. The field takes
    // 9 characters; Enter is OK.
    await game.pressMenu('ScreenTwoPlayers');
    await game.answerName('Spieler1:', '');
    await game.answerName('Spieler2:', 'Bernd');
    const field = question.getByLabel('Spieler1:', {exact: true});
    await field.waitFor();
    await field.pressSequentially('Maximilian12');
    const typed = await field.inputValue();
    check(typed === 'Maximilia', `the field holds "${typed}" after 12 characters`);
    await page.keyboard.press('Enter');
    await question.getByLabel('Spieler2:', {exact: true}).waitFor();
    // Escape on the second question returns to the menu.
    await page.keyboard.press('Escape');
    await question.waitFor({state: 'detached'});
    await game.waitForPicture('menue', 'the menu after Escape on the second name', 0.99);

    // One empty name of two: both are asked again, player 1 first.
    await game.pressMenu('ScreenTwoPlayers');
    await game.answerName('Spieler1:', 'Anna');
    await game.answerName('Spieler2:', '');
    await game.answerName('Spieler1:', 'Jörg');
    await game.answerName('Spieler2:', 'Bernd');
    await game.waitForPicture('spielfeld', 'the board after both names', 0.8);
  },

  async beat_easy_computer(game, {url, page, shot}) {
    await game.open(url);
    await toMenu(game);
    await game.pressMenu('ScreenEasyComputer');
    await game.answerName('Spieler:', 'Siegerin');
    await game.waitForPicture('spielfeld', 'the board', 0.8);
    await expectScreen(page, 'HeadingEasyComputer', say('ControlColumn', {column: 1}));
    await expectAccessible(page, 'the board against the computer');
    await listen(page);
    const level = await game.pictureShare('compuleicht', layout.LevelPictureX, layout.LevelPictureY);
    check(level > 0.95, 'the easy level picture is not shown');

    let moves = -1;
    for (let gameNumber = 1; gameNumber <= 8 && moves < 0; gameNumber++) {
      await game.waitForBoard(EmptyBoard, `game ${gameNumber} on an empty board`);
      for (let clicks = 1; ; clicks++) {
        const before = await game.board();
        const count = (mark) => before.join('').split(mark).length - 1;
        const column = chooseColumn(before);
        check(column >= 0, 'no column left and no box');
        await game.pressColumn(column);
        const pressed = Date.now();
        let box = '';
        await game.waitFor('the computer\'s answer', async () => {
          const open = page.getByRole('alertdialog');
          if ((await open.count()) > 0) {
            box = await open.getAttribute('aria-labelledby').then((id) => page.locator('#' + id).textContent());
            return true;
          }
          const now = (await game.board()).join('');
          const human = now.split('Y').length - 1;
          const computer = now.split('R').length - 1;
          const humanToMove = (await game.turnShown()) === 1;
          if (human === count('Y') + 1 && computer === count('R') + 1 && humanToMove) return true;
          // In the opening the computer may name a full column (0 to 4) and
          // pass its turn: no disc of its own long after its pause.
          const openingColumnFull = [0, 1, 2, 3, 4].some((c) => now[c] !== ' ');
          if (human === count('Y') + 1 && computer === count('R') && humanToMove && openingColumnFull &&
              Date.now() - pressed > 4000) {
            console.log('    the computer passed its turn (a full column in the opening)');
            return true;
          }
          return `${human} yellow, ${computer} red`;
        }, 8000);
        // The live region names each disc and whose turn follows.
        const text = box === '' ? '' : await game.page.locator(`#${await page.getByRole('alertdialog').getAttribute('aria-describedby')}`).textContent();
        const now = await game.board();
        const answered = [0, 1, 2, 3, 4, 5, 6].find((c) => now.some((row, r) => row[c] === 'R' && before[r][c] !== 'R'));
        const expected = [say('AnnounceDisc', {name: 'Siegerin', column: column + 1})];
        if (text !== 'Siegerin') expected.push(texts.AnnounceComputerTurn);
        if (answered !== undefined) expected.push(say('AnnounceComputerDisc', {column: answered + 1}));
        if (box === '') expected.push(say('AnnounceTurn', {name: 'Siegerin'}));
        const said = await heard(page);
        check(said.join('|') === expected.join('|'), `the live region said ${said.join(' | ')}, expected ${expected.join(' | ')}`);
        if (box === '') continue;
        if (box === '***SIEG***' && text === 'Siegerin') {
          // The first game counts its moves from 0, later ones from 1.
          moves = (gameNumber === 1 ? 0 : 1) + clicks - 1;
          console.log(`    won game ${gameNumber} with ${clicks} clicks (move count ${moves})`);
          break;
        }
        console.log(`    game ${gameNumber}: ${box} ${text}`);
        await game.pressButton(box, 'OK');
        await game.pressButton('***????***', 'Ja');
        break;
      }
    }
    check(moves >= 0, 'the easy computer was not beaten in 8 games');
    const expected = tableWith('Siegerin', moves);
    const stored = await game.storedTable();
    check(stored === expected.text, `the stored table is\n${stored}expected\n${expected.text}`);
    await game.pressButton('***SIEG***', 'OK');
    await game.pressButton('***????***', 'Nein');
    await game.waitForPicture('menue', 'the menu after No', 0.99);

    // A reload starts the game afresh with the table kept.
    await page.reload();
    await game.waitForPicture('intro', 'the intro after the reload');
    check((await game.storedTable()) === expected.text, 'the table changed on reload');
    await toMenu(game);
    await game.pressMenu('ScreenHighscores');
    await game.waitForPicture('highscore', 'the highscore screen', 0.8);
    const y = layout.HighscoreRowY[expected.rank];
    const drawn = await game.whiteIn(layout.HighscoreNameX, y, 300, 24);
    check(drawn > 30, `row ${expected.rank + 1} of the table shows no name (${drawn} white pixels)`);
    await shot('highscores_after_win');
  },

  async computer_pause(game, {url, page}) {
    await game.open(url);
    await toMenu(game);
    await game.pressMenu('ScreenHardComputer');
    await game.answerName('Spieler:', 'Eva');
    await game.waitForPicture('spielfeld', 'the board', 0.8);
    await game.waitFor('the turn picture', async () => (await game.turnShown()) === 1);
    // Every frame from the press on: is the human's disc there, is any
    // computer disc there, which turn picture shows.
    const cells = [];
    for (let r = 0; r < 6; r++) for (let c = 0; c < 7; c++) cells.push([layout.DiscFirstX + layout.DiscStepX * c, layout.DiscBottomY - layout.DiscStepY * (5 - r)]);
    const turnPoint = [layout.TurnPictureX + 40, layout.TurnPictureY + 29];
    await page.evaluate(({cells, turnPoint}) => {
      const context = document.getElementById('screen').getContext('2d', {willReadFrequently: true});
      window.frames_seen = [];
      const look = (time) => {
        const at = ([x, y]) => Array.from(context.getImageData(x, y, 1, 1).data.slice(0, 3)).join();
        window.frames_seen.push({time, human: at(cells[38]) === '128,128,0',
          yellow: cells.filter((p) => at(p) === '128,128,0').length,
          computer: cells.some((p) => at(p) === '128,0,0'), turn: at(turnPoint)});
        if (window.frames_seen.length < 400) requestAnimationFrame(look);
      };
      requestAnimationFrame(look);
    }, {cells, turnPoint});
    await game.pressColumn(3);
    // A press during the pause waits its turn: the computer answers the
    // first disc, then the second falls and is answered too.
    await game.waitFor('the human\'s disc', async () => (await game.board())[5][3] === 'Y', 5000);
    await game.pressColumn(0);
    await game.waitFor('the queued press and its answer', async () => {
      const now = await game.board();
      const all = now.join('');
      return (all.split('Y').length === 3 && all.split('R').length === 3 && now.some((row) => row[0] === 'Y')) ||
        `board |${now.join('|')}|`;
    }, 8000);
    const frames = await page.evaluate(() => window.frames_seen);
    const human = frames.findIndex((f) => f.human);
    const computer = frames.findIndex((f) => f.computer);
    const queued = frames.findIndex((f) => f.yellow >= 2);
    check(computer >= 0 && queued >= computer, 'the press during the pause was handled before the computer\'s answer');
    check(human >= 0 && computer > human, `the human's disc was first seen in frame ${human}, the computer's in ${computer}`);
    const paused = frames.slice(human, computer);
    const turns = new Set(paused.map((f) => f.turn));
    check(turns.size === 1 && !turns.has(frames[0].turn), 'the turn picture did not change to the computer\'s during the pause');
    const gap = frames[computer].time - frames[human].time;
    console.log(`    ${computer - human} frames, ${Math.round(gap)} ms between the two discs`);
    // A slow machine can only lengthen the pause; half of it is a bound
    // that no load makes fail.
    check(gap >= 500, `the computer's disc came ${Math.round(gap)} ms after the human's, without its pause of 1000 ms`);
    // Keys wait their turn as presses do: the second of two quick digits
    // comes during the computer's pause and is played after its answer.
    await page.keyboard.press('5');
    await page.keyboard.press('7');
    await game.waitFor('both keys and both answers', async () => {
      const now = await game.board();
      const all = now.join('');
      return (all.split('Y').length === 5 && all.split('R').length === 5 && now.some((row) => row[6] === 'Y')) ||
        `board |${now.join('|')}|`;
    }, 8000);
  },

  async credits_end(game, {url, page, shot}) {
    await game.open(url);
    await toMenu(game);
    await game.pressMenu('ScreenCredits');
    await game.waitForPicture('credits', 'the credits', 0.99);
    const status = page.getByRole('status');
    check(await status.isHidden(), 'the end is shown before the click on the credits');
    await game.press(200, 200);
    await status.getByText(texts.PageEndedText).waitFor();
    check((await game.pictureShare('credits')) === 1, 'the credits are not on view after the end');
    await shot('ended');
    // The page takes no more presses.
    await game.press(400, 300);
    await page.waitForTimeout(300);
    check((await game.pictureShare('credits')) === 1, 'a press after the end changed the canvas');
    await status.getByRole('button', {name: texts.PageRestartText, exact: true}).click();
    await game.waitForPicture('intro', 'the intro after "Neu starten"', 0.99);
    check(await status.isHidden(), 'the end is still shown after the new start');
    await toMenu(game);

    // Cancel at "Nochmal" ends the game too; Escape answers Cancel.
    await startTwoPlayers(game, 'A', 'B');
    await playColumns(game, [0, 1, 0, 1, 0, 1, 0], EmptyBoard);
    // Escape answers OK in a box that has only OK.
    await game.box('***SIEG***SPIELER 1***').waitFor();
    await page.keyboard.press('Escape');
    await game.box('***????***').waitFor();
    await page.keyboard.press('Escape');
    await status.getByText(texts.PageEndedText).waitFor();
  },

  // Back after leaving in the middle of a game: the page comes back from the
  // browser's back/forward cache as it was and plays on; Forward and Back
  // again likewise.
  async back_keeps_game(game, {url, page}) {
    await game.open(url);
    await toMenu(game);
    await startTwoPlayers(game, 'Anna', 'Bernd');
    let board = await playColumns(game, [3, 4], EmptyBoard);
    await page.evaluate(() => addEventListener('pageshow', (event) => { window.rilloBack = event.persisted; }));
    // A page from the cache fires no load event.
    // Away to another page of the site (a second Rillo), then Forward to it.
    for (const away of [() => page.goto(url + '?away'), () => page.goForward({waitUntil: 'commit'})]) {
      await away();
      await game.waitForPicture('intro', 'the page gone to', 0.99);
      await page.goBack({waitUntil: 'commit'});
      await page.waitForFunction(() => window.rilloBack !== undefined);
      check((await page.evaluate(() => window.rilloBack)) === true, 'the page did not come back from the back/forward cache');
      check(await page.getByRole('status').isHidden(), 'Back shows the game as ended');
      await page.evaluate(() => { window.rilloBack = null; });
      board = await playColumns(game, [3], board, board.join('').split('R').length < board.join('').split('Y').length ? 'R' : 'Y');
    }
  },

  // A phone upright and sideways, and a laptop: the whole canvas shows,
  // as large as fits, centred; the boxes are sized for a finger.
  async narrow_screen(game, {url, page, shot}) {
    await game.open(url);
    for (const [width, height] of [[360, 740], [740, 360], [1280, 800]]) {
      await page.setViewportSize({width, height});
      const fit = await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => {
        const r = document.getElementById('screen').getBoundingClientRect();
        resolve({left: r.left, top: r.top, right: r.right, bottom: r.bottom,
          scrollWidth: document.documentElement.scrollWidth, scrollHeight: document.documentElement.scrollHeight});
      })));
      const where = `at ${width} x ${height} the canvas spans (${fit.left}, ${fit.top}) to (${fit.right}, ${fit.bottom})`;
      check(fit.left >= 0 && fit.top >= 0 && fit.right <= width && fit.bottom <= height, `${where}: not all on screen`);
      check(fit.scrollWidth <= width && fit.scrollHeight <= height, `${where}: the page scrolls (${fit.scrollWidth} x ${fit.scrollHeight})`);
      const full = Math.abs(fit.right - fit.left - width) < 1 || Math.abs(fit.bottom - fit.top - height) < 1;
      const centred = Math.abs(fit.left + fit.right - width) < 1 && Math.abs(fit.top + fit.bottom - height) < 1;
      check(full && centred, `${where}: not as large as fits, centred`);
    }
    await page.setViewportSize({width: 740, height: 360});
    const box = await page.locator('#screen').boundingBox();
    const tap = (x, y) => page.touchscreen.tap(box.x + (x * box.width) / 800, box.y + (y * box.height) / 600);
    await tap(400, 300);
    await game.waitForPicture('menue', 'the menu after a touch', 0.99);
    const at = layout.menu.ScreenEasyComputer;
    await tap(at.x, at.y);
    const question = game.nameQuestion();
    const field = question.getByLabel('Spieler:', {exact: true});
    await field.waitFor();
    await shot('narrow_name_dialog');
    const sizes = await question.evaluate((dialog) => {
      const r = dialog.getBoundingClientRect();
      return {inside: r.left >= 0 && r.top >= 0 && r.right <= innerWidth && r.bottom <= innerHeight,
        font: parseFloat(getComputedStyle(dialog.querySelector('label')).fontSize),
        buttons: Array.from(dialog.querySelectorAll('button'), (b) => b.getBoundingClientRect().height)};
    });
    check(sizes.inside && sizes.font >= 16 && sizes.buttons.every((h) => h >= 44),
      `the name question on a phone: ${JSON.stringify(sizes)}`);
    await field.fill('Pia');
    await question.getByRole('button', {name: texts.NameOkText, exact: true}).tap();
    await game.waitForPicture('spielfeld', 'the board on a phone held sideways', 0.8);
    await tap(discX(3), 300);
    await game.waitFor('the disc on a phone', async () => (await game.board())[5][3] === 'Y');
    await shot('phone_landscape');
  },

  // Loading: the ways the game cannot start, each with its reason in the
  // alert; then a slow data file, in a browser that refuses its storage.
  async loading(game, {url, page, shot, allow}) {
    allow(/404/);
    allow(/storage could not be read|could not be written/);
    await page.addInitScript(() => {
      IDBFactory.prototype.open = () => { throw new DOMException('refused', 'SecurityError'); };
    });
    const reason = (text, file) => text.split('{detail}')[0].replace('{file}', file);
    const data = fs.readFileSync(path.join(root, 'build', 'web', 'rillo.data'));
    data.fill(0, 0, 200);
    const failures = [
      ['**/rillo.wasm', {status: 404, body: 'not here'}, reason(texts.PageMissingFileReason, 'rillo.wasm') + 'HTTP 404'],
      ['**/rillo.data', {body: data}, reason(texts.PageDamagedFileReason, 'rillo.data')],
      // The script comes through a script element, which does not say why.
      ['**/rillo.js', {status: 404, body: 'not here'}, reason(texts.PageMissingFileReason, 'rillo.js') + 'HTTP 404'],
      // Cut short before the intro's bytes end.
      ['**/rillo.data', {body: fs.readFileSync(path.join(root, 'build', 'web', 'rillo.data')).subarray(0, 1000)},
        reason(texts.PageDamagedFileReason, 'rillo.data')],
    ];
    for (const [pattern, answer, expected] of failures) {
      await page.route(pattern, (route) => route.fulfill(answer));
      await page.goto(url);
      const alert = page.getByRole('alert');
      await alert.waitFor();
      const said = await alert.textContent();
      check(said.startsWith(texts.PageFailedText) && said.includes(expected), `the alert says "${said}"`);
      await page.unroute(pattern);
    }
    await shot('load_failed');
    const old = await page.context().newPage();
    await old.addInitScript(() => { delete window.WebAssembly; });
    await old.goto(url);
    const oldSaid = await old.getByRole('alert').textContent();
    check(oldSaid.includes(texts.PageNoWebAssemblyReason), `without WebAssembly the alert says "${oldSaid}"`);
    await old.close();

    // "Neu laden" loads afresh; while the data is held back the loading
    // screen counts what has come and the canvas is not drawn yet.
    let release;
    const held = new Promise((resolve) => { release = resolve; });
    await page.route('**/rillo.data', async (route) => { await held; await route.continue(); });
    await page.getByRole('button', {name: texts.PageReloadText, exact: true}).click();
    const progress = page.getByRole('progressbar', {name: texts.PageLoadingText, exact: true});
    await game.waitFor('the script and code counted', async () => {
      const value = Number(await progress.getAttribute('aria-valuenow'));
      return (value > 0 && value < 100) || `the progress bar at ${value}`;
    });
    check((await game.pictureShare('intro')) < 0.5, 'the intro is drawn before its data came');
    await shot('loading');
    release();
    await game.waitForPicture('intro', 'the intro once the data came');
    check(await progress.isHidden(), 'the progress bar stays over the intro');
    // Without storage the game plays on with a note that the table lasts
    // this visit.
    await page.getByRole('status').getByText(texts.PageStorageNote).waitFor();
    await toMenu(game);

    // The intro file as the game finds it in the data the page unpacks first:
    // another picture in its place is what shows; without it the game says
    // so and ends.
    const own = await page.context().browser().newContext({serviceWorkers: 'block'});
    try {
      for (const missing of [false, true]) {
        const other = new Game(await own.newPage());
        await other.page.route(url, async (route) => {
          const response = await route.fetch();
          let rewritten = false;
          const body = (await response.text()).replace(/var dataFiles = (\[.*\]);\n\s*var firstFiles = (\d+);/,
            (_, list, first) => {
              rewritten = true;
              const files = JSON.parse(list);
              const intro = files.findIndex((file) => file[0] === 'intro.bmp');
              const menu = files.find((file) => file[0] === 'menue.bmp');
              if (missing) files.splice(intro, 1);
              else files[intro] = ['intro.bmp', ...menu.slice(1)];
              return `var dataFiles = ${JSON.stringify(files)};\n var firstFiles = ${first - (missing ? 1 : 0)};`;
            });
          check(rewritten, 'the page\'s table of files was not found');
          await route.fulfill({response, body});
        });
        await other.page.goto(url);
        if (!missing) {
          await other.waitForPicture('menue', 'the menu\'s picture in the intro\'s place', 1);
          continue;
        }
        for (const [said, caption] of [[texts.PictureErrorText, texts.PictureErrorCaption],
          [texts.WindowErrorText, texts.WindowErrorCaption]]) {
          const box = other.page.getByRole('alertdialog', {name: caption, exact: true});
          await box.waitFor();
          check((await box.locator('p').textContent()) === said, `the box says "${await box.textContent()}"`);
          check((await other.pictureShare('intro')) < 0.5, 'an intro is drawn without its file');
          await box.getByRole('button').click();
        }
        await other.page.getByRole('status').getByText(texts.PageEndedText).waitFor();
      }
    } finally {
      await own.close();
    }
  },

  // The page as an app: installable in a player's profile, and after the
  // first visit kept by its service worker, so it plays without a network.
  async installed_offline(game, {url, shot}) {
    const browser = await launchWithProfile();
    try {
      const app = new Game(browser.page);
      await app.open(url);
      const page = browser.page;
      await page.evaluate(() => navigator.serviceWorker.ready);
      const session = await browser.context.newCDPSession(page);
      const {installabilityErrors} = await session.send('Page.getInstallabilityErrors');
      check(installabilityErrors.length === 0,
        `not installable: ${installabilityErrors.map((e) => e.errorId).join(', ')}`);
      // One cache, holding exactly the files the release zip holds.
      const shipped = fs.readFileSync(path.join(root, 'tools', 'check_web_package.sh'), 'utf8')
        .match(/^files="(.*)"$/m)[1].split(' ').filter((file) => file !== 'sw.js').sort();
      const kept = await page.evaluate(async () => {
        const names = await caches.keys();
        const files = await (await caches.open(names[0])).keys();
        return {names, files: files.map((request) => new URL(request.url).pathname.split('/').pop()).sort()};
      });
      check(kept.names.length === 1 && /^rillo-\d+\.\d+\.\d+-[0-9a-f]{16}$/.test(kept.names[0]),
        `the caches are ${kept.names}`);
      check(kept.files.join() === shipped.join(), `the cache holds ${kept.files}, the site is ${shipped}`);

      await browser.context.setOffline(true);
      await page.reload();
      await app.waitForPicture('intro', 'the intro offline');
      await toMenu(app);
      await startTwoPlayers(app, 'Anna', 'Bernd');
      await playColumns(app, [3], EmptyBoard);
    } finally {
      await browser.close();
    }
  },

  // A new version on the server: the open page keeps running the old one, the
  // new one installs beside it and takes over at the next start, and the old
  // files go. Played on a copy of the site with a server of its own.
  async new_version() {
    const site = path.join(root, 'build', 'web-e2e', 'new-version');
    fs.rmSync(site, {recursive: true, force: true});
    const shipped = fs.readFileSync(path.join(root, 'tools', 'check_web_package.sh'), 'utf8').match(/^files="(.*)"$/m)[1];
    fs.mkdirSync(site, {recursive: true});
    for (const file of shipped.split(' ')) fs.copyFileSync(path.join(root, 'build', 'web', file), path.join(site, file));
    const port = await new Promise((resolve) => {
      const probe = net.createServer().listen(0, '127.0.0.1', () => {
        const free = probe.address().port;
        probe.close(() => resolve(free));
      });
    });
    const server = spawn('python3', ['-m', 'http.server', String(port), '--bind', '127.0.0.1', '--directory', site], {stdio: 'ignore'});
    const browser = await launchWithProfile();
    try {
      const page = browser.page;
      const copy = `http://127.0.0.1:${port}/`;
      const seen = async (which) => {
        const app = new Game(which);
        await app.waitForPicture('intro', 'the intro');
        return which.evaluate(async () => ({version: document.querySelector('meta[name=version]') ? 2 : 1,
          caches: await caches.keys()}));
      };
      await new Game(page).waitFor('the copy served', async () => page.goto(copy).then(() => true, () => false));
      await page.evaluate(() => navigator.serviceWorker.ready);
      const first = await seen(page);
      // The next build: its own cache name and a page that says so, newer
      // than the old files by more than the server's one-second dates.
      const later = new Date(Date.now() + 5000);
      const change = (file, from, to) => {
        fs.writeFileSync(path.join(site, file), fs.readFileSync(path.join(site, file), 'utf8').replace(from, to));
        fs.utimesSync(path.join(site, file), later, later);
      };
      change('sw.js', /const CacheName = "([^"]*)"/, 'const CacheName = "$1-next"');
      change('index.html', '<head>', '<head><meta name="version" content="2">');
      await page.reload();
      const reloaded = await seen(page);
      check(reloaded.version === 1, 'the open page ran the new version at once');
      // The new version waits beside the old one while the old page is open.
      await new Game(page).waitFor('the new version installed', async () => page.evaluate(async () =>
        (await navigator.serviceWorker.getRegistration()).waiting !== null), 10000);
      const both = await page.evaluate(() => caches.keys());
      check(both.length === 2, `while the old page ran the caches were ${both}`);
      // Once the old page is closed, the new version becomes the active one.
      const next = await browser.context.newPage();
      const session = await browser.context.newCDPSession(next);
      const versions = {};
      const activated = new Promise((resolve) => session.on('ServiceWorker.workerVersionUpdated', (event) => {
        for (const version of event.versions) versions[version.versionId] = version.status;
        const newest = Math.max(...Object.keys(versions).map(Number));
        if (Object.keys(versions).length >= 2 && versions[newest] === 'activated') resolve();
      }));
      await session.send('ServiceWorker.enable');
      await page.close();
      await activated;
      await next.goto(copy);
      const started = await seen(next);
      check(started.version === 2 && started.caches.join() === `${first.caches[0]}-next`,
        `at the next start: version ${started.version}, caches ${started.caches}`);
    } finally {
      await browser.close();
      server.kill();
      fs.rmSync(site, {recursive: true, force: true});
    }
  },
};

// Time limits against hangs, in seconds.
const limits = {beat_easy_computer: 240, two_player_win: 90, credits_end: 90, keyboard_only: 90};
const narrow = {narrow_screen: {viewport: {width: 360, height: 740}, hasTouch: true, isMobile: true}};

// Playwright keeps pages out of the back/forward cache unless told not to.
const ownBrowser = {back_keeps_game: {ignoreDefaultArgs: ['--disable-back-forward-cache']}};

module.exports = {scenarios, limits, narrow, ownBrowser};
