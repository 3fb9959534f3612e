// The page's core against the program's: every list, partial list and runtime
// error of the WebAssembly module must be the native command line's, byte for
// byte (both end lines with LF), and its steps the window's.
//   node core_test.mjs <partitionen_core.js> <native partitionen>
import { spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import assert from 'node:assert/strict';
import test from 'node:test';

const [corePath, nativeProgram] = process.argv.slice(2);
const PartitionCore = createRequire(import.meta.url)(corePath);
let pieces = [];
const core = await PartitionCore({ takePiece: (piece) => pieces.push(piece) });

const errorText = ({ error, message }) => (error ? `Laufzeitfehler '${error}': ${message}` : '');

function pageList(calculation, n, k, m, exact = false) {
  pieces = [];
  const error = errorText(core.writeList(calculation, n, k, m, exact));
  return { list: pieces.join(''), error, pieces: pieces.length };
}

function nativeList(calculation, n, k, m, exact = false) {
  const result = spawnSync(nativeProgram,
    [`--berechnung=${calculation}`, `--summe=${n}`, `--bis=${k}`, `--anzahl=${m}`, ...(exact ? ['-g'] : [])],
    { encoding: 'utf8', maxBuffer: 1 << 30 });
  assert.ok(result.status === 0 || result.status === 1, `native program: ${result.stderr}`);
  return { list: result.stdout, error: result.stderr.trim() };
}

// Boundaries first: the number text forms, every error, the counters' edges.
const cases = [
  ['empty texts', 1, '', '', ''],
  ['the window at start', 2, '0', '4', '15'],
  ['k = 0', 1, '3', '0', '4'],
  ['negative n', 2, '-5', '3', '8'],
  ['negative k', 1, '0', '-2', '3'],
  ['decimal comma ends the number', 2, ' 12,5', '4', '3'],
  ['blanks inside', 1, '1 0', ' 1 2 ', '2'],
  ['halves to even', 2, '2.5', '3.5', '1.5'],
  ['hexadecimal', 1, '&H10', '&h1F', '&O7'],
  ['hexadecimal minus one', 2, '&HFFFFFFFF', '5', '2'],
  ['exponent k', 2, '0', '1E3', '2'],
  ['tiny k in exponent form', 2, '1e-20', '.000000000015', '1'],
  ['huge k', 1, '1', '123456789012345678', '1'],
  ['fractional k', 2, '0', '2.75', '3'],
  ['count overflows (1)', 1, '224', '300', '5'],
  ['count overflows (2)', 2, '119', '200', '5'],
  ['n + m beyond a Long', 1, '2147483640', '3', '20'],
  ['n beyond a Long', 2, '3E9', '3', '1'],
  ['n beyond the double range', 1, '1E400', '3', '1'],
  ['k beyond the double range', 2, '0', '-1E309', '1'],
  ['hexadecimal beyond 32 bits', 1, '&H100000000', '3', '1'],
  ['bracket beyond the double range', 2, '0', '1E200', '1'],
  ['a thousand lines and more', 2, '0', '40', '2500'],
];

test('the page lists what the program lists', () => {
  for (const [name, calculation, n, k, m] of cases) {
    const page = pageList(calculation, n, k, m);
    const native = nativeList(calculation, n, k, m);
    assert.equal(page.error, native.error, `${name}: error`);
    assert.equal(page.list, native.list, `${name}: list`);
  }
});

test('with exact counts the page lists what the program lists with -g', () => {
  const exactCases = [
    ['p(200) and beyond a Long', 2, '195', '200', '10'],
    ['distinct counts past a Long', 1, '220', '300', '10'],
    ['all three ways', 2, '0', '30', '3000'],
    ['k from the rows to the corrected way', 1, '2990', '700', '10'],
    ['negative k still fails', 2, '0', '-1', '2'],
    ['n + m beyond a Long', 1, '2147483647', '3', '1'],
  ];
  for (const [name, calculation, n, k, m] of exactCases) {
    const page = pageList(calculation, n, k, m, true);
    const native = nativeList(calculation, n, k, m, true);
    assert.equal(page.error, native.error, `${name}: error`);
    assert.equal(page.list, native.list, `${name}: list`);
  }
  const refused = core.writeList(2, '100000', '5', '100001', true);
  assert.deepEqual([refused.error, refused.refused],
    [0, 'Nicht berechnet: mit genauen großen Anzahlen reicht eine Liste bis n + m = 200.000, verlangt ist n + m = 200.001.']);
});

test('a list passing 64 MiB stops with error 14 where the program goes on', () => {
  const page = pageList(2, '1', '2', '3000000');
  assert.equal(page.error, "Laufzeitfehler '14': Nicht genügend Zeichenfolgenspeicher");
  const native = nativeList(2, '1', '2', '3000000');
  assert.equal(native.error, '');
  assert.ok(page.list.length > 60 * 2 ** 20, `${page.list.length} bytes before the error`);
  assert.equal(page.list, native.list.slice(0, page.list.length));
  assert.ok(page.pieces > 1000, 'the list comes in pieces');
});

test('the step buttons read and write the boxes as the window does', () => {
  assert.deepEqual(core.stepButtons().map(({ button, box }) => `${button}:${box}`),
    ['Command3:Text1', 'Command4:Text1', 'Command6:Text1', 'Command5:Text1',
      'Command7:Text2', 'Command8:Text2', 'Command10:Text2', 'Command9:Text2']);
  const steps = [
    ['n +1 from 0', 'Command6', '0', ' 1'],
    ['n -10 below 0', 'Command3', '-1', '-11'],
    ['n +10 from a fraction', 'Command5', '2.5', ' 12.5'],
    ['no number reads as 0', 'Command6', 'abc', ' 1'],
    ['k -10 clamps', 'Command7', '4', '0'],
    ['k -1 to zero keeps the blank', 'Command8', ' 1', ' 0'],
    ['k -1 below zero clamps', 'Command8', ' 0', '0'],
    ['exponent form', 'Command9', '1E15', ' 1.00000000000001E+15'],
    ['hexadecimal', 'Command10', '&HFF', ' 256'],
  ];
  for (const [name, button, text, expected] of steps) {
    const result = core.step(button, text);
    assert.equal(result.error, 0, name);
    assert.equal(result.text, expected, name);
  }
  assert.equal(errorText(core.step('Command6', '1E999')), "Laufzeitfehler '6': Überlauf");
});

test('a paste into the list breaks its lines where the window does and is refused in its words', () => {
  const place = { lineBefore: 0, lineAfter: 0, listLength: 277 };
  assert.deepEqual(core.listPaste('a\r\nb\rc\u2028d\u2029e\u000bf', place), { text: 'a\nb\nc\nd\ne\nf', refused: '' });
  assert.equal(core.listPaste('x'.repeat(9001), { ...place, lineBefore: 1000 }).refused,
    'Nicht eingefügt: eine Zeile von 10.001 Zeichen, eine Zeile der Liste hat höchstens 10.000.');
  assert.equal(core.refusedBoxPaste(3, 3, 1000001),
    'Nicht eingefügt: 1.000.001 Zeichen, ein Feld nimmt höchstens 1.000.000.');
});
