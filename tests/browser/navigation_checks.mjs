// The browser checks on references made with --navigation: searching and
// selecting, links to entries by number and by name, folding from the
// keyboard, expanding and collapsing all, and the links of the record pages;
// on the small tree and on the large one, where the times a reader waits are
// measured and printed.
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

import {clickHeaderText} from './index_page.mjs';
import {largeExtra, largePairs, smallRecords, writeLargeTree, writeSmallTree} from './script_trees.mjs';
import {runTool} from './tool_run.mjs';

const number = (i) => String(i).padStart(5, '0');

// Generous bounds: the figures are printed, and only a page that is plainly
// too slow fails.
const kLoadBoundMs = 20000;
const kKeystrokeBoundMs = 2000;
const kSelectBoundMs = 4000;

// What the reader sees of the index: the results' lines, the marked and the
// focused entry, the open lists, and whether the marked line is on screen.
async function indexState(page) {
  return page.evaluate(() => {
    const marked = document.querySelector('.clsMarked');
    let onScreen = false;
    if (marked) {
      const box = marked.getBoundingClientRect();
      onScreen = box.height > 0 && box.top >= 0 && box.bottom <= innerHeight;
    }
    return {
      results: [...document.querySelectorAll('#idResults li')].map((li) => li.textContent),
      marked: marked ? marked.id : null,
      focused: document.activeElement.id,
      open: [...document.querySelectorAll('ul.clsOpen')].map((list) => list.id).sort(),
      onScreen,
      field: document.getElementById('idSearch').value,
    };
  });
}

// Opens the index (with `hash`) and waits until its top level is built.
// Returns the milliseconds that took.
async function openIndex(page, dest, hash = '') {
  // From a blank page, so that a change of the link's hash alone loads the
  // index afresh.
  await page.goto('about:blank');
  const since = Date.now();
  await page.goto(pathToFileURL(path.join(dest, 'index.html')).href + hash, {timeout: 180000});
  await page.waitForFunction(() => document.querySelector('#idTree > li') !== null);
  return Date.now() - since;
}

// Types `text` into the search field, one key at a time; returns the time
// from the last key to the first results on the page.
async function typeQuery(page, text) {
  await page.focus('#idSearch');
  await page.evaluate(() => {
    document.getElementById('idSearch').value = '';
    document.getElementById('idResults').replaceChildren();
  });
  await page.keyboard.type(text.slice(0, -1));
  const since = Date.now();
  await page.keyboard.type(text.slice(-1));
  await page.waitForFunction(
      (wanted) => document.getElementById('idSearch').value === wanted &&
          document.querySelector('#idResults li') !== null,
      {}, text);
  return Date.now() - since;
}

// Presses `key` and returns the time until entry `id` is marked and focused.
async function selectBy(page, key, id) {
  const since = Date.now();
  await page.keyboard.press(key);
  await page.waitForFunction(
      (wanted) => document.activeElement.id === wanted &&
          document.activeElement.classList.contains('clsMarked'),
      {}, id);
  return Date.now() - since;
}

