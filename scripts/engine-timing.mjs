// SPDX-License-Identifier: GPL-3.0-or-later
// Times whole commands inside running engines, start-up excluded, the engines
// in turns: each round starts every engine afresh and runs every case once on
// each, and each engine keeps its fastest time per case. For builds whose
// start differs (Node's start alone costs about a go depth 7), so that only
// the work is compared. A fresh process per round, because now and then one
// WebAssembly engine process runs a fifth slower than the next throughout.
//   node scripts/engine-timing.mjs [--rounds N] NAME=COMMAND NAME=COMMAND ...
// COMMAND is split at blanks. Prints a table of fastest times and the ratio
// of every engine to the first.
import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const fen = (name) => {
  const line = readFileSync(join(root, 'tests/data/perft-suite.txt'), 'utf8')
    .split('\n')
    .find((l) => l.startsWith(name + '|'));
  if (!line) throw new Error(`no position ${name} in tests/data/perft-suite.txt`);
  return line.split('|')[1];
};
const cases = [
  { name: 'perft 5, start', position: 'position startpos', command: 'perft 5', end: (l) => l.includes('kN/sec') },
  { name: 'go depth 8, start', position: 'position startpos', command: 'go depth 8', end: (l) => l.startsWith('bestmove') },
  { name: 'go depth 6, kiwipete', position: `position fen ${fen('kiwipete')}`, command: 'go depth 6', end: (l) => l.startsWith('bestmove') },
];

let rounds = 3;
const engines = [];
for (let i = 2; i < process.argv.length; ++i) {
  const arg = process.argv[i];
  if (arg === '--rounds') rounds = Number(process.argv[++i]);
  else if (arg.includes('=')) {
    const at = arg.indexOf('=');
    engines.push({ name: arg.slice(0, at), command: arg.slice(at + 1).split(' ').filter(Boolean) });
  } else throw new Error(`unknown argument ${arg}`);
}
if (engines.length === 0) throw new Error('usage: engine-timing.mjs [--rounds N] NAME=COMMAND ...');

function start(engine) {
  const child = spawn(engine.command[0], engine.command.slice(1), { stdio: ['pipe', 'pipe', 'inherit'] });
  let buffer = '';
  let waiter = null;
  const lines = [];
  child.stdout.on('data', (data) => {
    buffer += data.toString('latin1');
    let at;
    while ((at = buffer.indexOf('\n')) >= 0) {
      lines.push(buffer.slice(0, at).replace(/\r$/, ''));
      buffer = buffer.slice(at + 1);
    }
    if (waiter) waiter();
  });
  child.on('exit', () => waiter && waiter());
  const until = (test) =>
    new Promise((resolve, reject) => {
      const check = () => {
        while (lines.length) if (test(lines.shift())) return (waiter = null), resolve();
        if (child.exitCode !== null) reject(new Error(`${engine.name} ended`));
      };
      waiter = check;
      check();
    });
  const send = (line) => child.stdin.write(line + '\n');
  return { child, until, send };
}

for (const engine of engines) engine.best = cases.map(() => Infinity);
for (let round = 0; round < rounds; ++round) {
  for (const engine of engines) {
    engine.process = start(engine);
    engine.process.send('isready');
    await engine.process.until((l) => l === 'readyok');
  }
  for (const [index, item] of cases.entries()) {
    for (const engine of engines) {
      const { send, until } = engine.process;
      send(item.position);
      send('isready');
      await until((l) => l === 'readyok');
      const began = process.hrtime.bigint();
      send(item.command);
      await until(item.end);
      const seconds = Number(process.hrtime.bigint() - began) / 1e9;
      engine.best[index] = Math.min(engine.best[index], seconds);
    }
  }
  for (const engine of engines) {
    engine.process.send('quit');
    await new Promise((resolve) => (engine.process.child.exitCode !== null ? resolve() : engine.process.child.on('exit', resolve)));
  }
}
const header = ['case', ...engines.map((e) => e.name), ...engines.slice(1).map((e) => `${e.name} / ${engines[0].name}`)];
console.log(`| ${header.join(' | ')} |`);
console.log(`|${header.map(() => '---').join('|')}|`);
for (const [index, item] of cases.entries()) {
  const times = engines.map((e) => `${e.best[index].toFixed(3)} s`);
  const ratios = engines.slice(1).map((e) => `${(e.best[index] / engines[0].best[index]).toFixed(2)}x`);
  console.log(`| ${[item.name, ...times, ...ratios].join(' | ')} |`);
}
