// Writes the page's lists away from its main thread: the core's pieces go to
// the page as they come, then one message says how the list ended.
'use strict';
const corePromise = PartitionCore({ takePiece: (piece) => postMessage({ piece }) });

// A text in the module's memory as UTF-8; freed by the caller.
function inMemory(core, text) {
  const size = core.lengthBytesUTF8(text) + 1;
  const address = core._malloc(size);
  core.stringToUTF8(text, address, size);
  return address;
}

onmessage = async ({ data: { calculation, n, k, m } }) => {
  const core = await corePromise;
  const texts = [n, k, m].map((text) => inMemory(core, text));
  const error = core._partitionen_write_list(calculation, ...texts);
  texts.forEach((address) => core._free(address));
  const message = error ? core.UTF8ToString(core._partitionen_error_message()) : '';
  postMessage({ done: true, error, message });
};
