// The page's half of Rillo's platform layer, linked into rillo.js with
// --js-library (the boxes and the name question are in rillo_boxes.js). The
// page's listeners only queue events; the game's loop takes them through
// rillo_next_event. The calls listed as waiting in web.cmake return a Promise
// to the game, which sleeps until it settles.
var RilloPageLibrary = {
  $Rillo__deps: ['$FS', '$IDBFS', '$Asyncify'],
  $Rillo: {
    canvas: null,
    context: null,
    // The kinds of event, as the game's loop names them (shell/web_page.h).
    kinds: null,
    queue: [],
    paintWanted: false,
    eraseWanted: false,
    paintStarted: 0,
    waiter: null,
    ended: false,
    lastPress: null,
    audio: null,
    playing: null,
    soundTurn: 0,
    locks: {},
    lockCount: 0,
    heldNames: {},
    releasing: [],
    nextId: 0,
    ansiDecoder: null,
    ansiCodes: null,
    pictures: {},

    // The window's background, erased before each repaint that asks for it:
    // the colour the Windows program's window class names (light grey).
    background: 'rgb(200, 200, 200)',
    // Two presses within this time and this distance are one double click,
    // which the game does not take, as on Windows.
    doubleClickMs: 500,
    doubleClickDistance: 2,

    wake: function() {
      if (Rillo.waiter !== null) {
        var waiter = Rillo.waiter;
        Rillo.waiter = null;
        waiter();
      }
    },

    // The game's texts are Windows-1252 bytes.
    ansiText: function(pointer, length) {
      if (!pointer) return '';
      if (length === undefined) {
        length = 0;
        while (HEAPU8[pointer + length] !== 0) length++;
      }
      if (Rillo.ansiDecoder === null) Rillo.ansiDecoder = new TextDecoder('windows-1252');
      return Rillo.ansiDecoder.decode(HEAPU8.slice(pointer, pointer + length));
    },

    // A typed text as Windows-1252 bytes; characters the code page lacks
    // become '?', as the system's conversion makes them.
    ansiBytes: function(text) {
      if (Rillo.ansiCodes === null) {
        Rillo.ansiCodes = new Map();
        var all = new Uint8Array(256);
        for (var i = 0; i < 256; i++) all[i] = i;
        var decoded = new TextDecoder('windows-1252').decode(all);
        for (var c = 1; c < 256; c++) Rillo.ansiCodes.set(decoded[c], c);
      }
      var bytes = [];
      for (var ch of text) {
        var code = Rillo.ansiCodes.get(ch);
        bytes.push(code === undefined ? 63 : code);
      }
      return bytes;
    },

    // The shipped data arrives compressed and would be unpacked at every
    // read; the first read keeps it unpacked in the page's memory, so later
    // reads of the file only copy it. A file in the page's memory is read
    // without a copy: its callers only read the bytes, and at once.
    readUnpacked: function(path) {
      var node = FS.lookupPath(path).node;
      if (node.contents instanceof Uint8Array) return node.contents.subarray(0, node.usedBytes);
      var bytes = FS.readFile(path);
      if (node.contents && node.contents.compressedData !== undefined) {
        FS.unlink(path);
        FS.writeFile(path, bytes);
      }
      return bytes;
    },

    // The data file a path names: the exact name or, where it is missing, a
    // name differing only in case, as the Windows file system matches names;
    // null for none.
    findData: function(path) {
      try {
        FS.stat(path);
        return path;
      } catch (e) {
        var slash = path.lastIndexOf('/');
        var folder = path.substring(0, slash) || '/';
        var wanted = path.substring(slash + 1).toLowerCase();
        try {
          var names = FS.readdir(folder);
          for (var i = 0; i < names.length; i++) {
            if (names[i].toLowerCase() === wanted) return folder + '/' + names[i];
          }
        } catch (e2) {
          // no such folder: no such file
        }
        return null;
      }
    },

    // A data file's bytes, or null.
    readData: function(path) {
      var found = Rillo.findData(path);
      return found === null ? null : Rillo.readUnpacked(found);
    },

    // What a picture file gives (its header, or its pixels at one size),
    // worked out from the file once and kept while the file keeps its size
    // and modification time: a repaint does not read and decode its pictures
    // again, and a file replaced meanwhile still shows at the next paint.
    fromPicture: function(path, key, make) {
      var found = Rillo.findData(path);
      if (found === null) return null;
      var stat = FS.stat(found);
      var kept = Rillo.pictures[found + '|' + key];
      if (kept && kept.size === stat.size && kept.time === stat.mtime.getTime()) return kept.value;
      var value = make(Rillo.readUnpacked(found));
      stat = FS.stat(found);  // the first read may have stored it anew
      Rillo.pictures[found + '|' + key] = {size: stat.size, time: stat.mtime.getTime(), value: value};
      return value;
    },

    // The header of an uncompressed Windows bitmap (1, 4, 8, 24 or 32 bits a
    // pixel) whose pixels are all in the file, or null.
    bitmapHeader: function(bytes) {
      if (bytes === null || bytes.length < 54 || bytes[0] !== 0x42 || bytes[1] !== 0x4d) return null;
      var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
      var header = {
        pixels: view.getUint32(10, true),
        headerSize: view.getUint32(14, true),
        width: view.getInt32(18, true),
        height: Math.abs(view.getInt32(22, true)),
        bottomUp: view.getInt32(22, true) > 0,
        depth: view.getUint16(28, true),
        used: view.getUint32(46, true),
      };
      header.stride = Math.floor((header.width * header.depth + 31) / 32) * 4;
      if (header.headerSize < 40 || header.width <= 0 || header.height === 0 || view.getUint32(30, true) !== 0 ||
          [1, 4, 8, 24, 32].indexOf(header.depth) < 0 ||
          header.pixels + header.stride * header.height > bytes.length) {
        return null;
      }
      return header;
    },

    // A bitmap file's pixels as ImageData, or null.
    decodeBitmap: function(bytes) {
      var header = Rillo.bitmapHeader(bytes);
      if (header === null) return null;
      var width = header.width, height = header.height, depth = header.depth;
      var palette = [];
      for (var p = 0, at = 14 + header.headerSize; depth <= 8 && p < (header.used || 1 << depth) &&
           at + 3 < bytes.length; p++, at += 4) {
        palette.push(0xff000000 | (bytes[at] << 16) | (bytes[at + 1] << 8) | bytes[at + 2]);
      }
      var image = new ImageData(width, height);
      // Opaque pixels written whole, red in the lowest byte (the page's
      // memory is little-endian).
      var words = new Uint32Array(image.data.buffer);
      for (var y = 0; y < height; y++) {
        var row = header.pixels + header.stride * (header.bottomUp ? height - 1 - y : y);
        var w = y * width;
        if (depth >= 24) {
          Rillo.colourRow(bytes, row, depth / 8, words, w, width);
          continue;
        }
        for (var x = 0; x < width; x++, w++) {
          var bit = x * depth;
          var index = (bytes[row + (bit >> 3)] >> (8 - depth - (bit & 7))) & ((1 << depth) - 1);
          words[w] = palette[index] === undefined ? 0xff000000 : palette[index];
        }
      }
      return image;
    },

    // One row of a 24- or 32-bit bitmap.
    colourRow: function(bytes, from, step, words, to, width) {
      for (var end = to + width; to < end; to++, from += step)
        words[to] = 0xff000000 | (bytes[from] << 16) | (bytes[from + 1] << 8) | bytes[from + 2];
    },

    // A picture read from its file, scaled to width by height at loading
    // (nearest pixel, as the system's loader scales); 0 keeps the file's size.
    loadPicture: function(path, width, height) {
      return Rillo.fromPicture(path, width + 'x' + height, function(bytes) {
        var image = Rillo.decodeBitmap(bytes);
        if (image === null) return null;
        if ((width === 0 || width === image.width) && (height === 0 || height === image.height)) return image;
        var original = new OffscreenCanvas(image.width, image.height);
        original.getContext('2d').putImageData(image, 0, 0);
        var scaled = new OffscreenCanvas(width || image.width, height || image.height);
        var context = scaled.getContext('2d');
        context.imageSmoothingEnabled = false;
        context.drawImage(original, 0, 0, scaled.width, scaled.height);
        return context.getImageData(0, 0, scaled.width, scaled.height);
      });
    },

    // The CSS font for a font request: the named face first, then a face with
    // the same measures where the system lacks it.
    cssFont: function(face, height, weight, italic) {
      var families;
      if (face === null) {
        families = '"Liberation Sans", Arial, sans-serif';
        weight = 700;
        height = 16;
      } else if (/times new roman/i.test(face)) {
        families = '"Times New Roman", "Liberation Serif", Tinos, serif';
      } else {
        // A face the system does not have is replaced by its sans-serif face.
        families = JSON.stringify(face) + ', Arial, "Liberation Sans", Arimo, sans-serif';
      }
      // A positive height is the character cell's, a negative one the
      // characters' own; a cell holds about 1.11 of the characters' size.
      var size = height < 0 ? -height : height === 0 ? 16 : height / 1.11;
      return (italic ? 'italic ' : '') + (weight > 0 ? Math.min(Math.max(weight, 100), 900) : 400) +
             ' ' + size.toFixed(2) + 'px ' + families;
    },

    // The length of a wave file in seconds from its header, 0 when unknown.
    waveSeconds: function(bytes) {
      if (bytes === null || bytes.length < 12) return 0;
      var view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
      var rate = 0;
      for (var at = 12; at + 8 <= bytes.length;) {
        var tag = String.fromCharCode(bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]);
        var size = view.getUint32(at + 4, true);
        if (tag === 'fmt ' && at + 16 <= bytes.length) rate = view.getUint32(at + 16, true);
        if (tag === 'data') return rate > 0 ? Math.min(size, bytes.length - at - 8) / rate : 0;
        at += 8 + size + (size & 1);
      }
      return 0;
    },

    // Starts a sound, cutting off the one playing. Resolves when it has
    // played to its end, and never later than its own length after the start
    // where the browser cannot play it.
    playSound: function(path) {
      var turn = ++Rillo.soundTurn;
      if (Rillo.playing !== null) {
        try { Rillo.playing.stop(); } catch (e) { /* already ended */ }
        Rillo.playing = null;
      }
      var bytes = Rillo.readData(path);
      if (bytes === null) return Promise.resolve();
      var lengthMs = Rillo.waveSeconds(bytes) * 1000;
      var timeUp = new Promise(function(resolve) { setTimeout(resolve, lengthMs); });
      var audio = Rillo.audio;
      if (audio === null || audio.state !== 'running') return timeUp;
      var ended = audio.decodeAudioData(bytes.slice().buffer).then(function(buffer) {
        if (turn !== Rillo.soundTurn) return;
        var source = audio.createBufferSource();
        source.buffer = buffer;
        source.connect(audio.destination);
        Rillo.playing = source;
        return new Promise(function(resolve) {
          source.onended = function() {
            if (Rillo.playing === source) Rillo.playing = null;
            resolve();
          };
          source.start();
        });
      }, function() { return timeUp; });
      return ended;
    },

    // Sound may start only after the player's first press on the page.
    allowSound: function() {
      try {
        if (Rillo.audio === null) Rillo.audio = new AudioContext();
        if (Rillo.audio.state === 'suspended') Rillo.audio.resume();
      } catch (e) {
        Rillo.audio = null;  // no sound on this browser: the game goes on
      }
    },

    press: function(event) {
      if (Rillo.ended || (event.pointerType === 'mouse' && event.button !== 0)) return;
      event.preventDefault();
      Rillo.allowSound();
      // The canvas may be shown smaller than the game's 800 by 600.
      var box = Rillo.canvas.getBoundingClientRect();
      var x = Math.floor((event.clientX - box.left) * Rillo.canvas.width / box.width);
      var y = Math.floor((event.clientY - box.top) * Rillo.canvas.height / box.height);
      x = Math.min(Math.max(x, 0), Rillo.canvas.width - 1);
      y = Math.min(Math.max(y, 0), Rillo.canvas.height - 1);
      var last = Rillo.lastPress;
      if (last !== null && event.timeStamp - last.time <= Rillo.doubleClickMs &&
          Math.abs(x - last.x) <= Rillo.doubleClickDistance && Math.abs(y - last.y) <= Rillo.doubleClickDistance) {
        // KEPT: the second press of a double click is dropped, as on Windows.
        Rillo.lastPress = null;
        return;
      }
      Rillo.lastPress = {time: event.timeStamp, x: x, y: y};
      Rillo.queuePress(x, y);
    },

    // A press at the game's (x, y), from the canvas or from one of the
    // page's controls (web/rillo_access.js).
    queuePress: function(x, y) {
      // Only a runtime that has started takes presses.
      if (Rillo.ended || !Module['calledRun']) return;
      Rillo.allowSound();
      Rillo.queue.push({kind: Rillo.kinds.press, x: x, y: y});
      Rillo.wake();
    },
  },

  rillo_page_start__deps: ['$Rillo'],
  rillo_page_start: function(press, paint, closed) {
    Rillo.kinds = {press: press, paint: paint, closed: closed};
    Rillo.canvas = document.getElementById('screen');
    Rillo.context = Rillo.canvas.getContext('2d', {willReadFrequently: true});
    Rillo.canvas.addEventListener('pointerdown', Rillo.press);
    Rillo.canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
    // A window that changes its size is painted afresh, as on Windows.
    window.addEventListener('resize', function() {
      Rillo.paintWanted = true;
      Rillo.eraseWanted = true;
      Rillo.wake();
    });
    Module['memoryBytes'] = function() { return HEAPU8.length; };
    // A page kept for the browser's Back and Forward is not closed: it comes
    // back as it was and plays on.
    window.addEventListener('pagehide', function(event) {
      if (event.persisted) return;
      Rillo.queue.push({kind: Rillo.kinds.closed, x: 0, y: 0});
      Rillo.wake();
    });
  },

  rillo_next_event__deps: ['$Rillo'],
  rillo_next_event: function(x, y) {
    return Asyncify.handleAsync(async function() {
      for (;;) {
        // Presses and the page's end come before a paint, as on Windows.
        // They wait until the page has unpacked all of the game's data (the
        // intro on view needs only its own picture).
        if (Rillo.queue.length > 0 && Module['dataReady']) await Module['dataReady'];
        if (Rillo.queue.length > 0) {
          var event = Rillo.queue.shift();
          HEAP32[x >> 2] = event.x;
          HEAP32[y >> 2] = event.y;
          return event.kind;
        }
        if (Rillo.paintWanted) return Rillo.kinds.paint;
        await new Promise(function(resolve) { Rillo.waiter = resolve; });
      }
    });
  },

  rillo_request_paint__deps: ['$Rillo'],
  rillo_request_paint: function(erase) {
    Rillo.paintWanted = true;
    if (erase) Rillo.eraseWanted = true;
    Rillo.wake();
  },

  rillo_begin_paint__deps: ['$Rillo'],
  rillo_begin_paint: function() {
    Rillo.paintStarted = performance.now();
    if (Rillo.eraseWanted) {
      Rillo.context.fillStyle = Rillo.background;
      Rillo.context.fillRect(0, 0, Rillo.canvas.width, Rillo.canvas.height);
    }
    Rillo.paintWanted = false;
    Rillo.eraseWanted = false;
  },

  // How long the last paints took, for tools/web_performance.sh.
  rillo_end_paint__deps: ['$Rillo'],
  rillo_end_paint: function() {
    var times = Module['paintTimes'] = Module['paintTimes'] || [];
    times.push(performance.now() - Rillo.paintStarted);
    if (times.length > 50) times.shift();
  },

  rillo_copy_picture__deps: ['$Rillo'],
  rillo_copy_picture: function(path, width, height, x, y, copyWidth, copyHeight) {
    var image = Rillo.loadPicture(UTF8ToString(path), width, height);
    if (image === null) return 0;
    // Only the picture's own pixels are copied; beyond them the window keeps
    // what it showed.
    Rillo.context.putImageData(image, x, y, 0, 0, Math.min(copyWidth, image.width),
                               Math.min(copyHeight, image.height));
    return 1;
  },

  rillo_picture_size__deps: ['$Rillo'],
  rillo_picture_size: function(path, width, height) {
    var header = Rillo.fromPicture(UTF8ToString(path), 'header', Rillo.bitmapHeader);
    if (header === null) return 0;
    HEAP32[width >> 2] = header.width;
    HEAP32[height >> 2] = header.height;
    return 1;
  },

  // A filled round dot without smoothing, as the system draws it: every pixel
  // whose distance from (x, y) is at most half the diameter.
  rillo_draw_dot__deps: ['$Rillo'],
  rillo_draw_dot: function(x, y, diameter, red, green, blue) {
    var reach = Math.ceil(diameter / 2);
    var side = 2 * reach + 1;
    var area = Rillo.context.getImageData(x - reach, y - reach, side, side);
    var limit = (diameter / 2) * (diameter / 2);
    for (var dy = -reach; dy <= reach; dy++) {
      for (var dx = -reach; dx <= reach; dx++) {
        if (dx * dx + dy * dy > limit) continue;
        var o = ((dy + reach) * side + dx + reach) * 4;
        area.data[o] = red;
        area.data[o + 1] = green;
        area.data[o + 2] = blue;
        area.data[o + 3] = 255;
      }
    }
    Rillo.context.putImageData(area, x - reach, y - reach);
  },

  rillo_write_text__deps: ['$Rillo'],
  rillo_write_text: function(x, y, text, length, face, height, width, weight, italic, underline,
                             strikeOut, red, green, blue, transparent) {
    var context = Rillo.context;
    var words = Rillo.ansiText(text, length);
    context.save();
    context.font = Rillo.cssFont(face ? UTF8ToString(face) : null, height, weight, italic);
    context.textBaseline = 'alphabetic';
    var measures = context.measureText('Mg');
    var ascent = measures.fontBoundingBoxAscent;
    var cell = ascent + measures.fontBoundingBoxDescent;
    // A width asks for the characters' average width: the font is stretched
    // to it.
    var stretch = 1;
    if (width > 0) {
      var alphabet = 'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ';
      stretch = width / (context.measureText(alphabet).width / alphabet.length);
    }
    var textWidth = context.measureText(words).width * stretch;
    if (!transparent) {
      context.fillStyle = 'rgb(255, 255, 255)';
      context.fillRect(x, y, textWidth, cell);
    }
    context.fillStyle = 'rgb(' + red + ', ' + green + ', ' + blue + ')';
    context.translate(x, y + ascent);
    context.scale(stretch, 1);
    context.fillText(words, 0, 0);
    context.restore();
    var lineHeight = Math.max(1, Math.round(cell / 16));
    if (underline) context.fillRect(x, y + ascent + lineHeight, textWidth, lineHeight);
    if (strikeOut) context.fillRect(x, y + ascent * 0.7, textWidth, lineHeight);
  },

  rillo_start_sound__deps: ['$Rillo'],
  rillo_start_sound: function(path) {
    Rillo.playSound(UTF8ToString(path));
  },

  rillo_play_to_end__deps: ['$Rillo'],
  rillo_play_to_end: function(path) {
    return Asyncify.handleAsync(function() { return Rillo.playSound(UTF8ToString(path)); });
  },

  rillo_load_saved__deps: ['$Rillo'],
  rillo_load_saved: function(folder) {
    var path = UTF8ToString(folder);
    return Asyncify.handleAsync(function() {
      return new Promise(function(resolve) {
        try {
          FS.mount(IDBFS, {}, path);
        } catch (e) {
          resolve(0);
          return;
        }
        FS.syncfs(true, function(error) { resolve(error ? 0 : 1); });
      }).then(function(loaded) {
        // Where the browser refuses its storage the page says so.
        if (!loaded && Module['onStorageRefused']) Module['onStorageRefused']();
        return loaded;
      });
    });
  },

  rillo_save_saved__deps: ['$Rillo'],
  rillo_save_saved: function() {
    return Asyncify.handleAsync(function() {
      return new Promise(function(resolve) {
        FS.syncfs(false, function(error) { resolve(error ? 0 : 1); });
      });
    });
  },

  // Every page of this site in the browser shares the lock (where the
  // browser has the Web Locks service; without it the page's own lock is the
  // only one). Once taken, the newest table is loaded from the browser's
  // storage, so a win in another page is not lost.
  rillo_take_lock__deps: ['$Rillo'],
  rillo_take_lock: function(name) {
    var lockName = UTF8ToString(name);
    return Asyncify.handleAsync(async function() {
      // A lock given back a moment ago is free once the browser has it back.
      await Promise.all(Rillo.releasing);
      var token = ++Rillo.lockCount;
      var entry = {release: null, done: Promise.resolve()};
      if (!navigator.locks) {
        if (Rillo.heldNames[lockName]) return 0;
        Rillo.heldNames[lockName] = true;
        entry.release = function() { delete Rillo.heldNames[lockName]; };
      } else {
        var granted = await new Promise(function(resolve) {
          entry.done = navigator.locks.request(lockName, {ifAvailable: true}, function(lock) {
            if (lock === null) {
              resolve(false);
              return undefined;
            }
            return new Promise(function(release) {
              entry.release = release;
              resolve(true);
            });
          });
        });
        if (!granted) return 0;
      }
      Rillo.locks[token] = entry;
      await new Promise(function(resolve) { FS.syncfs(true, function() { resolve(); }); });
      return token;
    });
  },

  rillo_release_lock__deps: ['$Rillo'],
  rillo_release_lock: function(token) {
    var entry = Rillo.locks[token];
    delete Rillo.locks[token];
    if (!entry) return;
    entry.release();
    var released = entry.done.then(function() {}, function() {});
    Rillo.releasing.push(released);
    released.then(function() { Rillo.releasing.splice(Rillo.releasing.indexOf(released), 1); });
  },

  rillo_ended__deps: ['$Rillo'],
  rillo_ended: function() {
    Rillo.ended = true;
    Rillo.queue.length = 0;
    document.body.classList.add('ended');
    document.getElementById('controls').replaceChildren();
    document.getElementById('status').hidden = false;
    document.getElementById('ended-text').textContent = RilloTexts.PageEndedText;
    document.getElementById('restart').focus();
  },
};

mergeInto(LibraryManager.library, RilloPageLibrary);
