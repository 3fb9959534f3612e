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

  const inMemory = (text) => {
    const size = core.lengthBytesUTF8(text) + 1;
    const address = core._malloc(size);
    core.stringToUTF8(text, address, size);
    return address;
  };
  const step = (box, delta, clampAtZero) => () => {
    if (ended) {
      return;
    }
    const text = inMemory(box.value);
    const error = core._partitionen_step(text, delta, clampAtZero ? 1 : 0);
    core._free(text);
    if (error) {
      report(error, core.UTF8ToString(core._partitionen_error_message()));
      return;
    }
    box.value = core.UTF8ToString(core._partitionen_stepped());
  };

  // The runtime error report: modal; when it is answered the program ends.
  const report = (number, message) => {
    queue.length = 0;
    const dialog = $('RuntimeErrorReport');
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

  // A paste or drop that would make a box longer than it takes is refused
  // whole, with a notice under the box, rather than cut.
  const german = new Intl.NumberFormat('de-DE');
  const guardLength = (box) => {
    const max = Number(box.dataset.maxLength);
    box.maxLength = max;
    const notice = $(`${box.id}Notice`);
    let hide = 0;
    const refuse = (event, text) => {
      const kept = box.value.length - (box.selectionEnd - box.selectionStart);
      if (kept + text.length <= max) {
        return;
      }
      event.preventDefault();
      notice.textContent =
        `Nicht eingefügt: ${german.format(text.length)} Zeichen, ein Feld nimmt höchstens ${german.format(max)}.`;
      clearTimeout(hide);
      hide = setTimeout(() => (notice.textContent = ''), 10000);
    };
    box.addEventListener('paste', (event) => refuse(event, event.clipboardData?.getData('text/plain') ?? ''));
    box.addEventListener('drop', (event) => refuse(event, event.dataTransfer?.getData('text/plain') ?? ''));
    box.addEventListener('input', () => (notice.textContent = ''));
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
    // Return presses no button, as in the window: none is the default.
    form.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && event.target instanceof HTMLButtonElement) {
        event.preventDefault();
      }
    });
  };

  PartitionCore({ takePiece: () => {} }).then(
    (instance) => {
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
    },
    needs);
})();
