// The page's modal boxes and the name question, linked into rillo.js with
// --js-library beside rillo_library.js. Each is a <dialog> opened modally:
// the canvas takes no presses while it is open, and the game waits for the
// answer, which comes on the dialog's close event however it was closed.
var RilloBoxesLibrary = {
  $RilloBoxes__deps: ['$Rillo'],
  $RilloBoxes: {
    // An element of a dialog.
    make: function(tag, properties) {
      var element = document.createElement(tag);
      for (var key in properties) element[key] = properties[key];
      return element;
    },

    // A dialog with its caption as its accessible name, an empty body and
    // the buttons [label, value], the first focused; all in a form whose
    // buttons close the dialog with their values.
    frame: function(caption, buttons, className) {
      var id = 'rillo-dialog-' + (++Rillo.nextId);
      var dialog = RilloBoxes.make('dialog', {className: className, id: id});
      dialog.setAttribute('aria-labelledby', id + '-caption');
      var title = RilloBoxes.make('div', {className: 'caption', id: id + '-caption', textContent: caption});
      var body = RilloBoxes.make('div', {className: 'body'});
      var row = RilloBoxes.make('div', {className: 'buttons'});
      buttons.forEach(function(entry, i) {
        row.appendChild(RilloBoxes.make('button', {value: String(entry[1]), textContent: entry[0], autofocus: i === 0}));
      });
      var form = RilloBoxes.make('form', {method: 'dialog'});
      form.append(title, body, row);
      dialog.appendChild(form);
      return {id: id, dialog: dialog, body: body};
    },

    // A modal box: caption as its name, text as its description, the icon and
    // the buttons its style names. Resolves with the answer pressed.
    showBox: function(text, caption, style) {
      var ok = [RilloTexts.BoxOkText, 1], cancel = [RilloTexts.BoxCancelText, 2];
      var yes = [RilloTexts.BoxYesText, 6], no = [RilloTexts.BoxNoText, 7];
      var buttonSets = {0: [ok], 1: [ok, cancel], 3: [yes, no, cancel], 4: [yes, no]};
      var icons = {0x10: ['error', RilloTexts.IconErrorText], 0x20: ['question', RilloTexts.IconQuestionText],
                   0x30: ['warning', RilloTexts.IconWarningText],
                   0x40: ['information', RilloTexts.IconInformationText]};
      var buttons = buttonSets[style & 0x0f] || buttonSets[0];
      var icon = icons[style & 0xf0];
      // Escape answers Cancel where there is one, OK where OK is alone, and
      // nothing in a box of Yes and No.
      var escape = buttons.length === 1 ? 1 : buttons.some(function(b) { return b[1] === 2; }) ? 2 : 0;

      var box = RilloBoxes.frame(caption, buttons, 'box');
      box.dialog.setAttribute('role', 'alertdialog');
      box.dialog.setAttribute('aria-describedby', box.id + '-text');
      if (icon) {
        var picture = RilloBoxes.make('span', {className: 'icon ' + icon[0]});
        picture.setAttribute('role', 'img');
        picture.setAttribute('aria-label', icon[1]);
        box.body.appendChild(picture);
      }
      box.body.appendChild(RilloBoxes.make('p', {id: box.id + '-text', textContent: text}));
      return RilloBoxes.runDialog(box.dialog, function(returned) {
        return parseInt(returned, 10) || escape;
      }, escape === 0);
    },

    // Opens a dialog modally and resolves on its close event, however it
    // closed (a button, Enter, Escape); answer turns its return value into
    // the game's answer.
    runDialog: function(dialog, answer, keepOnEscape) {
      return new Promise(function(resolve) {
        dialog.addEventListener('cancel', function(event) {
          if (keepOnEscape) event.preventDefault();
        });
        dialog.addEventListener('close', function() {
          var result = answer(dialog.returnValue);
          dialog.remove();
          resolve(result);
        });
        document.getElementById('boxes').appendChild(dialog);
        dialog.returnValue = '';
        dialog.showModal();
      });
    },

    // The name question: caption, the prompt as the field's label, a field of
    // at most size - 1 characters, "OK" (Enter) and "Abbrechen" (Escape).
    askName: function(prompt, caption, size) {
      var question = RilloBoxes.frame(caption, [[RilloTexts.NameOkText, 1], [RilloTexts.NameCancelText, 2]],
                                      'box name');
      var field = RilloBoxes.make('input', {id: question.id + '-field', type: 'text', maxLength: size - 1,
                                            autocomplete: 'off', spellcheck: false, autofocus: true});
      question.body.append(RilloBoxes.make('label', {htmlFor: field.id, textContent: prompt}), field);
      return RilloBoxes.runDialog(question.dialog, function(returned) {
        return returned === '1' ? {answer: 1, name: field.value} : {answer: 2, name: ''};
      }, false);
    },
  },

  rillo_show_box__deps: ['$Rillo', '$RilloBoxes'],
  rillo_show_box: function(text, caption, style) {
    return Asyncify.handleAsync(function() {
      return RilloBoxes.showBox(Rillo.ansiText(text), Rillo.ansiText(caption), style >>> 0);
    });
  },

  rillo_ask_name__deps: ['$Rillo', '$RilloBoxes'],
  rillo_ask_name: function(prompt, caption, target, size) {
    return Asyncify.handleAsync(function() {
      return RilloBoxes.askName(Rillo.ansiText(prompt), Rillo.ansiText(caption), size).then(function(result) {
        if (result.answer === 1) {
          var bytes = Rillo.ansiBytes(result.name).slice(0, size - 1);
          for (var i = 0; i < bytes.length; i++) HEAPU8[target + i] = bytes[i];
          HEAPU8[target + bytes.length] = 0;
        }
        return result.answer;
      });
    });
  },
};

mergeInto(LibraryManager.library, RilloBoxesLibrary);
