// SPDX-License-Identifier: GPL-3.0-or-later
// The page: a game against the engine, or an analysis, on one board. The
// rules library keeps the game and decides which moves a person may make;
// the engine only ever sees legal positions.
import {Chess, DEFAULT_POSITION, validateFen} from './lib/chess.js/chess.js';
import {Chessboard, COLOR, INPUT_EVENT_TYPE, BORDER_TYPE} from './lib/cm-chessboard/src/Chessboard.js';
import {Markers} from './lib/cm-chessboard/src/extensions/markers/Markers.js';
import {PromotionDialog, PROMOTION_DIALOG_RESULT_TYPE} from './lib/cm-chessboard/src/extensions/promotion-dialog/PromotionDialog.js';
import {Engine} from './engine.js';

const $ = (id) => document.getElementById(id);

const chess = new Chess();
let startFen = DEFAULT_POSITION;
let mode = 'play'; // 'play': the engine answers the person; 'analyse': the person moves both sides
let userColour = 'w';
let engine = null;
let engineReady = false;
let analysing = false;
let thinking = false; // the engine is choosing its move in a game
let generation = 0; // a search whose generation is stale has been given up

const board = new Chessboard($('board'), {
  position: chess.fen(),
  assetsUrl: './lib/cm-chessboard/assets/',
  style: {borderType: BORDER_TYPE.frame, pieces: {file: 'pieces/staunty.svg'}, animationDuration: 200},
  extensions: [{class: Markers, props: {autoMarkers: null}}, {class: PromotionDialog}],
});

// ---- the engine ----

function uciMoves() {
  return chess.history({verbose: true}).map((m) => m.from + m.to + (m.promotion || ''));
}

function positionCommand() {
  const moves = uciMoves();
  const base = startFen === DEFAULT_POSITION ? 'position startpos' : `position fen ${startFen}`;
  return moves.length ? `${base} moves ${moves.join(' ')}` : base;
}

function setEngineStatus(text) {
  $('engine-status').textContent = text;
}

// Stops whatever the engine is doing and forgets its answer.
async function stopEngine() {
  generation++;
  analysing = false;
  thinking = false;
  if (engine && engineReady) {
    await engine.stop();
    setEngineStatus('Engine ready');
  }
  updateControls();
}

function clearInfo() {
  for (const id of ['info-depth', 'info-score', 'info-nodes', 'info-nps']) $(id).textContent = '–';
  $('info-pv').textContent = '';
}

function formatScore(info, turn) {
  const side = (colour) => (colour === 'w' ? 'White' : 'Black');
  const other = turn === 'w' ? 'b' : 'w';
  if (info.mate !== undefined) {
    if (info.mate === 0) return `${side(other)} has mated`;
    return `Mate in ${Math.abs(info.mate)} for ${side(info.mate > 0 ? turn : other)}`;
  }
  if (info.cp === undefined) return null;
  const pawns = (turn === 'w' ? info.cp : -info.cp) / 100; // from White's side, as boards show it
  return (pawns > 0 ? '+' : pawns < 0 ? '−' : '') + Math.abs(pawns).toFixed(2);
}

function formatCount(n) {
  if (n >= 1e6) return (n / 1e6).toFixed(2) + ' M';
  if (n >= 1e4) return (n / 1e3).toFixed(1) + ' k';
  return String(n);
}

// The principal variation in algebraic notation, numbered from the root.
function pvText(rootFen, pv) {
  const line = new Chess(rootFen);
  const words = [];
  for (const uci of pv) {
    const white = line.turn() === 'w';
    const number = line.moveNumber();
    let move;
    try {
      move = line.move({from: uci.slice(0, 2), to: uci.slice(2, 4), promotion: uci[4]});
    } catch {
      words.push(`(${uci}?)`);
      break;
    }
    if (white) words.push(`${number}.`);
    else if (words.length === 0) words.push(`${number}…`);
    words.push(move.san);
  }
  return words.join(' ');
}

function showInfo(info, rootFen, turn) {
  if (info.depth !== undefined) $('info-depth').textContent = String(info.depth);
  const score = formatScore(info, turn);
  if (score !== null) $('info-score').textContent = score;
  if (info.nodes !== undefined) $('info-nodes').textContent = formatCount(info.nodes);
  if (info.nps !== undefined) $('info-nps').textContent = formatCount(info.nps) + ' n/s';
  if (info.pv && info.pv.length) $('info-pv').textContent = pvText(rootFen, info.pv);
}

async function engineMove() {
  if (!engineReady || mode !== 'play' || chess.isGameOver() || chess.turn() === userColour) return;
  const mine = ++generation;
  thinking = true;
  updateControls();
  const rootFen = chess.fen();
  const turn = chess.turn();
  setEngineStatus('The engine is thinking…');
  const best = await engine.search(positionCommand(), 'go ' + $('strength').value, (info) => {
    if (mine === generation) showInfo(info, rootFen, turn);
  });
  if (mine !== generation) return;
  thinking = false;
  setEngineStatus('Engine ready');
  try {
    chess.move({from: best.slice(0, 2), to: best.slice(2, 4), promotion: best[4]});
  } catch {
    setEngineStatus(`The engine answered a move the rules do not allow: ${best}`);
    updateControls();
    return;
  }
  await refresh(true);
}

