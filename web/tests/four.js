// The scenarios' own player against the easy computer: a short search that
// takes any win, blocks the computer's fours and looks for a double threat,
// reckoning with the worst answer the computer could give. The board is read
// from the canvas: 6 strings of 7, row 0 at the top, 'Y' the human, 'R' the
// computer.
'use strict';

const Human = 'Y';
const Computer = 'R';

function landing(cells, column) {
  for (let row = 5; row >= 0; row--) if (cells[row][column] === ' ') return row;
  return -1;
}

function play(cells, column, mark) {
  const row = landing(cells, column);
  const next = cells.map((line) => line.slice());
  next[row][column] = mark;
  return next;
}

const Windows = [];
for (let row = 0; row < 6; row++) {
  for (let column = 0; column < 7; column++) {
    for (const [dr, dc] of [[0, 1], [1, 0], [1, 1], [-1, 1]]) {
      const cells = [];
      for (let i = 0; i < 4; i++) cells.push([row + dr * i, column + dc * i]);
      if (cells.every(([r, c]) => r >= 0 && r < 6 && c < 7)) Windows.push(cells);
    }
  }
}

function hasFour(cells, mark) {
  return Windows.some((w) => w.every(([r, c]) => cells[r][c] === mark));
}

function columns(cells) {
  return [3, 2, 4, 1, 5, 0, 6].filter((c) => landing(cells, c) >= 0);
}

function winningColumns(cells, mark) {
  return columns(cells).filter((c) => hasFour(play(cells, c, mark), mark));
}

// Open windows weighted by how full they are, for the human.
function value(cells) {
  let total = 0;
  for (const w of Windows) {
    const marks = w.map(([r, c]) => cells[r][c]);
    const human = marks.filter((m) => m === Human).length;
    const computer = marks.filter((m) => m === Computer).length;
    if (computer === 0) total += human * human;
    if (human === 0) total -= computer * computer;
  }
  return total;
}

const Win = 100000;

// The computer answers with its win if it has one, else it blocks one of the
// human's fours (the worst one for the human), else plays anywhere.
function computerValue(cells, depth) {
  if (winningColumns(cells, Computer).length > 0) return -Win;
  if (columns(cells).length === 0) return 0;
  const threats = winningColumns(cells, Human);
  if (threats.length > 1) return Win;
  if (depth <= 0) return value(cells);
  const answers = threats.length === 1 ? threats : columns(cells);
  let worst = Infinity;
  for (const c of answers) worst = Math.min(worst, humanValue(play(cells, c, Computer), depth - 1));
  return worst;
}

function humanValue(cells, depth) {
  if (winningColumns(cells, Human).length > 0) return Win;
  if (depth <= 0 || columns(cells).length === 0) return value(cells);
  let best = -Infinity;
  for (const c of columns(cells)) best = Math.max(best, computerValue(play(cells, c, Human), depth - 1));
  return best;
}

// The column the human plays next on the board read from the canvas.
function chooseColumn(rows) {
  const cells = rows.map((line) => line.split(''));
  const wins = winningColumns(cells, Human);
  if (wins.length > 0) return wins[0];
  let best = -Infinity;
  let choice = -1;
  for (const c of columns(cells)) {
    const v = computerValue(play(cells, c, Human), 2);
    if (v > best) {
      best = v;
      choice = c;
    }
  }
  return choice;
}

module.exports = {chooseColumn, landing, hasFour, play};
