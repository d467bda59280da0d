#!/usr/bin/env node
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine as a UCI program: standard input and output, bytes unchanged
// both ways; exits with the engine's status when it ends.
'use strict';
const Brix = require('../brix.js');

Brix({ onBytes: (bytes) => process.stdout.write(Buffer.from(bytes)) }).then((engine) => {
  process.stdin.on('data', (data) => engine.postBytes(data));
  process.stdin.on('end', () => engine.endInput());
  engine.exited.then((status) => {
    process.stdin.destroy();
    process.exit(status || 0);
  });
}, (error) => {
  process.stderr.write(String(error && error.message || error) + '\n');
  process.exit(1);
});
