// SPDX-License-Identifier: GPL-3.0-or-later
// The page in a real browser: Debian's Chromium, headless, driven by
// playwright-core. A person's moves are made with the mouse on the board,
// by clicks and by drags; what the page shows is checked against a game the
// test keeps itself with the rules library.
//   BRIX_WEB_SITE        the built site (build-wasm/web)
//   BRIX_WEB_SCREENSHOTS where the screenshots go (build-wasm/web-screenshots)
//   BRIX_WEB_DOC_SHOT    when set, also writes the page's picture for the docs there
//   BRIX_CHROMIUM        the browser (/usr/bin/chromium)
import {after, before, test} from 'node:test';
import assert from 'node:assert/strict';
import {mkdirSync, readFileSync} from 'node:fs';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';
import {Chess} from 'chess.js';
import {serve} from '../server.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const repo = resolve(here, '../..');
const site = resolve(process.env.BRIX_WEB_SITE || join(repo, 'build-wasm/web'));
const shots = resolve(process.env.BRIX_WEB_SCREENSHOTS || join(repo, 'build-wasm/web-screenshots'));
const kiwipete = readFileSync(join(repo, 'tests/data/perft-suite.txt'), 'utf8')
  .split('\n').find((line) => line.startsWith('kiwipete|')).split('|')[1];

let browser, isolated, plain;

