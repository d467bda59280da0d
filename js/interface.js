// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's JavaScript interface, around emscripten's factory:
//   const engine = await Brix();
//   engine.addMessageListener(line => ...); engine.postMessage('go depth 5');
//   engine.removeMessageListener(fn); engine.terminate();
// The workers of the threads call the factory as emscripten made it.
(function () {
  var factory = Brix;
  var isNode = typeof process == 'object' && process.versions && process.versions.node;
  var message = 'Brix needs SharedArrayBuffer for its threads: the page must be cross-origin isolated, ' +
    'served with the headers Cross-Origin-Opener-Policy: same-origin and Cross-Origin-Embedder-Policy: require-corp';

  function start(options) {
    options = options || {};
    if (options['ENVIRONMENT_IS_PTHREAD']) return factory(options);
    if (typeof SharedArrayBuffer == 'undefined' ||
        (typeof crossOriginIsolated != 'undefined' && crossOriginIsolated === false)) {
      return Promise.reject(new Error(message));
    }
    var listeners = [];
    var pending = '';
    var decoder = new TextDecoder();
    var encoder = new TextEncoder();
    var resolveExit;
    var exited = new Promise(function (resolve) { resolveExit = resolve; });
    var module = {
      // Whole lines of output as bytes, from the engine's threads.
      brixWrite: options.onBytes || function (bytes) {
        pending += decoder.decode(bytes);
        var lines = pending.split('\n');
        pending = lines.pop();
        lines.forEach(function (line) {
          listeners.slice().forEach(function (listener) { listener(line); });
        });
      },
      quit: function (status) { resolveExit(status); },
      onExit: function (status) { resolveExit(status); },
    };
    // Where the engine's files are: beside brix.js, unless a locateFile says
    // otherwise. The threads' workers load brix.js again from the address it
    // found for itself (its script element in a page, __filename in Node);
    // loaded by importScripts in a Web Worker it has none, so there it is
    // taken to sit beside the worker's script, as brix.wasm and
    // brix.worker.js are, unless mainScriptUrlOrBlob says where.
    if (options.locateFile) module.locateFile = options.locateFile;
    if (options.mainScriptUrlOrBlob) {
      module.mainScriptUrlOrBlob = options.mainScriptUrlOrBlob;
    } else if (!isNode && typeof importScripts == 'function') {
      module.mainScriptUrlOrBlob = options.locateFile ? options.locateFile('brix.js', '') :
        new URL('brix.js', self.location.href).href;
    }
    if (isNode) {
      // This emscripten's fetch of the .wasm fails to parse the path in Node.
      module.wasmBinary = require('fs').readFileSync(require('path').join(__dirname, 'brix.wasm'));
    }
    return factory(module).then(function (instance) {
      var input = function (bytes) {
        var pointer = instance._malloc(bytes.length || 1);
        instance.HEAPU8.set(bytes, pointer);
        instance._brix_input(pointer, bytes.length);
        instance._free(pointer);
      };
      return {
        addMessageListener: function (listener) { listeners.push(listener); },
        removeMessageListener: function (listener) {
          var index = listeners.indexOf(listener);
          if (index >= 0) listeners.splice(index, 1);
        },
        postMessage: function (line) { input(encoder.encode(line + '\n')); },
        // Raw bytes of input, and the end of input, for the UCI program.
        postBytes: input,
        endInput: function () { instance._brix_input_end(); },
        // Resolves with the engine's exit status when it ends.
        exited: exited,
        terminate: function () {
          instance.PThread.terminateAllThreads();
          resolveExit(null);
        },
      };
    });
  }

  Brix = start;
  if (typeof module == 'object' && typeof exports == 'object') module.exports = start;
})();