/// The small tree: every feature once, and every link of every record page.
export async function checkSmallNavigation(checks, browser, binary, work) {
  const source = path.join(work, 'scripts');
  const dest = path.join(work, 'reference');
  fs.mkdirSync(dest, {recursive: true});
  writeSmallTree(source);
  const run = runTool(binary, dest, source, ['--navigation']);
  checks.equal(run.status, 0, 'navigable small tree: the tool exits with 0');

  // The records' numbers: the name order of the list, states named alike
  // apart. The small tree has no two records of one name.
  const names = smallRecords.map((r) => r.name);
  const sorted = [...names].sort((a, b) => (a.toLowerCase() < b.toLowerCase() ? -1 : 1));
  const num = new Map(sorted.map((name, i) => [name, number(i)]));
  const byName = new Map(smallRecords.map((r) => [r.name, r]));
  const way = (name) => {
    const chain = [];
    for (let up = byName.get(name).parent; byName.has(up); up = byName.get(up).parent) {
      chain.unshift(up);
    }
    return chain;
  };
  const blurbs = (list) => list.map((name) => `idBlurb${num.get(name)}`).sort();
  const header = (name) => `idHeader${num.get(name)}`;

  const page = await browser.newPage();
  await openIndex(page, dest);
  let state = await indexState(page);
  checks.equal(state.focused, 'idSearch', 'the search field has the focus on opening');
  checks.equal(state.open, [], 'every list starts folded');

  // Prefix before the rest, classes before states within each.
  await typeQuery(page, 'pu');
  state = await indexState(page);
  checks.equal(
      state.results,
      ['class Pump (Machine)', 'state Pump.Pumping', 'class BilgePump (Pump)'],
      'typing "pu" lists Pump, Pumping, then BilgePump');
  await typeQuery(page, 'PUMP');
  checks.equal(
      (await indexState(page)).results[0], 'class Pump (Machine)',
      'the exact match, in any case, comes first');
  await selectBy(page, 'Enter', header('Pump'));
  state = await indexState(page);
  checks.equal(state.open, blurbs(['Machine']), 'Enter unfolds the way down to Pump');
  checks.expect(state.onScreen, 'Pump\'s marked header line is on screen');
  await page.focus('#idSearch');
  await page.keyboard.press('Escape');
  state = await indexState(page);
  checks.equal([state.field, state.results], ['', []], 'Escape clears the field and the results');

  await typeQuery(page, 'bilge');
  await page.click('#idResults a.clsPick');
  await page.waitForFunction((id) => document.activeElement.id === id, {}, header('BilgePump'));
  state = await indexState(page);
  checks.equal(
      [state.marked, state.open], [header('BilgePump'), blurbs(['Machine', 'Pump'])],
      'a click on a result\'s name selects it below its open superclasses');

  // Links to entries, by number and by name (without case).
  await openIndex(page, dest, `#${num.get('Pumping')}`);
  state = await indexState(page);
  checks.equal(
      [state.marked, state.focused, state.open, state.onScreen],
      [header('Pumping'), header('Pumping'), blurbs(['Machine', 'Pump']), true],
      'index.html#NNNNN opens with that entry unfolded to, marked and focused');
  await openIndex(page, dest, '#bilgePUMP');
  state = await indexState(page);
  checks.equal(
      [state.marked, state.open], [header('BilgePump'), blurbs(['Machine', 'Pump'])],
      'index.html#name opens with the class of that name');

  // Folding from the keyboard: Tab reaches a header line, Space folds.
  await openIndex(page, dest);
  let tabs = 0;
  while (!(await page.evaluate(() => document.activeElement.classList.contains('clsHeader')))) {
    await page.keyboard.press('Tab');
    if (++tabs > 5) break;
  }
  state = await indexState(page);
  checks.equal(state.focused, header('Gauge'), 'Tab reaches the first header line');
  await page.keyboard.press(' ');
  checks.equal((await indexState(page)).open, blurbs(['Gauge']), 'Space unfolds its list');
  const marker = await page.$eval(`#${header('Gauge')}`, (h) => h.getAttribute('aria-expanded'));
  checks.equal(marker, 'true', 'the open entry is marked as open');
  await page.keyboard.press(' ');
  checks.equal((await indexState(page)).open, [], 'Space folds it again');
  checks.expect(await clickHeaderText(page, num.get('Machine')), 'a header line can be clicked');
  checks.equal((await indexState(page)).open, blurbs(['Machine']), 'a click still folds a list');

  await page.click('#idExpandAll');
  const withChildren = smallRecords.filter((r) => names.some((n) => byName.get(n).parent === r.name));
  await page.waitForFunction(
      (n) => document.querySelectorAll('ul.clsOpen').length === n, {}, withChildren.length);
  checks.equal(
      await page.evaluate(() => document.querySelectorAll('.clsHeader').length),
      smallRecords.length, 'Expand all shows every entry');
  await page.click('#idCollapseAll');
  checks.equal((await indexState(page)).open, [], 'Collapse all folds every list');

  // Every link of every record page leads to the page of the right record.
  const readPage = () => page.evaluate(() => ({
    heading: document.querySelector('h1').textContent,
    lines: [...document.querySelectorAll('body > p')].map((p) => p.textContent),
    links: [...document.querySelectorAll('a')].map((a) => ({text: a.textContent, href: a.href})),
  }));
  for (const record of smallRecords) {
    const at = pathToFileURL(path.join(dest, `${num.get(record.name)}.html`)).href;
    await page.goto(at);
    const seen = await readPage();
    checks.equal(seen.heading, `${record.kind} ${record.name}`, `${record.name}'s page heading`);
    const childrenOf = (kind) =>
        names.filter((n) => byName.get(n).parent === record.name && byName.get(n).kind === kind);
    const expected = [...way(record.name), ...childrenOf('class'), ...childrenOf('state')];
    const linkedRecords = seen.links.slice(0, -1).map((link) => link.text);
    checks.equal(linkedRecords, expected, `${record.name}'s page links its way up and its children`);
    const script = seen.lines.find((line) => line.startsWith('Script: '));
    checks.expect(
        script && script.endsWith(`${record.kind === 'state' ? record.parent : record.name}.kc`),
        `${record.name}'s page names its script`, script);
    for (const link of seen.links.slice(0, -1)) {
      await page.goto(link.href);
      const target = await readPage();
      checks.equal(
          target.heading.replace(/^\S+ /, ''), link.text,
          `${record.name}'s link to ${link.text} opens its page`);
    }
    const back = seen.links[seen.links.length - 1];
    await page.goto(back.href);
    await page.waitForFunction(() => document.querySelector('.clsMarked') !== null);
    checks.equal(
        (await indexState(page)).marked, header(record.name),
        `${record.name}'s page leads back to its entry in the index`);
  }
  await page.close();
}

