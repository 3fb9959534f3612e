// The core's functions as the page, its worker and the tests call them:
// JavaScript texts in, texts and runtime errors out. Appended to the module
// by emscripten (--post-js), whose older optimizer takes no spread syntax.
function withTexts(texts, use) {
  const addresses = texts.map((text) => {
    const size = Module['lengthBytesUTF8'](text) + 1;
    const address = Module['_malloc'](size);
    Module['stringToUTF8'](text, address, size);
    return address;
  });
  try {
    return use(addresses);
  } finally {
    addresses.forEach((address) => Module['_free'](address));
  }
}

const utf8 = (address) => Module['UTF8ToString'](address);

// { error: the runtime error's number or 0, message: its German message }.
function outcome(error) {
  return { error, message: error ? utf8(Module['_partitionen_error_message']()) : '' };
}

// Writes the list of calculation 1 or 2 for the texts of the n, k and m
// boxes, with exact counts when `exact`, handing its pieces to
// Module.takePiece(piece, linesWritten, linesAsked) and, while exact counts
// are computed, the share done to Module.takeCounting(done); returns how it
// ended: { error, message }, or { error: 0, refused: the sentence } for an
// exact list past its bound, which writes nothing.
Module['writeList'] = (calculation, n, k, m, exact) =>
  withTexts([n, k, m], (addresses) => {
    const error = Module['_partitionen_write_list'](calculation, addresses[0], addresses[1], addresses[2],
      exact ? 1 : 0);
    if (error < 0) {
      return { error: 0, message: '', refused: utf8(Module['_partitionen_error_message']()) };
    }
    return outcome(error);
  });

// The step buttons: [{ button, box }], by control name.
Module['stepButtons'] = () => {
  const buttons = [];
  for (let i = 0; i < Module['_partitionen_step_buttons'](); ++i) {
    buttons.push({ button: utf8(Module['_partitionen_step_button'](i)), box: utf8(Module['_partitionen_step_box'](i)) });
  }
  return buttons;
};

// The text of a step button's box after a click on it: { error, message,
// text }.
Module['step'] = (button, text) =>
  withTexts([button, text], (addresses) => {
    const result = outcome(Module['_partitionen_step'](addresses[0], addresses[1]));
    result.text = result.error ? '' : utf8(Module['_partitionen_text']());
    return result;
  });

// The longest text a box takes.
Module['longestBoxText'] = () => Module['_partitionen_longest_box_text']();

// Why a box refuses a paste, or '' when it takes it.
Module['refusedBoxPaste'] = (length, selected, incoming) =>
  utf8(Module['_partitionen_refused_box_paste'](length, selected, incoming));

// A paste into the list at a place { lineBefore, lineAfter, listLength }:
// { text: the pasted text with every line break made LF, refused: why the
// list does not take it, or '' }.
Module['listPaste'] = (pasted, place) => {
  const address = Module['_malloc'](2 * pasted.length + 2);
  try {
    const start = address >> 1;
    for (let i = 0; i < pasted.length; ++i) {
      Module['HEAPU16'][start + i] = pasted.charCodeAt(i);
    }
    const refused = utf8(Module['_partitionen_refused_list_paste'](address, pasted.length,
      place.lineBefore, place.lineAfter, place.listLength));
    const size = Module['_partitionen_pasted_size']();
    const parts = [];
    for (let at = 0; at < size; at += 8192) {
      parts.push(String.fromCharCode.apply(null, Module['HEAPU16'].subarray(start + at, start + Math.min(size, at + 8192))));
    }
    return { text: parts.join(''), refused };
  } finally {
    Module['_free'](address);
  }
};

// The runtime error of a list that found no memory: { error, message }.
Module['outOfMemory'] = () => outcome(Module['_partitionen_out_of_memory']());

// Lets the engine compile the loops of exact counts for speed ahead of time.
Module['warmUp'] = () => Module['_partitionen_warm_up']();

// The words a screen reader hears when a list of `lines` lines stands, and
// after a step changed the box named `name` to `text`.
Module['listReady'] = (lines, firstLine) => withTexts([firstLine], (addresses) =>
  utf8(Module['_partitionen_list_ready'](lines, addresses[0])));
Module['stepSaid'] = (name, text) => withTexts([name, text], (addresses) =>
  utf8(Module['_partitionen_step_said'](addresses[0], addresses[1])));

// How far a list has come, and how far its exact counts, for the progress bar.
Module['listProgress'] = (written, asked) => utf8(Module['_partitionen_list_progress'](written, asked));
Module['countingProgress'] = (done) => utf8(Module['_partitionen_counting_progress'](done));
