// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's own worker: the page never waits on the engine's thread. It
// loads the engine's script next to it and passes lines both ways; the first
// message back is {type: 'ready'} or {type: 'error', message}.
'use strict';

let engine = null;
const early = [];

onmessage = (event) => {
  if (engine) engine.postMessage(event.data);
  else early.push(event.data);
};

function fail(error) {
  postMessage({type: 'error', message: String((error && error.message) || error)});
}

try {
  importScripts('brix.js');
  Brix().then((started) => {
    engine = started;
    engine.addMessageListener((line) => postMessage({type: 'line', line}));
    postMessage({type: 'ready'});
    for (const command of early.splice(0)) engine.postMessage(command);
  }, fail);
} catch (error) {
  fail(error);
}
