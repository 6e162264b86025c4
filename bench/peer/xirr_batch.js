// The batch benchmark's loans through the npm `xirr` package: each loan as
// cash flows on calendar dates (the advance on 2020-01-01, a month per period,
// odd days as days), one xirr call per loan. Prints the loans, the loans it
// failed on and the seconds spent in the whole run (reading included, as
// quorvane-cli's time includes its reading and writing).
'use strict';
const fs = require('fs');
const xirr = require(process.argv[3] + '/node_modules/xirr');

const start = process.hrtime.bigint();
const lines = fs.readFileSync(process.argv[2], 'utf8').split('\n').slice(1);
let loans = 0;
let failed = 0;
for (const line of lines) {
  if (!line) continue;
  const [, amount, , groups] = line.split(',');
  const flows = [{ amount: -Number(amount), when: new Date(Date.UTC(2020, 0, 1)) }];
  let months = 0;
  let days = 0;
  for (const group of groups.split(';')) {
    const [count, pay, periods = '1', extra = '0'] = group.trim().split(':');
    for (let k = 0; k < Number(count); ++k) {
      months += Number(periods);
      days += Number(extra);
      flows.push({ amount: Number(pay), when: new Date(Date.UTC(2020, months, 1 + days)) });
    }
  }
  ++loans;
  try {
    const rate = xirr(flows);
    if (!Number.isFinite(rate)) ++failed;
  } catch (e) {
    ++failed;
  }
}
const seconds = Number(process.hrtime.bigint() - start) / 1e9;
console.log(`${loans} ${failed} ${seconds}`);
