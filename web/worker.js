// Writes the page's lists away from its main thread: the core's pieces go to
// the page as they come, with the lines written and asked for, then one
// message says how the list ended.
'use strict';
const corePromise = PartitionCore({ takePiece: (piece, written, asked) => postMessage({ piece, written, asked }) });

onmessage = async ({ data: { calculation, n, k, m } }) => {
  const core = await corePromise;
  postMessage({ done: true, ...core.writeList(calculation, n, k, m) });
};
