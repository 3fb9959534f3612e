// The page's window: the controls' handlers, the list written by a worker a
// piece at a time, the runtime error report and the end. Every number, rule
// and message comes from the core (partitionen_core.js): the steps and the
// paste rules from an instance here, the lists from one in the worker. The
// window shows at once; the core loads behind it, and what is clicked before
// it is ready is handled when it is.
'use strict';
(() => {
  const $ = (id) => document.getElementById(id);
  const form = $('Form1');
  const list = $('Text3');
  const notice = $('lblNotice');
  const progress = $('prgList');
  const announcer = $('announcer');
  const boxes = { n: $('Text1'), k: $('Text2'), m: $('Text4') };
  const exact = $('chkExact');
  // Lines of the list a piece of pasted text is laid out in at a time, as
  // the lists come: the browser's own editing would lay out the whole list
  // anew for every line and stall for minutes.
  const kLinesPerListBlock = 1000;
  // A list that takes longer than this shows how far it has come.
  const kProgressAfter = 500;

  // Without WebAssembly or workers the page says what it needs, rather than
  // stay a window that does nothing.
  const needs = () => {
    form.hidden = true;
    $('needs').hidden = false;
  };
  if (typeof WebAssembly !== 'object' || typeof Worker !== 'function') {
    needs();
    return;
  }

  let core = null;
  let worker = null;
  let ended = false;
  // The list being written: whether its first piece is still to come, and
  // since when it runs.
  let running = false;
  let awaitingFirstPiece = false;
  let progressTimer = 0;
  let firstLine = '';
  let linesAsked = 0;
  // Clicks on a calculation button or "X" during a list, with the box texts
  // as they stood at the click; handled in order after the list.
  const queue = [];
  // What was clicked before the core was ready, in order.
  const beforeReady = [];
  const whenReady = (action) => (core ? action() : beforeReady.push(action));

  const say = (text) => {
    // A new text node each time, so that the same words are said again.
    announcer.replaceChildren(document.createTextNode(text));
  };

  const startWorker = (source) => {
    worker = new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })));
    worker.onmessage = ({ data }) => {
      if (data.done) {
        listEnded(data);
      } else if (data.counting !== undefined) {
        showCounting(data.counting);
      } else {
        showPiece(data);
      }
    };
    // The worker died (its memory ran out): as a failed list.
    worker.onerror = (event) => {
      event.preventDefault();
      listEnded(core.outOfMemory());
    };
  };

  const showProgress = (written, asked) => {
    const text = core.listProgress(written, asked);
    progress.querySelector('.bar').style.width = `${asked > 0 ? (100 * written) / asked : 0}%`;
    progress.querySelector('.text').textContent = text;
    progress.setAttribute('aria-valuenow', String(asked > 0 ? Math.round((100 * written) / asked) : 0));
    progress.setAttribute('aria-valuetext', text);
  };

  const showCounting = (done) => {
    const text = core.countingProgress(done);
    progress.querySelector('.bar').style.width = `${100 * done}%`;
    progress.querySelector('.text').textContent = text;
    progress.setAttribute('aria-valuenow', String(Math.floor(100 * done)));
    progress.setAttribute('aria-valuetext', text);
  };

  const showPiece = ({ piece, written, asked }) => {
    if (ended) {
      return;
    }
    if (awaitingFirstPiece) {
      awaitingFirstPiece = false;
      list.replaceChildren();
      list.scrollTop = 0;
      firstLine = piece.split('\n', 2)[1] ?? '';
      // On a phone the list stands below the buttons: bring its top into view.
      const top = list.getBoundingClientRect().top;
      if (top > innerHeight - 120 || top < 0) {
        list.scrollIntoView({ block: 'start' });
      }
    }
    linesAsked = asked;
    const block = document.createElement('div');
    block.textContent = piece;
    list.append(block);
    showProgress(written, asked);
  };

  const setBusy = (busy) => {
    form.classList.toggle('busy', busy);
    list.toggleAttribute('aria-busy', busy);
    list.contentEditable = busy || ended ? 'false' : 'plaintext-only';
    if (!busy) {
      clearTimeout(progressTimer);
      progress.hidden = true;
    }
  };

  const startList = ({ calculation, n, k, m, exactly }) => {
    running = true;
    awaitingFirstPiece = true;
    setBusy(true);
    showProgress(0, 0);
    progressTimer = setTimeout(() => (progress.hidden = !running), kProgressAfter);
    worker.postMessage({ calculation, n, k, m, exact: exactly });
  };

  const listEnded = ({ error, message, refused }) => {
    if (ended) {
      return;
    }
    running = false;
    setBusy(false);
    if (error) {
      report(error, message);
      return;
    }
    if (refused) {
      // An exact list past its bound: nothing written, the old list stays.
      notify(exact, refused);
    } else {
      clearNotice(exact);
      say(core.listReady(linesAsked, firstLine));
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
    whenReady(() => {
      if (ended) {
        return;
      }
      if (running) {
        queue.push(action);
      } else {
        act(action);
      }
    });
  };
  const calculation = (number) => () =>
    click({ calculation: number, n: boxes.n.value, k: boxes.k.value, m: boxes.m.value, exactly: exact.checked });

  // A click on a step button: its box's new text from the core's step table.
  const stepButton = (button) => {
    const entry = core.stepButtons().find((candidate) => candidate.button === button);
    if (!entry || ended) {
      return;
    }
    const box = $(entry.box);
    const { error, message, text } = core.step(button, box.value);
    if (error) {
      report(error, message);
      return;
    }
    box.value = text;
    clearNotice(box);
    say(core.stepSaid(box.getAttribute('aria-label'), text));
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
  // still readable and copyable, every other control disabled.
  const end = () => {
    ended = true;
    queue.length = 0;
    beforeReady.length = 0;
    worker?.terminate();
    running = false;
    setBusy(false);
    for (const control of form.querySelectorAll('button, input')) {
      control.disabled = true;
    }
    form.classList.add('ended');
    list.setAttribute('aria-readonly', 'true');
    $('ended').hidden = false;
    $('endedText').focus();
  };

  // The notice line: why a paste or drop was refused, said at once and tied
  // to its box; it stands until that box changes. Each box takes away only
  // its own notice, and the latest one standing shows.
  const standing = [];
  const showNotice = () => {
    const latest = standing.at(-1);
    notice.textContent = latest?.text ?? '';
    for (const box of [...Object.values(boxes), list, exact]) {
      if (latest?.box === box) {
        box.setAttribute('aria-describedby', notice.id);
      } else {
        box.removeAttribute('aria-describedby');
      }
    }
  };
  const notify = (box, text) => {
    clearNotice(box, false);
    standing.push({ box, text });
    showNotice();
  };
  const clearNotice = (box, show = true) => {
    const at = standing.findIndex((entry) => entry.box === box);
    if (at >= 0) {
      standing.splice(at, 1);
      if (show) {
        showNotice();
      }
    }
  };
  const pastedText = (event) => (event.clipboardData ?? event.dataTransfer)?.getData('text/plain') ?? '';

  // A paste or drop that would make a box longer than it takes is refused
  // whole, rather than cut.
  const guardLength = (box) => {
    const refuse = (event) => {
      if (!core) {
        return;
      }
      const refused = core.refusedBoxPaste(box.value.length, box.selectionEnd - box.selectionStart,
        pastedText(event).length);
      if (refused) {
        event.preventDefault();
        notify(box, refused);
      }
    };
    box.addEventListener('paste', refuse);
    box.addEventListener('drop', refuse);
    box.addEventListener('input', () => clearNotice(box));
  };

  // Text pasted or dropped into the list goes in as pieces of at most
  // kLinesPerListBlock lines, as the lists do, or is refused whole by the
  // core's rule for the list.
  const pieces = (text) => {
    const result = [];
    for (let start = 0; start < text.length || result.length === 0;) {
      let end = start;
      for (let lines = 0; lines < kLinesPerListBlock && end < text.length; ++lines) {
        const lineFeed = text.indexOf('\n', end);
        end = lineFeed < 0 ? text.length : lineFeed + 1;
      }
      result.push(text.slice(start, end));
      start = end;
    }
    return result;
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
  // Where text put in place of `range` goes: the characters of its line
  // before and after it, and the list's length without it, a line break
  // counted twice, as CR LF.
  const placeOf = (range) => {
    const before = document.createRange();
    before.setStart(list, 0);
    before.setEnd(range.startContainer, range.startOffset);
    const after = document.createRange();
    after.setStart(range.endContainer, range.endOffset);
    after.setEnd(list, list.childNodes.length);
    const textBefore = before.toString();
    const textAfter = after.toString();
    const withCrLf = (text) => text.length + (text.match(/\n/g)?.length ?? 0);
    const lineAfterEnd = textAfter.indexOf('\n');
    return {
      lineBefore: textBefore.length - 1 - textBefore.lastIndexOf('\n'),
      lineAfter: lineAfterEnd < 0 ? textAfter.length : lineAfterEnd,
      listLength: withCrLf(textBefore) + withCrLf(textAfter),
    };
  };
  const pasteIntoList = (event) => {
    const selection = getSelection();
    const range = event.type === 'drop' ? dropRange(event) : selection.rangeCount > 0 ? selection.getRangeAt(0) : null;
    if (!core || !list.isContentEditable || range === null || !list.contains(range.commonAncestorContainer)) {
      return;
    }
    const { text, refused } = core.listPaste(pastedText(event), placeOf(range));
    if (refused) {
      event.preventDefault();
      notify(list, refused);
      return;
    }
    clearNotice(list);
    if (text.includes('\n') || text.length >= kLinesPerListBlock) {
      event.preventDefault();
      insertIntoList(range, text);
    }
    // One short line: the browser's own editing, which can undo it.
  };

  const wired = new Set(['Command1', 'Command2', 'cmdClr', 'Command11']);
  const wire = () => {
    const on = (id, handler) => $(id).addEventListener('click', handler);
    on('Command1', calculation(1));
    on('Command2', calculation(2));
    on('cmdClr', () => click({}));
    on('Command11', end);
    on('restart', () => location.reload());
    Object.values(boxes).forEach(guardLength);
    list.addEventListener('paste', pasteIntoList);
    list.addEventListener('drop', pasteIntoList);
    list.addEventListener('input', () => clearNotice(list));
    // The notice that an exact list passes its bound stands until what it
    // concerns changes.
    for (const control of [boxes.n, boxes.m, exact]) {
      control.addEventListener(control === exact ? 'change' : 'input', () => clearNotice(exact));
    }
    // The step buttons are the core's; one clicked before it is ready is
    // handled when it is.
    form.addEventListener('click', (event) => {
      const button = event.target.closest?.('button');
      if (button && !wired.has(button.id)) {
        whenReady(() => stepButton(button.id));
      }
    });
  };

  // With the user's own text spacing or a larger font, a text may not fit
  // its place in the window's layout: the page then takes its one-column
  // layout, which makes room for any text, at any width.
  const root = document.documentElement;
  const cut = () => [...form.querySelectorAll('.label, button, .check label, #title')]
    .some((control) => control.offsetParent !== null &&
      (control.scrollWidth > control.clientWidth + 1 || control.scrollHeight > control.clientHeight + 1));
  let fitting = false;
  const fit = () => {
    if (fitting) {
      return;
    }
    fitting = true;
    root.classList.remove('spaced');
    if (innerWidth >= 800 && cut()) {
      root.classList.add('spaced');
    }
    fitting = false;
  };
  addEventListener('resize', fit);
  document.fonts?.ready.then(fit);
  new MutationObserver(fit).observe(document.head, { childList: true, subtree: true, characterData: true });
  new MutationObserver((changes) => changes.some(({ target }) => !progress.contains(target)) && fit())
    .observe(root, { attributes: true, attributeFilter: ['style'], subtree: true });

  wire();
  fit();
  boxes.n.focus();
  boxes.n.setSelectionRange(boxes.n.value.length, boxes.n.value.length);

  // The core, once the window stands: for the steps and the paste rules here,
  // and in the worker for the lists. The single page carries it; the site
  // has it in a file of its own, so that the window comes first.
  const coreText = () => {
    const holder = $('core-source');
    return holder.dataset.src
      ? fetch(holder.dataset.src).then((response) => (response.ok ? response.text() : Promise.reject()))
      : Promise.resolve(holder.textContent);
  };
  const loadCore = () => coreText().then((text) => {
    const script = document.createElement('script');
    script.src = URL.createObjectURL(new Blob([text], { type: 'text/javascript' }));
    script.onerror = needs;
    script.onload = () =>
      PartitionCore({ takePiece: () => {} })
        .then((instance) => {
          core = instance;
          for (const box of Object.values(boxes)) {
            box.maxLength = core.longestBoxText();
          }
          startWorker([text, $('worker-source').textContent].join('\n'));
          for (const action of beforeReady.splice(0)) {
            action();
          }
        })
        .catch(needs);
    document.head.append(script);
  }, needs);
  requestAnimationFrame(() => setTimeout(loadCore, 0));
  if ('serviceWorker' in navigator && document.querySelector('link[rel=manifest]') &&
      location.protocol.startsWith('http')) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
})();
