// SPDX-License-Identifier: GPL-3.0-or-later
// The JavaScript interface of the WebAssembly build, run with
//   node --test js/test/   (BRIX_NPM sets the package folder, default build-wasm/npm)
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const path = require('path');
const { spawnSync } = require('child_process');

const npm = path.resolve(process.env.BRIX_NPM || path.join(__dirname, '../../build-wasm/npm'));
const Brix = require(npm);

// Resolves with the lines up to and including the first that starts with prefix.
function until(engine, prefix, timeout = 20000) {
  return new Promise((resolve, reject) => {
    const lines = [];
    const timer = setTimeout(() => { engine.removeMessageListener(listener); reject(new Error(`no ${prefix}: ${lines}`)); }, timeout);
    function listener(line) {
      lines.push(line);
      if (line.startsWith(prefix)) { clearTimeout(timer); engine.removeMessageListener(listener); resolve(lines); }
    }
    engine.addMessageListener(listener);
  });
}

test('two engines in one process answer each on its own', async () => {
  const [a, b] = await Promise.all([Brix(), Brix()]);
  const fromA = until(a, 'bestmove');
  const fromB = until(b, '    Perfomance:');
  a.postMessage('position startpos moves e2e4');
  a.postMessage('go depth 3');
  b.postMessage('position startpos');
  b.postMessage('perft 2');
  const [linesA, linesB] = await Promise.all([fromA, fromB]);
  assert.deepStrictEqual(linesA.filter((l) => l.startsWith('info')).map((l) => l.split(' ')[2]), ['1', '2', '3']);
  assert.match(linesA.at(-1), /^bestmove [a-h][1-8][a-h][1-8]$/);
  assert.ok(!linesA.some((l) => l.includes('Total:')), 'perft output reached the other engine');
  assert.strictEqual(linesB.filter((l) => /^[a-h][1-8][a-h][1-8] - 20$/.test(l)).length, 20);
  assert.ok(!linesB.some((l) => l.startsWith('info') || l.startsWith('bestmove')));
  a.terminate();
  b.terminate();
});

test('stop during go infinite gives one bestmove; lines come without line ends', async () => {
  const engine = await Brix();
  const infos = until(engine, 'info depth 2');
  engine.postMessage('go infinite');
  await infos;
  const best = until(engine, 'bestmove');
  engine.postMessage('stop');
  const lines = await best;
  assert.match(lines.at(-1), /^bestmove \S+$/);
  engine.postMessage('isready');
  const after = await until(engine, 'readyok');
  assert.deepStrictEqual(after, ['readyok'], 'a second bestmove or another line after stop');
  engine.terminate();
});

test('quit ends the engine with status 0', async () => {
  const engine = await Brix();
  engine.postMessage('quit');
  assert.strictEqual(await engine.exited, 0);
});

test('terminate ends the workers and Node then exits by itself', () => {
  const script = `require(${JSON.stringify(npm)})().then((e) => { e.postMessage('go infinite'); setTimeout(() => e.terminate(), 500); });`;
  const run = spawnSync(process.execPath, ['-e', script], { timeout: 20000 });
  assert.strictEqual(run.error, undefined, 'Node did not exit by itself');
  assert.strictEqual(run.status, 0, String(run.stderr));
});

test('without SharedArrayBuffer the factory rejects and names the headers', async () => {
  const saved = globalThis.SharedArrayBuffer;
  delete globalThis.SharedArrayBuffer;
  try {
    await assert.rejects(Brix(), (error) =>
      /cross-origin isolated/.test(error.message) &&
      error.message.includes('Cross-Origin-Opener-Policy: same-origin') &&
      error.message.includes('Cross-Origin-Embedder-Policy: require-corp'));
  } finally {
    globalThis.SharedArrayBuffer = saved;
  }
});