async function startAnalysis() {
  await stopEngine();
  mode = 'analyse';
  if (!engineReady || chess.isGameOver()) {
    updateControls();
    return;
  }
  const mine = ++generation;
  analysing = true;
  updateControls();
  clearInfo();
  const rootFen = chess.fen();
  const turn = chess.turn();
  setEngineStatus('Analysing…');
  await engine.search(positionCommand(), 'go infinite', (info) => {
    if (mine === generation) showInfo(info, rootFen, turn);
  });
  if (mine === generation) {
    analysing = false;
    setEngineStatus('Engine ready');
    updateControls();
  }
}

// ---- the game ----

function gameEnd() {
  const side = (colour) => (colour === 'w' ? 'White' : 'Black');
  if (chess.isCheckmate()) {
    const winner = chess.turn() === 'w' ? 'b' : 'w';
    return {text: `Checkmate: ${side(winner)} wins`, result: winner === 'w' ? '1-0' : '0-1'};
  }
  if (chess.isStalemate()) return {text: 'Stalemate: a draw', result: '1/2-1/2'};
  if (chess.isInsufficientMaterial()) return {text: 'Draw: neither side has the material to mate', result: '1/2-1/2'};
  if (chess.isThreefoldRepetition()) return {text: 'Draw by threefold repetition', result: '1/2-1/2'};
  if (chess.isDrawByFiftyMoves()) return {text: 'Draw by the fifty-move rule', result: '1/2-1/2'};
  return null;
}

function pgn(end) {
  const today = new Date();
  const pad = (n) => String(n).padStart(2, '0');
  chess.setHeader('Event', mode === 'play' ? 'Game against Brix' : 'Analysis with Brix');
  chess.setHeader('Site', 'Brix in the browser');
  chess.setHeader('Date', `${today.getFullYear()}.${pad(today.getMonth() + 1)}.${pad(today.getDate())}`);
  chess.setHeader('White', mode !== 'play' ? '?' : userColour === 'w' ? 'You' : 'Brix');
  chess.setHeader('Black', mode !== 'play' ? '?' : userColour === 'b' ? 'You' : 'Brix');
  chess.setHeader('Result', end ? end.result : '*');
  return chess.pgn();
}

function updateMoves() {
  const list = $('moves');
  list.replaceChildren();
  const history = chess.history();
  const first = new Chess(startFen);
  let number = first.moveNumber();
  let index = 0;
  if (first.turn() === 'b' && history.length) {
    const li = document.createElement('li');
    li.value = number++;
    li.innerHTML = '<span>…</span>';
    const black = document.createElement('span');
    black.className = 'move';
    black.textContent = history[index++];
    li.append(black);
    list.append(li);
  }
  while (index < history.length) {
    const li = document.createElement('li');
    li.value = number++;
    for (let i = 0; i < 2 && index < history.length; i++) {
      const span = document.createElement('span');
      span.className = 'move';
      span.textContent = history[index++];
      li.append(span);
    }
    list.append(li);
  }
  list.scrollTop = list.scrollHeight;
}

function canMove() {
  if (chess.isGameOver()) return false;
  if (mode === 'analyse') return true;
  return engineReady && !thinking && chess.turn() === userColour;
}

function updateControls() {
  $('stop').disabled = !analysing;
  $('analyse').disabled = !engineReady || analysing || chess.isGameOver();
  $('take-back').disabled = chess.history().length === 0;
  const end = gameEnd();
  let status;
  if (end) status = end.text;
  else if (mode === 'analyse') status = `Analysis: ${chess.turn() === 'w' ? 'White' : 'Black'} to move`;
  else if (!engineReady) status = '';
  else if (chess.turn() === userColour) status = chess.inCheck() ? 'Your move: you are in check' : 'Your move';
  else status = 'The engine is to move';
  $('game-status').textContent = status;
}

async function refresh(animated) {
  const end = gameEnd();
  $('fen').value = chess.fen();
  $('fen-error').textContent = '';
  $('pgn').value = pgn(end);
  updateMoves();
  updateControls();
  // A person's move is already on the board; redrawing it anyway would cut
  // off a next move begun during the redraw.
  if (board.getPosition() !== chess.fen().split(' ')[0]) await board.setPosition(chess.fen(), animated);
  if (end) return;
  if (mode === 'play') engineMove();
  else if (analysing) startAnalysis();
}

async function playMove(move) {
  const wasAnalysing = analysing;
  try {
    chess.move(move);
  } catch {
    await board.setPosition(chess.fen());
    return;
  }
  if (wasAnalysing) await stopEngine();
  analysing = wasAnalysing;
  await board.state.moveInputProcess;
  await refresh(true);
}