before(async () => {
  mkdirSync(shots, {recursive: true});
  isolated = await serve({root: site});
  plain = await serve({root: site, isolation: false});
  // playwright gives each launch a new, empty profile; the flags turn off the
  // browser's own network traffic, which would otherwise keep retrying.
  browser = await chromium.launch({
    executablePath: process.env.BRIX_CHROMIUM || '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  await browser?.close();
  isolated?.server.close();
  plain?.server.close();
});

// A page whose console errors and uncaught exceptions are collected.
async function open(url, contextOptions = {}) {
  const context = await browser.newContext({viewport: {width: 1100, height: 760}, ...contextOptions});
  const page = await context.newPage();
  const errors = [];
  page.on('console', (message) => {
    // The page falls back to running the engine without its worker, with a
    // warning: the engine belongs in the worker, so that counts as an error.
    if (message.type() === 'error' || /engine's worker failed/.test(message.text())) errors.push(message.text());
  });
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(url);
  return {context, page, errors};
}

const engineReady = (page) =>
  page.waitForFunction(() => document.getElementById('engine-status').textContent === 'Engine ready', null, {timeout: 20000});

async function centre(page, selector) {
  const box = await page.locator(selector).first().boundingBox();
  assert.ok(box, `${selector} is on the page`);
  return {x: box.x + box.width / 2, y: box.y + box.height / 2};
}

// A person's move: a click on each square, or a drag from one to the other.
async function makeMove(page, move, drag) {
  // The whole board in view first: scrolling between the two squares would move them.
  await page.locator('#board').scrollIntoViewIfNeeded();
  const from = await centre(page, `#board rect[data-square="${move.from}"]`);
  const to = await centre(page, `#board rect[data-square="${move.to}"]`);
  if (drag) {
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move((from.x + to.x) / 2, (from.y + to.y) / 2, {steps: 4});
    await page.mouse.move(to.x, to.y, {steps: 4});
    await page.mouse.up();
  } else {
    await page.mouse.click(from.x, from.y);
    await page.mouse.click(to.x, to.y);
  }
  if (move.promotion) {
    const piece = `.promotion-dialog-group g.promotion-dialog-button-group[data-piece="${move.color}${move.promotion}"]`;
    await page.locator(piece).first().waitFor({state: 'visible'});
    const spot = await centre(page, piece);
    await page.mouse.click(spot.x, spot.y);
  }
}

const moveList = (page) => page.$$eval('#moves .move', (spans) => spans.map((span) => span.textContent));

// The pieces the board shows, as square -> piece ("e4" -> "wp").
const boardPieces = (page) =>
  page.$$eval('#board g[data-piece][data-square]', (groups) =>
    Object.fromEntries(groups.map((g) => [g.getAttribute('data-square'), g.getAttribute('data-piece')])));

function expectedPieces(game) {
  const pieces = {};
  for (const row of game.board()) for (const cell of row) if (cell) pieces[cell.square] = cell.color + cell.type;
  return pieces;
}

async function boardShows(page, game) {
  const want = expectedPieces(game);
  await page.waitForFunction((expected) => {
    const groups = [...document.querySelectorAll('#board g[data-piece][data-square]')];
    const shown = Object.fromEntries(groups.map((g) => [g.getAttribute('data-square'), g.getAttribute('data-piece')]));
    return JSON.stringify(Object.entries(shown).sort()) === JSON.stringify(Object.entries(expected).sort());
  }, want, {timeout: 5000}).catch(() => {});
  assert.deepEqual(await boardPieces(page), want, `the board shows ${game.fen()}`);
}

// A small deterministic generator, so a failing game can be played again.
function random(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state * 1664525 + 1013904223) >>> 0;
    return state / 2 ** 32;
  };
}

test('the page loads with no console errors, cross-origin isolated, and fits a phone', async () => {
  const {context, page, errors} = await open(isolated.url);
  try {
    await engineReady(page);
    assert.equal(await page.evaluate(() => window.crossOriginIsolated), true);
    assert.equal(await page.locator('#isolation-error').isHidden(), true);
    assert.equal(await page.locator('#board rect[data-square]').count(), 64);
    assert.deepEqual(await boardPieces(page), expectedPieces(new Chess()));
    await page.setViewportSize({width: 390, height: 800});
    await page.waitForTimeout(300); // the board redraws on resize
    const fits = await page.evaluate(() => ({
      scroll: document.documentElement.scrollWidth,
      width: window.innerWidth,
      board: document.getElementById('board').getBoundingClientRect().width,
    }));
    assert.ok(fits.scroll <= fits.width, `no sideways scrolling on a phone: ${JSON.stringify(fits)}`);
    assert.ok(fits.board > 300 && fits.board <= fits.width, `the board fills a phone's width: ${JSON.stringify(fits)}`);
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
});

test('a whole game against the engine, by clicks and drags on the board', async () => {
  const {context, page, errors} = await open(isolated.url);
  try {
    await engineReady(page);
    await page.selectOption('#strength', 'depth 2');
    const game = new Chess();
    const next = random(23);
    const cap = 120; // plies
    let shot = false;
    while (!game.isGameOver() && game.history().length < cap) {
      await page.waitForFunction(() => document.getElementById('game-status').textContent.startsWith('Your move'));
      // The person prefers captures and promotions, so that games end.
      const moves = game.moves({verbose: true});
      const sharp = moves.filter((m) => m.captured || m.promotion);
      const pool = sharp.length && next() < 0.7 ? sharp : moves;
      const move = pool[Math.floor(next() * pool.length)];
      const plies = game.history().length;
      await makeMove(page, move, plies % 4 === 2);
      game.move(move);
      const expected = game.isGameOver() ? plies + 1 : plies + 2;
      await page.waitForFunction((n) => document.querySelectorAll('#moves .move').length >= n, expected, {timeout: 30000});
      const listed = await moveList(page);
      assert.equal(listed[plies], move.san, 'the person\'s move is listed');
      if (!game.isGameOver()) {
        assert.equal(listed.length, plies + 2, 'one move from the engine');
        const reply = game.move(listed[plies + 1]); // throws when the engine's move is not legal
        const pv = await page.textContent('#info-pv');
        assert.match(await page.textContent('#info-depth'), /^\d+$/);
        assert.match(await page.textContent('#info-score'), /^([+−]?\d+\.\d\d|Mate in \d+ for (White|Black))$/);
        assert.ok(pv.split(' ').includes(reply.san), `the principal variation "${pv}" holds the engine's move ${reply.san}`);
      }
      await boardShows(page, game);
      if (!shot && game.history().length >= 16) {
        await page.screenshot({path: join(shots, 'game.png')});
        if (process.env.BRIX_WEB_DOC_SHOT) await page.screenshot({path: process.env.BRIX_WEB_DOC_SHOT});
        shot = true;
      }
    }
    const status = await page.textContent('#game-status');
    if (game.isGameOver()) {
      assert.match(status, /^(Checkmate: (White|Black) wins|Stalemate: a draw|Draw.*)$/);
      const pgn = await page.inputValue('#pgn');
      assert.match(pgn, /\[Result "(1-0|0-1|1\/2-1\/2)"\]/);
    }
    // The PGN replays to the same game.
    const replay = new Chess();
    replay.loadPgn(await page.inputValue('#pgn'));
    assert.equal(replay.fen(), game.fen());
    assert.equal(await page.inputValue('#fen'), game.fen());
    console.log(`# game: ${game.history().length} plies, ${game.isGameOver() ? status : 'move cap reached'}`);
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
});

test('a promotion through the dialog, and a take back', async () => {
  const {context, page, errors} = await open(isolated.url);
  try {
    await engineReady(page);
    await page.selectOption('#strength', 'depth 1');
    const fen = '7k/P7/8/8/8/8/6p1/K7 w - - 0 1'; // a knight and a pawn left: the game goes on
    await page.fill('#fen', fen);
    await page.click('#set-fen');
    const game = new Chess(fen);
    await boardShows(page, game);
    const move = game.move({from: 'a7', to: 'a8', promotion: 'n'});
    await makeMove(page, move, false);
    await page.waitForFunction(() => document.querySelectorAll('#moves .move').length === 2);
    const listed = await moveList(page);
    assert.equal(listed[0], 'a8=N');
    game.move(listed[1]);
    await boardShows(page, game);
    await page.waitForFunction(() => document.getElementById('game-status').textContent.startsWith('Your move'));
    await page.click('#take-back');
    await page.waitForFunction(() => document.querySelectorAll('#moves .move').length === 0);
    await boardShows(page, new Chess(fen));
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
});

test('an analysis on a FEN shows what the engine thinks and ends on Stop', async () => {
  const {context, page, errors} = await open(isolated.url);
  try {
    await engineReady(page);
    await page.fill('#fen', 'not a position');
    await page.click('#set-fen');
    assert.match(await page.textContent('#fen-error'), /^Not a position: /);
    await page.fill('#fen', kiwipete);
    await page.click('#set-fen');
    await boardShows(page, new Chess(kiwipete));
    for (let round = 1; round <= 2; round++) {
      await page.click('#analyse');
      await page.waitForFunction(() => Number(document.getElementById('info-depth').textContent) >= 4, null, {timeout: 30000});
      const pv = await page.textContent('#info-pv');
      const line = new Chess(kiwipete);
      for (const word of pv.split(' ').filter((w) => !/^\d+\.+$|^\d+…$/.test(w))) line.move(word); // legal, in order
      assert.match(await page.textContent('#info-nodes'), /^\d+(\.\d+)?( [kM])?$/);
      assert.match(await page.textContent('#info-nps'), / n\/s$/);
      assert.equal(await page.isEnabled('#stop'), true);
      if (round === 1) await page.screenshot({path: join(shots, 'analysis.png')});
      await page.click('#stop');
      await page.waitForFunction(() => document.getElementById('engine-status').textContent === 'Engine ready');
      assert.equal(await page.isDisabled('#stop'), true);
      const depth = await page.textContent('#info-depth');
      await page.waitForTimeout(700);
      assert.equal(await page.textContent('#info-depth'), depth, 'no info after the stop');
    }
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
});

test('served without the isolation headers, the service worker isolates the page', async () => {
  const {context, page, errors} = await open(plain.url);
  try {
    await engineReady(page);
    assert.equal(await page.evaluate(() => window.crossOriginIsolated), true);
    assert.equal(await page.evaluate(() => navigator.serviceWorker.controller !== null), true);
    await page.click('#analyse');
    await page.waitForFunction(() => Number(document.getElementById('info-depth').textContent) >= 2, null, {timeout: 30000});
    await page.click('#stop');
    await page.waitForFunction(() => document.getElementById('engine-status').textContent === 'Engine ready');
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
});

test('served without the headers and with service workers blocked, the page says why in words', async () => {
  const {context, page} = await open(plain.url, {serviceWorkers: 'block'});
  try {
    await page.locator('#isolation-error').waitFor({state: 'visible', timeout: 20000});
    assert.equal(await page.evaluate(() => window.crossOriginIsolated), false);
    const notice = await page.textContent('#isolation-error');
    assert.match(notice, /not cross-origin isolated/);
    assert.match(notice, /Cross-Origin-Opener-Policy: same-origin/);
    assert.match(notice, /Cross-Origin-Embedder-Policy: require-corp/);
    assert.match(notice, /The engine said: .*isolated/i);
    assert.equal(await page.textContent('#engine-status'), 'The engine could not start');
    // The board still takes moves, for both sides.
    const game = new Chess();
    for (const san of ['e4', 'e5']) {
      const move = game.move(san);
      await makeMove(page, move, san === 'e5');
      await page.waitForFunction((n) => document.querySelectorAll('#moves .move').length === n, game.history().length);
      // The board takes no input while it draws a clicked move (200 ms); a
      // person sees the move land before making the next one.
      await page.waitForTimeout(300);
    }
    await boardShows(page, game);
  } finally {
    await context.close();
  }
});
