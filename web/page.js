// The page's window: the controls' handlers, the list written by a worker a
// piece at a time, the runtime error report and the end. Every number comes
// from the core (partitionen_core.js), the steps from an instance here, the
// lists from one in the worker.
'use strict';
(() => {
  const $ = (id) => document.getElementById(id);
  const form = $('Form1');
  const list = $('Text3');
  const boxes = { n: $('Text1'), k: $('Text2'), m: $('Text4') };
  const kOutOfMemoryError = 7;
  const kOutOfMemoryMessage = 'Nicht genügend Speicher';

  const needs = () => {
    form.hidden = true;
    $('needs').hidden = false;
  };
  if (typeof WebAssembly !== 'object' || typeof Worker !== 'function' || typeof PartitionCore !== 'function') {
    needs();
    return;
  }

  let core = null;
  let worker = null;
  let ended = false;
  // The list being written: whether its first piece is still to come.
  let running = false;
  let awaitingFirstPiece = false;
  // Clicks on a calculation button or "X" during a list, with the box texts
  // as they stood at the click; handled in order after the list.
  const queue = [];

  const startWorker = () => {
    const source = [$('core-source').textContent, $('worker-source').textContent].join('\n');
    worker = new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })));
    worker.onmessage = ({ data }) => (data.done ? listEnded(data.error, data.message) : showPiece(data.piece));
    // The worker died (its memory ran out): as a failed list.
    worker.onerror = (event) => {
      event.preventDefault();
      listEnded(kOutOfMemoryError, kOutOfMemoryMessage);
    };
  };

  const showPiece = (piece) => {
    if (ended) {
      return;
    }
    if (awaitingFirstPiece) {
      awaitingFirstPiece = false;
      list.replaceChildren();
      list.scrollTop = 0;
    }
    const block = document.createElement('div');
    block.textContent = piece;
    list.append(block);
  };

  const startList = ({ calculation, n, k, m }) => {
    running = true;
    awaitingFirstPiece = true;
    form.classList.add('busy');
    form.setAttribute('aria-busy', 'true');
    worker.postMessage({ calculation, n, k, m });
  };

  const listEnded = (error, message) => {
    if (ended) {
      return;
    }
    running = false;
    form.classList.remove('busy');
    form.removeAttribute('aria-busy');
    if (error) {
      report(error, message);
      return;
    }
    while (queue.length > 0 && !running) {
      act(queue.shift());
    }
  };

  const act = (click) => {
    if (click.calculation) {
      startList(click);
    } else {
      list.replaceChildren();
    }
  };

  // A click on a calculation button or "X": at once, or after the list.
  const click = (action) => {
    if (ended) {
      return;
    }
    if (running) {
      queue.push(action);
    } else {
      act(action);
    }
  };
  const calculation = (number) => () =>
    click({ calculation: number, n: boxes.n.value, k: boxes.k.value, m: boxes.m.value });

  const step = (box, delta, clampAtZero) => () => {
    if (ended) {
      return;
    }
    const { error, message, text } = core.step(box.value, delta, clampAtZero);
    if (error) {
      report(error, message);
      return;
    }
    box.value = text;
  };

  // The runtime error report: modal; when it is answered the program ends.
  // A second error while it stands (a list that fails behind a failed step)
  // adds nothing.
  const report = (number, message) => {
    queue.length = 0;
    const dialog = $('RuntimeErrorReport');
    if (dialog.open) {
      return;
    }
    $('reportText').textContent = `Laufzeitfehler '${number}':\n\n${message}`;
    dialog.addEventListener('close', () => end(), { once: true });
    dialog.showModal();
  };

  // A page cannot close its tab: it shows that the program has ended, the list
  // still readable and copyable.
  const end = () => {
    ended = true;
    queue.length = 0;
    worker?.terminate();
    running = false;
    form.classList.remove('busy');
    form.removeAttribute('aria-busy');
    for (const control of form.querySelectorAll('button, input')) {
      control.disabled = true;
    }
    list.contentEditable = 'false';
    list.setAttribute('aria-readonly', 'true');
    $('ended').hidden = false;
    $('restart').focus();
  };

  // Notices under a box or the list: what was refused, until the next edit
  // there or for ten seconds.
  const german = new Intl.NumberFormat('de-DE');
  const notices = new Map();
  const notify = (control, text) => {
    const notice = $(`${control.id}Notice`);
    notice.textContent = text;
    clearTimeout(notices.get(notice));
    notices.set(notice, setTimeout(() => (notice.textContent = ''), 10000));
  };
  const clearNotice = (control) => ($(`${control.id}Notice`).textContent = '');
  const pastedText = (event) => (event.clipboardData ?? event.dataTransfer)?.getData('text/plain') ?? '';

  // A paste or drop that would make a box longer than it takes is refused
  // whole, rather than cut.
  const guardLength = (box) => {
    const max = Number(box.dataset.maxLength);
    box.maxLength = max;
    const refuse = (event) => {
      const text = pastedText(event);
      if (box.value.length - (box.selectionEnd - box.selectionStart) + text.length > max) {
        event.preventDefault();
        notify(box, `Nicht eingefügt: ${german.format(text.length)} Zeichen, ein Feld nimmt höchstens ${german.format(max)}.`);
      }
    };
    box.addEventListener('paste', refuse);
    box.addEventListener('drop', refuse);
    box.addEventListener('input', () => clearNotice(box));
  };

  // Text pasted or dropped into the list goes in as pieces of at most
  // kLinesPerPiece lines, as the lists do: the browser's own editing would
  // lay out the whole list anew for every line and stall for minutes. A text
  // that would take the list past its bound, or with a line longer than a
  // box takes, is refused whole.
  const kLinesPerPiece = 1000;
  const kMaxListCharacters = 64 * 1024 * 1024;
  const kMaxLine = Number(boxes.n.dataset.maxLength);
  const listLength = () => {
    let length = 0;
    const walker = document.createTreeWalker(list, NodeFilter.SHOW_TEXT);
    while (walker.nextNode()) {
      length += walker.currentNode.length;
    }
    return length;
  };
  const pieces = (text) => {
    const result = [];
    for (let start = 0; start < text.length || result.length === 0;) {
      let end = start;
      for (let lines = 0; lines < kLinesPerPiece && end < text.length; ++lines) {
        const lineFeed = text.indexOf('\n', end);
        end = lineFeed < 0 ? text.length : lineFeed + 1;
      }
      result.push(text.slice(start, end));
      start = end;
    }
    return result;
  };
  const longestLine = (text) => {
    let longest = 0;
    for (let start = 0; start <= text.length;) {
      const lineFeed = text.indexOf('\n', start);
      const end = lineFeed < 0 ? text.length : lineFeed;
      longest = Math.max(longest, end - start);
      start = end + 1;
    }
    return longest;
  };
  const insertIntoList = (range, text) => {
    range.deleteContents();
    // The piece of the list the text goes into; a new one between pieces.
    let block = range.startContainer;
    while (block !== list && block.parentNode !== list) {
      block = block.parentNode;
    }
    if (block === list) {
      block = document.createElement('div');
      range.insertNode(block);
      range.setStart(block, 0);
    }
    const tail = document.createRange();
    tail.setStart(range.startContainer, range.startOffset);
    tail.setEnd(block, block.childNodes.length);
    const after = tail.extractContents().textContent;
    const parts = pieces(text);
    parts[parts.length - 1] += after;
    block.append(parts[0]);
    block.normalize();
    const added = parts.slice(1).map((part) => Object.assign(document.createElement('div'), { textContent: part }));
    block.after(...added);
    const last = (added.at(-1) ?? block).lastChild;
    getSelection().collapse(last, last.length - after.length);
  };
  const dropRange = (event) => {
    if (document.caretRangeFromPoint) {
      return document.caretRangeFromPoint(event.clientX, event.clientY);
    }
    const position = document.caretPositionFromPoint?.(event.clientX, event.clientY);
    if (!position) {
      return null;
    }
    const range = document.createRange();
    range.setStart(position.offsetNode, position.offset);
    return range;
  };
  const pasteIntoList = (event) => {
    const text = pastedText(event).replace(/\r\n?/g, '\n');
    const selection = getSelection();
    const range = event.type === 'drop' ? dropRange(event) : selection.rangeCount > 0 ? selection.getRangeAt(0) : null;
    if (!list.isContentEditable || range === null || !list.contains(range.commonAncestorContainer) ||
        (!text.includes('\n') && text.length < kLinesPerPiece)) {
      // One short line: the browser's own editing, which can undo it.
      return;
    }
    event.preventDefault();
    const line = longestLine(text);
    if (line > kMaxLine) {
      notify(list, `Nicht eingefügt: eine Zeile von ${german.format(line)} Zeichen, eine Zeile der Liste nimmt höchstens ${german.format(kMaxLine)}.`);
    } else if (listLength() - range.toString().length + text.length > kMaxListCharacters) {
      notify(list, `Nicht eingefügt: ${german.format(text.length)} Zeichen, die Liste nimmt höchstens ${german.format(kMaxListCharacters)}.`);
    } else {
      clearNotice(list);
      insertIntoList(range, text);
    }
  };

  const wire = () => {
    const on = (id, handler) => $(id).addEventListener('click', handler);
    on('Command1', calculation(1));
    on('Command2', calculation(2));
    on('cmdClr', () => click({}));
    on('Command11', end);
    on('Command3', step(boxes.n, -10, false));
    on('Command4', step(boxes.n, -1, false));
    on('Command6', step(boxes.n, 1, false));
    on('Command5', step(boxes.n, 10, false));
    on('Command7', step(boxes.k, -10, true));
    on('Command8', step(boxes.k, -1, true));
    on('Command10', step(boxes.k, 1, false));
    on('Command9', step(boxes.k, 10, false));
    on('restart', () => location.reload());
    Object.values(boxes).forEach(guardLength);
    list.addEventListener('paste', pasteIntoList);
    list.addEventListener('drop', pasteIntoList);
    list.addEventListener('input', () => clearNotice(list));
    // Return presses no button, as in the window: none is the default.
    form.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && event.target instanceof HTMLButtonElement) {
        event.preventDefault();
      }
    });
  };

  // Without the core or a worker (a browser or a server that refuses them)
  // the page says what it needs, rather than stay blank.
  PartitionCore({ takePiece: () => {} })
    .then((instance) => {
      core = instance;
      startWorker();
      wire();
      form.hidden = false;
      boxes.n.focus();
      boxes.n.setSelectionRange(boxes.n.value.length, boxes.n.value.length);
      if ('serviceWorker' in navigator && document.querySelector('link[rel=manifest]') &&
          location.protocol.startsWith('http')) {
        navigator.serviceWorker.register('sw.js').catch(() => {});
      }
    })
    .catch(needs);
})();
