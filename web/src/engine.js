// SPDX-License-Identifier: GPL-3.0-or-later
// The page's side of the engine: lines to and from the engine's worker, and
// searches one at a time. The engine refuses a `go` while a search runs, so
// each search waits for the previous one's `bestmove`.

export class Engine {
  constructor(workerUrl = 'engine-worker.js') {
    this.listeners = new Set();
    this.queue = Promise.resolve();
    this.current = null; // {resolve, onInfo} of the running search
    this.worker = null;
    this.direct = null;
    this.ready = this.startWorker(workerUrl).catch((error) => {
      // Where this browser cannot start the engine's threads from inside a
      // worker, the engine runs from the page: its command loop has a thread
      // of its own there too, so the page still does not wait on a search.
      if (!window.crossOriginIsolated) throw error;
      console.warn(`The engine's worker failed (${error.message}); starting the engine on the page`);
      return this.startDirect();
    });
  }

  startWorker(url) {
    this.worker = new Worker(url);
    return new Promise((resolve, reject) => {
      this.worker.onmessage = (event) => {
        const message = event.data;
        if (message.type === 'ready') resolve();
        else if (message.type === 'error') reject(new Error(message.message));
        else if (message.type === 'line') this.receive(message.line);
      };
      this.worker.onerror = (event) => {
        event.preventDefault();
        reject(new Error(event.message || 'the engine\'s worker failed to load'));
      };
    }).catch((error) => {
      this.worker.terminate();
      this.worker = null;
      throw error;
    });
  }

  async startDirect() {
    if (typeof window.Brix !== 'function') {
      await new Promise((resolve, reject) => {
        const script = document.createElement('script');
        script.src = 'brix.js';
        script.onload = resolve;
        script.onerror = () => reject(new Error('brix.js could not be loaded'));
        document.head.append(script);
      });
    }
    this.direct = await window.Brix();
    this.direct.addMessageListener((line) => this.receive(line));
  }

  onLine(listener) {
    this.listeners.add(listener);
  }

  send(command) {
    if (this.worker) this.worker.postMessage(command);
    else if (this.direct) this.direct.postMessage(command);
  }

  receive(line) {
    for (const listener of this.listeners) listener(line);
    const search = this.current;
    if (!search) return;
    if (line.startsWith('info ')) {
      search.onInfo(parseInfo(line));
    } else if (line.startsWith('bestmove')) {
      this.current = null;
      search.resolve(line.split(/\s+/)[1] || '');
    }
  }

  // Runs `position` + `go` once every earlier search has ended; resolves with
  // the best move (UCI text). onInfo receives each parsed info line.
  search(position, go, onInfo = () => {}) {
    const run = () =>
      new Promise((resolve) => {
        this.current = {resolve, onInfo};
        this.send(position);
        this.send(go);
      });
    const result = this.queue.then(run);
    this.queue = result.catch(() => {});
    return result;
  }

  get searching() {
    return this.current !== null;
  }

  // Ends the running search (its promise resolves with its bestmove) and
  // resolves once no search runs any more.
  stop() {
    if (this.current) this.send('stop');
    return this.queue;
  }

  terminate() {
    this.worker?.terminate();
    this.direct?.terminate();
    this.worker = this.direct = null;
  }
}

// "info depth 5 score cp -12 nps 1000 nodes 500 pv e2e4 e7e5" as an object;
// fields that are absent stay undefined.
export function parseInfo(line) {
  const words = line.trim().split(/\s+/);
  const info = {};
  for (let i = 1; i < words.length; i++) {
    const word = words[i];
    if (word === 'pv') {
      info.pv = words.slice(i + 1);
      break;
    }
    if (word === 'score') {
      const kind = words[i + 1];
      const value = Number(words[i + 2]);
      if (kind === 'cp') info.cp = value;
      else if (kind === 'mate') info.mate = value;
      i += 2;
    } else if (['depth', 'seldepth', 'nodes', 'nps', 'time', 'multipv', 'hashfull'].includes(word)) {
      info[word] = Number(words[i + 1]);
      i += 1;
    }
  }
  return info;
}
