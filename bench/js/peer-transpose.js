// Times the peer transposer on the benchmark songs, transposing by +2, and
// prints one JSON object: song name -> median nanoseconds per transposition.
'use strict';

const fs = require('fs');
const path = require('path');
const { transpose } = require('chord-transposer');

const folder = process.argv[2];
const names = ['5KB', '100KB', '1MB'];
const result = {};

for (const name of names) {
  const text = fs.readFileSync(path.join(folder, `song-${name}.txt`), 'latin1');
  // Warm up, then repeat until about a second has passed (at least 5 runs).
  transpose(text).up(2).toString();
  const times = [];
  const start = process.hrtime.bigint();
  while (times.length < 5 || (process.hrtime.bigint() - start < 1000000000n && times.length < 10000)) {
    const t0 = process.hrtime.bigint();
    const out = transpose(text).up(2).toString();
    const t1 = process.hrtime.bigint();
    if (out.length === 0) throw new Error('empty result');
    times.push(Number(t1 - t0));
  }
  times.sort((a, b) => a - b);
  result[name] = { ns: times[Math.floor(times.length / 2)], bytes: Buffer.byteLength(text, 'latin1'), runs: times.length };
}

process.stdout.write(JSON.stringify(result) + '\n');
