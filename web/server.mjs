// SPDX-License-Identifier: GPL-3.0-or-later
// A small static server for the built page, on localhost only.
//   node server.mjs [--root DIR] [--port N] [--no-isolation]
// Sends the two headers that make the page cross-origin isolated, unless
// --no-isolation (to try the page as a host that cannot send headers serves
// it). Port 0 picks a free port. Prints "Serving DIR at http://127.0.0.1:PORT/".
import {createServer} from 'node:http';
import {createReadStream} from 'node:fs';
import {stat} from 'node:fs/promises';
import {extname, join, resolve, sep} from 'node:path';
import {fileURLToPath} from 'node:url';

const types = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.svg': 'image/svg+xml',
  '.png': 'image/png',
  '.wasm': 'application/wasm',
  '.json': 'application/json',
  '.map': 'application/json',
  '.txt': 'text/plain; charset=utf-8',
};

export function serve({root, port = 0, isolation = true, host = '127.0.0.1'}) {
  const base = resolve(root);
  const server = createServer(async (request, response) => {
    const headers = {'Cache-Control': 'no-cache'};
    if (isolation) {
      headers['Cross-Origin-Opener-Policy'] = 'same-origin';
      headers['Cross-Origin-Embedder-Policy'] = 'require-corp';
    }
    let path;
    try {
      path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    } catch {
      response.writeHead(400, headers).end('Bad request\n');
      return;
    }
    let file = resolve(join(base, path));
    if (file !== base && !file.startsWith(base + sep)) {
      response.writeHead(403, headers).end('Forbidden\n');
      return;
    }
    try {
      let info = await stat(file);
      if (info.isDirectory()) {
        file = join(file, 'index.html');
        info = await stat(file);
      }
      headers['Content-Type'] = types[extname(file)] || 'application/octet-stream';
      headers['Content-Length'] = info.size;
      response.writeHead(200, headers);
      if (request.method === 'HEAD') response.end();
      else createReadStream(file).pipe(response);
    } catch {
      response.writeHead(404, headers).end('Not found\n');
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, host, () => done({server, url: `http://${host}:${server.address().port}/`}));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const args = process.argv.slice(2);
  const options = {root: '.', port: 8080, isolation: true};
  for (let i = 0; i < args.length; i++) {
    if (args[i] === '--root') options.root = args[++i];
    else if (args[i] === '--port') options.port = Number(args[++i]);
    else if (args[i] === '--no-isolation') options.isolation = false;
    else {
      console.error(`usage: node server.mjs [--root DIR] [--port N] [--no-isolation]`);
      process.exit(2);
    }
  }
  const {url} = await serve(options);
  console.log(`Serving ${resolve(options.root)} at ${url}${options.isolation ? '' : ' (without the isolation headers)'}`);
}
