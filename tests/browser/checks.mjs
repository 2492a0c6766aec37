// A small tally of named checks: each prints one line, and the run ends
// with a count of the passed and the failed ones.

export class Checks {
  constructor() {
    this.passed = 0;
    this.failed = 0;
  }

  /// Records one check: `ok` true passes it; `detail` tells what was seen.
  expect(ok, what, detail = '') {
    if (ok) {
      ++this.passed;
      console.log(`ok    ${what}`);
    } else {
      ++this.failed;
      console.log(`FAIL  ${what}${detail ? `: ${detail}` : ''}`);
    }
    return ok;
  }

  /// Records a check that `actual` equals `expected`, compared as JSON.
  equal(actual, expected, what) {
    const a = JSON.stringify(actual);
    const e = JSON.stringify(expected);
    return this.expect(a === e, what, `got ${a}, expected ${e}`);
  }

  /// Prints the closing count line.
  summary() {
    console.log(`browser: ${this.passed} passed, ${this.failed} failed`);
  }
}
