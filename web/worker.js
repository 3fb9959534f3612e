// Writes the page's lists away from its main thread: the core's pieces go to
// the page as they come, with the lines written and asked for (before them,
// for exact counts, how far their computation is), then one message says how
// the list ended.
'use strict';
const corePromise = PartitionCore({
  takePiece: (piece, written, asked) => postMessage({ piece, written, asked }),
  takeCounting: (counting) => postMessage({ counting }),
});

corePromise.then((core) => core.warmUp());

onmessage = async ({ data: { calculation, n, k, m, exact } }) => {
  const core = await corePromise;
  postMessage({ done: true, ...core.writeList(calculation, n, k, m, exact) });
};
