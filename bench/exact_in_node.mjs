// The page's core, WebAssembly in Node.js, on the rows of partition_bench's
// ExactList: the time for the counts and the text of each whole list, after
// the warm-up the page's worker does too.
//   node bench/exact_in_node.mjs <partitionen_core.js>
import { createRequire } from 'node:module';

const [corePath] = process.argv.slice(2);
const PartitionCore = createRequire(import.meta.url)(corePath);
let bytes = 0;
const core = await PartitionCore({ takePiece: (piece) => (bytes += piece.length), takeCounting: () => {} });
core.warmUp();
for (const [last, k] of [[1e4, 100], [1e4, 1e4], [1e5, 1000], [1e5, 1e5]]) {
  for (const [calculation, name] of [[1, 'Distinct'], [2, 'Repeated']]) {
    bytes = 0;
    const start = performance.now();
    const { error } = core.writeList(calculation, '0', String(k), String(last), true);
    const ms = performance.now() - start;
    const tag = (value) => (value === 1e4 ? '1e4' : value === 1e5 ? '1e5' : String(value));
    console.log(`${name}_N${tag(last)}_k${tag(k)} ${ms.toFixed(1)} ms ${(bytes / 1e6).toFixed(1)} MB${error ? ` error ${error}` : ''}`);
  }
}
