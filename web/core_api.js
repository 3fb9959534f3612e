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

// { error: the runtime error's number or 0, message: its German message }.
function outcome(error) {
  return { error, message: error ? Module['UTF8ToString'](Module['_partitionen_error_message']()) : '' };
}

// Writes the list of calculation 1 or 2 for the texts of the n, k and m
// boxes, handing its pieces to Module.takePiece; returns how it ended.
Module['writeList'] = (calculation, n, k, m) =>
  withTexts([n, k, m], (addresses) =>
    outcome(Module['_partitionen_write_list'](calculation, addresses[0], addresses[1], addresses[2])));

// The text of a box after a step by `delta`, clamped at zero for the buttons
// that lower k: { error, message, text }.
Module['step'] = (text, delta, clampAtZero) =>
  withTexts([text], (addresses) => {
    const result = outcome(Module['_partitionen_step'](addresses[0], delta, clampAtZero ? 1 : 0));
    result.text = result.error ? '' : Module['UTF8ToString'](Module['_partitionen_stepped']());
    return result;
  });
