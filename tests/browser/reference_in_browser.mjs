// Reads generated references in headless Chromium as a person would: folds
// entries open and shut by clicking their header lines, follows their links
// and reads the record pages.
//
//   node tests/browser/reference_in_browser.mjs path/to/KorvanRef [--small-only]
//
// Exits 0 when every check passed, 1 when one failed, and 77 (skipped) when
// Chromium or playwright-core is missing, unless KORVANREF_REQUIRE_BROWSER=1
// makes that a failure too.
import fs from 'node:fs';
import path from 'node:path';

import {findBrowser, startBrowser} from './browser.mjs';
import {Checks} from './checks.mjs';
import {checkLargeTree} from './large_tree_checks.mjs';
import {checkSmallTree} from './small_tree_checks.mjs';
import {makeTempDir, removeTree} from './temp_dir.mjs';

const kSkipped = 77;

const [binaryArgument, ...options] = process.argv.slice(2);
if (!binaryArgument) {
  console.log('usage: node reference_in_browser.mjs path/to/KorvanRef [--small-only]');
  process.exit(2);
}
const binary = path.resolve(binaryArgument);

const {chromium, reason} = await findBrowser();
if (!chromium) {
  if (process.env.KORVANREF_REQUIRE_BROWSER === '1') {
    console.log(`FAILED: ${reason}, and KORVANREF_REQUIRE_BROWSER=1 asks for the browser test`);
    process.exit(1);
  }
  console.log(`SKIPPED: ${reason}`);
  process.exit(kSkipped);
}

const work = makeTempDir('korvanref-browser-');
const checks = new Checks();
const browser = await startBrowser(chromium);
try {
  fs.mkdirSync(path.join(work, 'small'));
  await checkSmallTree(checks, browser.context, binary, path.join(work, 'small'));
  if (!options.includes('--small-only')) {
    fs.mkdirSync(path.join(work, 'large'));
    await checkLargeTree(checks, browser.context, binary, path.join(work, 'large'));
  }
} catch (error) {
  checks.expect(false, 'the checks ran to the end', error.stack);
} finally {
  await browser.close();
  removeTree(work);
}
checks.summary();
process.exit(checks.failed === 0 && checks.passed > 0 ? 0 : 1);