/// Checks and times the index of a large reference, made from `source` into
/// `dest`; `target` is an entry to find, `way` the entries above it.
async function timeLargeIndex(checks, browser, dest, what, target) {
  const page = await browser.newPage();
  const load = await openIndex(page, dest);
  checks.expect(load < kLoadBoundMs, `${what}: the top level shows within ${kLoadBoundMs} ms`);
  const focused = await page.evaluate(() => document.activeElement.id);
  checks.equal(focused, 'idSearch', `${what}: the search field has the focus`);
  const keystroke = await typeQuery(page, target.name.toLowerCase());
  checks.expect(
      keystroke < kKeystrokeBoundMs, `${what}: results within ${kKeystrokeBoundMs} ms of a key`);
  checks.equal(
      (await indexState(page)).results[0].split(' ').slice(0, 2).join(' '),
      `${target.kind} ${target.name}`, `${what}: ${target.name} is the first result`);
  const select = await selectBy(page, 'Enter', `idHeader${target.number}`);
  checks.expect(select < kSelectBoundMs, `${what}: selected within ${kSelectBoundMs} ms`);
  checks.expect((await indexState(page)).onScreen, `${what}: the selected entry is on screen`);
  const broad = await typeQuery(page, 'a');
  console.log(`${browser.title}: ${what}: load-to-interactive ${load} ms, keystroke-to-results ` +
              `${keystroke} ms ("a": ${broad} ms), select ${select} ms`);
  if (await page.$('#idSearch[data-members]')) await timeMembers(browser, dest, what);
  // Expand all, then a jump to the end.
  await openIndex(page, dest);
  const since = Date.now();
  await page.click('#idExpandAll');
  const shown = await page.evaluate(async () => {
    window.scrollTo(0, document.documentElement.scrollHeight);
    await new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
    return [...document.querySelectorAll('.clsHeader')].some(
        (h) => h.getBoundingClientRect().top < innerHeight && h.getBoundingClientRect().bottom > 0);
  });
  checks.expect(shown, `${what}: after Expand all the end shows entries`);
  console.log(`${browser.title}: ${what}: Expand all and a jump to the end ${Date.now() - since} ms`);
  await page.close();
}

// Times the member search of a reference made with --complete: loading the
// member data from the first key, a key with it loaded, and a pick.
async function timeMembers(browser, dest, what) {
  const page = await browser.newPage();
  await openIndex(page, dest);
  await page.focus('#idSearch');
  // The longest the page goes without running a timer while it loads.
  await page.evaluate(() => {
    let last = performance.now();
    window.longestPause = 0;
    window.pauseTimer = setInterval(() => {
      window.longestPause = Math.max(window.longestPause, performance.now() - last);
      last = performance.now();
    }, 5);
  });
  const since = Date.now();
  await page.keyboard.type('t');
  await page.waitForFunction(
      () => document.getElementById('idResults').dataset.members === 'loaded', {timeout: 120000});
  const loaded = Date.now() - since;
  const pause = await page.evaluate(() => clearInterval(window.pauseTimer) ?? Math.round(window.longestPause));
  const key = await typeQuery(page, 'hitwal');
  // The first summary shown after the results, its piece loaded on demand.
  const summarySince = Date.now();
  await page.waitForFunction(
      () => [...document.querySelectorAll('#idResults [id^="idSummary"]')].some(
          (span) => span.textContent !== ''),
      {timeout: 120000});
  const summary = Date.now() - summarySince;
  const broad = await typeQuery(page, 'e');
  await typeQuery(page, 'hitwall');
  const pickSince = Date.now();
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  const pick = Date.now() - pickSince;
  console.log(`${browser.title}: ${what}: member data loaded ${loaded} ms after the first key ` +
              `(longest pause ${pause} ms), ` +
              `keystroke-to-results ${key} ms ("e": ${broad} ms), first summary ${summary} ms ` +
              `after the results, member picked ${pick} ms`);
  // From the record page picked: "/", the first results (the records loaded
  // on the first key), the member data loaded, then a later key.
  if (await page.$('#idSearch')) {
    await page.keyboard.press('/');
    const firstSince = Date.now();
    await page.keyboard.type('t');
    await page.waitForFunction(() => document.querySelector('#idResults li') !== null,
                               {timeout: 120000});
    const first = Date.now() - firstSince;
    await page.waitForFunction(
        () => document.getElementById('idResults').dataset.members === 'loaded', {timeout: 120000});
    const members = Date.now() - firstSince;
    const later = await typeQuery(page, 'hitwal');
    console.log(`${browser.title}: ${what}: from a record page, first results ${first} ms ` +
                `after the first key, member data ${members} ms, keystroke-to-results ${later} ms`);
  }
  await page.close();
}