board.enableMoveInput((event) => {
  switch (event.type) {
    case INPUT_EVENT_TYPE.moveInputStarted: {
      if (!canMove()) return false;
      const moves = chess.moves({square: event.squareFrom, verbose: true});
      if (!moves.length) return false;
      board.addLegalMovesMarkers(moves);
      return true;
    }
    case INPUT_EVENT_TYPE.validateMoveInput: {
      board.removeLegalMovesMarkers();
      const moves = chess.moves({square: event.squareFrom, verbose: true}).filter((m) => m.to === event.squareTo);
      if (!moves.length) return false;
      if (moves[0].promotion) {
        const colour = chess.turn() === 'w' ? COLOR.white : COLOR.black;
        board.showPromotionDialog(event.squareTo, colour, (result) => {
          if (result && result.type === PROMOTION_DIALOG_RESULT_TYPE.pieceSelected) {
            playMove({from: event.squareFrom, to: event.squareTo, promotion: result.piece.charAt(1)});
          } else {
            board.setPosition(chess.fen(), true);
          }
        });
        return true;
      }
      playMove({from: event.squareFrom, to: event.squareTo});
      return true;
    }
    case INPUT_EVENT_TYPE.moveInputCanceled:
      board.removeLegalMovesMarkers();
      return undefined;
    default:
      return undefined;
  }
});

// ---- the controls ----

async function newGame() {
  await stopEngine();
  mode = 'play';
  userColour = $('colour').value;
  chess.reset();
  startFen = DEFAULT_POSITION;
  clearInfo();
  await board.setOrientation(userColour === 'w' ? COLOR.white : COLOR.black);
  await refresh(false);
}

async function takeBack() {
  const wasAnalysing = analysing;
  await stopEngine();
  chess.undo();
  if (mode === 'play' && chess.turn() !== userColour && chess.history().length) chess.undo();
  analysing = wasAnalysing;
  await refresh(true);
}

async function setFen() {
  const fen = $('fen').value.trim();
  const check = validateFen(fen);
  if (!check.ok) {
    $('fen-error').textContent = `Not a position: ${check.error}`;
    return;
  }
  const wasAnalysing = analysing;
  await stopEngine();
  chess.load(fen);
  startFen = chess.fen();
  clearInfo();
  analysing = wasAnalysing;
  await refresh(false);
}

async function copy(text, button) {
  const label = button.textContent;
  try {
    await navigator.clipboard.writeText(text);
    button.textContent = 'Copied';
  } catch {
    button.textContent = 'Copy failed: select the text';
  }
  setTimeout(() => (button.textContent = label), 1500);
}

function downloadPgn() {
  const url = URL.createObjectURL(new Blob([$('pgn').value + '\n'], {type: 'application/x-chess-pgn'}));
  const link = document.createElement('a');
  link.href = url;
  link.download = 'brix-game.pgn';
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}

$('new-game').addEventListener('click', newGame);
$('take-back').addEventListener('click', takeBack);
$('flip').addEventListener('click', () =>
  board.setOrientation(board.getOrientation() === COLOR.white ? COLOR.black : COLOR.white));
$('analyse').addEventListener('click', startAnalysis);
$('stop').addEventListener('click', stopEngine);
$('set-fen').addEventListener('click', setFen);
$('fen').addEventListener('keydown', (event) => {
  if (event.key === 'Enter') setFen();
});
$('copy-fen').addEventListener('click', (event) => copy(chess.fen(), event.currentTarget));
$('copy-pgn').addEventListener('click', (event) => copy($('pgn').value, event.currentTarget));
$('download-pgn').addEventListener('click', downloadPgn);

// ---- start-up ----

function explainIsolation(reason, engineMessage) {
  const notice = $('isolation-error');
  notice.hidden = false;
  notice.innerHTML = `
    <p><strong>The engine cannot start here: this page is not cross-origin isolated.</strong>
    The engine thinks on several threads that share memory (<code>SharedArrayBuffer</code>), and a
    browser gives shared memory only to an isolated page. The host must send these two headers with
    the page and its files:</p>
    <p><code>Cross-Origin-Opener-Policy: same-origin</code><br><code>Cross-Origin-Embedder-Policy: require-corp</code></p>
    <p>Where the host cannot, the page isolates itself through its own service worker, but here
    <span class="reason"></span>. You can still move the pieces for both sides and copy the game.</p>
    <p class="engine-message"></p>`;
  notice.querySelector('.reason').textContent = reason || 'the page is still not isolated';
  notice.querySelector('.engine-message').textContent = engineMessage ? `The engine said: ${engineMessage}` : '';
}

async function start() {
  await refresh(false);
  const isolation = await window.brixIsolation;
  engine = new Engine();
  try {
    await engine.ready;
  } catch (error) {
    engine.terminate();
    engine = null;
    mode = 'analyse';
    setEngineStatus('The engine could not start');
    if (!window.crossOriginIsolated) explainIsolation(isolation.reason, error.message);
    else setEngineStatus(`The engine could not start: ${error.message}`);
    updateControls();
    return;
  }
  engineReady = true;
  setEngineStatus('Engine ready');
  await refresh(false);
}

start();
