// Reads generated references in headless browsers as a person would: folds
// entries open and shut by clicking their header lines, follows their links
// and reads the record pages. Every suite of checks runs in every browser
// named (by default all that browser.mjs knows: chromium, firefox).
//
//   node tests/browser/reference_in_browser.mjs path/to/KorvanRef
//        [--browser NAME]... [--small-only] [--suite NAME]...
//
// Exits 0 when every check passed, 1 when one failed, and 77 (skipped) when
// a browser or puppeteer-core is missing, unless KORVANREF_REQUIRE_BROWSER=1
// makes that a failure too.
import fs from 'node:fs';
import path from 'node:path';

import {browserNames, findBrowser, startBrowser} from './browser.mjs';
import {Checks} from './checks.mjs';
import {checkExpandAll, checkFinding} from './find_checks.mjs';
import {checkLargeTree} from './large_tree_checks.mjs';
import {checkLargeNavigation, checkSmallNavigation} from './navigation_checks.mjs';
import {checkRichPages} from './rich_page_checks.mjs';
import {checkSmallTree} from './small_tree_checks.mjs';
import {makeTempDir, removeTree} from './temp_dir.mjs';

const kSkipped = 77;
const usage = 'usage: node reference_in_browser.mjs path/to/KorvanRef ' +
    `[--browser ${browserNames.join('|')}]... [--small-only] [--suite NAME]...`;

// The suites of checks, each run in every browser: `run(checks, browser,
// binary, work)` builds its tree in the empty directory `work`. Large ones
// are left out by --small-only; --suite runs only those named.
const suites = [
  {name: 'small', run: checkSmallTree, large: false},
  {name: 'large', run: checkLargeTree, large: true},
  {name: 'navigable-small', run: checkSmallNavigation, large: false},
  {name: 'navigable-large', run: checkLargeNavigation, large: true},
  {name: 'rich-small', run: checkRichPages, large: false},
  {name: 'finding', run: checkFinding, large: false},
  {name: 'expand-all', run: checkExpandAll, large: true},
];

const [binaryArgument, ...options] = process.argv.slice(2);
const named = [];
const only = [];
let smallOnly = false;
for (let i = 0; i < options.length; ++i) {
  if (options[i] === '--small-only') {
    smallOnly = true;
  } else if (options[i] === '--browser' && browserNames.includes(options[i + 1])) {
    named.push(options[++i]);
  } else if (options[i] === '--suite' && suites.some((suite) => suite.name === options[i + 1])) {
    only.push(options[++i]);
  } else {
    console.log(usage);
    process.exit(2);
  }
}
if (!binaryArgument) {
  console.log(usage);
  process.exit(2);
}
const binary = path.resolve(binaryArgument);

function seconds(since) { return ((Date.now() - since) / 1000).toFixed(1); }

// Runs every suite in browser `name`; returns false when it cannot start.
async function runIn(name, checks) {
  const {found, reason} = await findBrowser(name);
  if (!found) {
    if (process.env.KORVANREF_REQUIRE_BROWSER === '1') {
      checks.expect(
          false, `${name} can be driven`, `${reason}, and KORVANREF_REQUIRE_BROWSER=1 asks for it`);
    } else {
      console.log(`SKIPPED: ${reason}`);
    }
    return false;
  }
  const since = Date.now();
  const work = makeTempDir('korvanref-browser-');
  let browser = null;
  try {
    browser = await startBrowser(found);
    console.log(`${browser.title}: started in ${seconds(since)} s`);
    for (const suite of suites) {
      if ((suite.large && smallOnly) || (only.length > 0 && !only.includes(suite.name))) continue;
      const dir = path.join(work, suite.name);
      fs.mkdirSync(dir);
      await suite.run(checks, browser, binary, dir);
    }
  } catch (error) {
    checks.expect(false, `the checks ran to the end in ${name}`, error.stack);
  } finally {
    if (browser) await browser.close();
    removeTree(work);
  }
  console.log(`${found.kind.title}: every suite took ${seconds(since)} s`);
  return true;
}

const checks = new Checks();
let skipped = false;
for (const name of named.length ? named : browserNames) {
  if (!(await runIn(name, checks))) skipped = true;
}
checks.summary();
if (checks.failed > 0) process.exit(1);
if (skipped) process.exit(kSkipped);
process.exit(checks.passed > 0 ? 0 : 1);