/// The large tree: the features on 100004 records, with the times they take.
/// KORVANREF_TIMING_INDEX may name the directory of one more navigable
/// reference (such as the benchmark's) whose times are printed too, with
/// KORVANREF_TIMING_FIND the name of a class in it to search for.
export async function checkLargeNavigation(checks, browser, binary, work) {
  const source = path.join(work, 'scripts');
  const dest = path.join(work, 'reference');
  fs.mkdirSync(dest, {recursive: true});
  writeLargeTree(source);
  const run = runTool(binary, dest, source, ['--navigation']);
  checks.equal(run.status, 0, 'navigable large tree: the tool exits with 0');
  const [top, topState, zed, zulu] = largeExtra.map((entry) => number(entry.number));
  const what = 'navigable large tree';
  await timeLargeIndex(
      checks, browser, dest, what, {name: 'Zulu', kind: 'class', number: zulu});

  const page = await browser.newPage();
  await openIndex(page, dest, `#${zulu}`);
  let state = await indexState(page);
  checks.equal(
      [state.marked, state.open, state.onScreen], [`idHeader${zulu}`, [`idBlurb${top}`, `idBlurb${zed}`], true],
      `${what}: index.html#${zulu} unfolds to record ${zulu}`);
  await openIndex(page, dest, '#zed');
  checks.equal((await indexState(page)).marked, `idHeader${zed}`, `${what}: index.html#zed finds Zed`);
  await openIndex(page, dest, `#${number(largePairs)}`);
  checks.equal(
      (await indexState(page)).open, ['idBlurb00000'], `${what}: a state's link unfolds its class`);

  // Index.html#top selects Top, whose header line then has the focus.
  await openIndex(page, dest, '#top');
  await page.keyboard.press('ArrowRight');
  state = await indexState(page);
  checks.expect(
      state.open.includes(`idBlurb${top}`) && (await page.$(`#idHeader${topState}`)) !== null,
      `${what}: Right on Top unfolds its list`, JSON.stringify(state));
  await page.keyboard.press(' ');
  checks.expect(
      !(await indexState(page)).open.includes(`idBlurb${top}`), `${what}: Space folds it again`);

  // The top level is built a slice at a time, further as the reader scrolls.
  await openIndex(page, dest);
  const builtAtFirst = await page.evaluate(() => document.querySelectorAll('#idTree > li').length);
  await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
  await page.waitForFunction(
      (n) => document.querySelectorAll('#idTree > li').length > n, {}, builtAtFirst);
  checks.expect(builtAtFirst < 1000, `${what}: the top level starts with a slice of its entries`);

  await page.evaluate(() => window.scrollTo(0, 0));
  await page.click('#idExpandAll');
  await page.waitForFunction(
      (id) => document.getElementById(id) !== null, {}, `idHeader${number(largePairs)}`);
  checks.expect(
      await page.$eval(`#idHeader${number(largePairs)}`, (h) => h.checkVisibility()),
      `${what}: Expand all shows the entries at the top unfolded`);
  await page.click('#idCollapseAll');
  checks.equal((await indexState(page)).open, [], `${what}: Collapse all folds every list`);
  await page.close();

  const extra = process.env.KORVANREF_TIMING_INDEX;
  const find = process.env.KORVANREF_TIMING_FIND;
  if (extra && find) {
    await timeLargeIndex(checks, browser, extra, `${path.basename(extra)}`, {
      name: find,
      kind: 'class',
      number: await numberIn(browser, extra, find),
    });
  }
}

// The number of the class `name` in the navigable reference in `dest`.
async function numberIn(browser, dest, name) {
  const page = await browser.newPage();
  await openIndex(page, dest, `#${name}`);
  await page.waitForFunction(() => document.querySelector('.clsMarked') !== null);
  const id = await page.evaluate(() => document.querySelector('.clsMarked').id);
  await page.close();
  return id.slice('idHeader'.length);
}
