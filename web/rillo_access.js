// The page's controls over the canvas, its headings and its live region,
// linked into rillo.js with --js-library beside rillo_library.js. The game
// tells the page which screen it shows and where that screen's hit areas lie
// (shell/web_access.cpp); here each area becomes a named button, invisible
// until focused, whose activation is a press at the middle of its area. The
// buttons take no pointer events: mouse, pen and touch reach the canvas.
var RilloAccessLibrary = {
  $RilloAccess__deps: ['$Rillo'],
  $RilloAccess: {
    started: false,
    controls: [],
    rows: [],
    // The column last played with the keyboard, focused when the board shows.
    lastColumn: 0,

    // A text of game/texts.h with {name} and {column} filled in.
    text: function(name, values) {
      var text = RilloTexts[name];
      if (text === undefined) {
        console.warn('Rillo: the page has no text ' + name);
        return name;
      }
      return text.replace(/\{(\w+)\}/g, function(all, key) {
        return values && values[key] !== undefined ? String(values[key]) : all;
      });
    },

    element: function(id) { return document.getElementById(id); },

    dialogOpen: function() { return document.querySelector('dialog[open]') !== null; },

    start: function() {
      if (RilloAccess.started) return;
      RilloAccess.started = true;
      document.addEventListener('keydown', RilloAccess.key);
      // The focused control is shown only to a player using the keyboard;
      // a mouse, pen or finger player never sees it.
      document.addEventListener('keydown', function() { document.body.classList.add('keyboard'); }, true);
      document.addEventListener('pointerdown', function() { document.body.classList.remove('keyboard'); }, true);
    },

    activate: function(control) {
      if (control.column) RilloAccess.lastColumn = control.column - 1;
      Rillo.queuePress(Math.floor((control.left + control.right) / 2), Math.floor((control.top + control.bottom) / 2));
    },

    columnButtons: function() {
      return RilloAccess.controls.filter(function(c) { return c.column > 0; });
    },

    // On the board: Left and Right move between the columns, 1 to 7 drop a
    // disc. Keys for an open box or the name question stay with it.
    key: function(event) {
      var columns = RilloAccess.columnButtons();
      if (columns.length === 0 || Rillo.ended || RilloAccess.dialogOpen() || event.altKey || event.ctrlKey ||
          event.metaKey) {
        return;
      }
      var digit = /^[1-9]$/.test(event.key) ? Number(event.key) : 0;
      if (digit >= 1 && digit <= columns.length) {
        event.preventDefault();
        columns[digit - 1].button.focus();
        RilloAccess.activate(columns[digit - 1]);
        return;
      }
      var step = event.key === 'ArrowLeft' ? -1 : event.key === 'ArrowRight' ? 1 : 0;
      if (step === 0) return;
      event.preventDefault();
      var at = columns.findIndex(function(c) { return c.button === document.activeElement; });
      var next = at < 0 ? RilloAccess.lastColumn : Math.min(Math.max(at + step, 0), columns.length - 1);
      RilloAccess.lastColumn = next;
      columns[next].button.focus();
    },

    // The table as the highscore screen draws it, for a screen reader.
    showTable: function() {
      var table = RilloAccess.element('table');
      var body = table.tBodies[0];
      body.replaceChildren();
      RilloAccess.rows.forEach(function(row) {
        var line = body.insertRow();
        row.forEach(function(cell) { line.insertCell().textContent = cell; });
      });
      table.hidden = RilloAccess.rows.length === 0;
    },

    show: function() {
      var layer = RilloAccess.element('controls');
      layer.replaceChildren();
      RilloAccess.controls.forEach(function(control) {
        var button = document.createElement('button');
        button.type = 'button';
        button.setAttribute('aria-label', control.label);
        // The area in hundredths of the canvas, so the button follows the
        // canvas at every size.
        button.style.left = (control.left / 8) + '%';
        button.style.top = (control.top / 6) + '%';
        button.style.width = ((control.right - control.left + 1) / 8) + '%';
        button.style.height = ((control.bottom - control.top + 1) / 6) + '%';
        button.addEventListener('click', function() { RilloAccess.activate(control); });
        control.button = button;
        layer.appendChild(button);
      });
      RilloAccess.showTable();
      if (Rillo.ended || RilloAccess.dialogOpen() || RilloAccess.controls.length === 0) return;
      var columns = RilloAccess.columnButtons();
      var first = columns.length > 0 ? columns[Math.min(RilloAccess.lastColumn, columns.length - 1)]
                                     : RilloAccess.controls[0];
      first.button.focus({preventScroll: true});
    },
  },

  rillo_access_screen__deps: ['$RilloAccess'],
  rillo_access_screen: function(heading) {
    RilloAccess.start();
    var name = RilloAccess.text(UTF8ToString(heading));
    RilloAccess.element('heading').textContent = name;
    Rillo.canvas.setAttribute('aria-label', name);
    if (RilloAccess.columnButtons().length === 0) RilloAccess.lastColumn = 0;
    RilloAccess.controls = [];
    RilloAccess.rows = [];
  },

  rillo_access_control__deps: ['$RilloAccess'],
  rillo_access_control: function(name, number, left, top, right, bottom) {
    RilloAccess.controls.push({
      label: RilloAccess.text(UTF8ToString(name), {column: number}),
      column: UTF8ToString(name) === 'ControlColumn' ? number : 0,
      left: left, top: top, right: right, bottom: bottom, button: null,
    });
  },

  rillo_access_row__deps: ['$RilloAccess'],
  rillo_access_row: function(rank, name, moves) {
    RilloAccess.rows.push([String(rank), Rillo.ansiText(name), Rillo.ansiText(moves)]);
  },

  rillo_access_shown__deps: ['$RilloAccess'],
  rillo_access_shown: function() {
    RilloAccess.show();
  },

  // One polite announcement; a new line for each, so a screen reader reads
  // each once, and only the last few are kept.
  rillo_announce__deps: ['$RilloAccess'],
  rillo_announce: function(text, name, column) {
    var region = RilloAccess.element('announcements');
    var line = document.createElement('p');
    line.textContent = RilloAccess.text(UTF8ToString(text), {name: Rillo.ansiText(name), column: column});
    region.appendChild(line);
    while (region.childElementCount > 20) region.firstElementChild.remove();
  },
};

mergeInto(LibraryManager.library, RilloAccessLibrary);
