// The browser checks of finding one's way with --navigation: the member
// search with --complete, ranked and picked; the search field and its
// results as a combobox; the tree's keys; axe-core's accessibility rules on
// the index and a record page; and "Expand all" on trees of 20000 records
// and more with a chain 60 classes deep, read at the end and at random
// points.
import fs from 'node:fs';
import {createRequire} from 'node:module';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

import {smallRecords, writeSmallTree} from './script_trees.mjs';
import {runTool} from './tool_run.mjs';

const number = (i) => String(i).padStart(5, '0');

async function openIndex(page, dest) {
  await page.goto('about:blank');
  await page.goto(pathToFileURL(path.join(dest, 'index.html')).href, {timeout: 180000});
  await page.waitForFunction(() => document.querySelector('#idTree > li') !== null);
}

// Types `text` into the emptied search field and waits for the member data.
async function search(page, text) {
  await page.focus('#idSearch');
  await page.evaluate(() => (document.getElementById('idSearch').value = ''));
  await page.keyboard.type(text);
  await page.waitForFunction(
      (wanted) => document.getElementById('idSearch').value === wanted &&
          document.getElementById('idResults').dataset.members === 'loaded',
      {}, text);
  // The results less their summaries, which load a piece at a time.
  return page.$$eval('#idResults [role=option]', (options) => options.map((o) => {
    const shown = o.cloneNode(true);
    shown.querySelector('.clsSummary')?.remove();
    return shown.textContent.trim();
  }));
}

// The violations of impact serious or critical that axe-core finds on the
// page; the lesser ones are printed.
export async function axeViolations(page) {
  const require = createRequire(import.meta.url);
  await page.evaluate(fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8'));
  const found = await page.evaluate(async () => {
    const result = await axe.run(document, {resultTypes: ['violations']});
    return {
      rules: result.passes.length + result.violations.length + result.incomplete.length,
      violations: result.violations.map(
          (v) => ({impact: v.impact, text: `${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`})),
    };
  });
  if (found.rules === 0) return ['axe-core checked no rule'];
  const lesser = found.violations.filter((v) => v.impact !== 'serious' && v.impact !== 'critical');
  for (const v of lesser) console.log(`      (axe, ${v.impact}: ${v.text})`);
  return found.violations.filter((v) => !lesser.includes(v)).map((v) => v.text);
}

const focusedId = (page) => page.evaluate(() => document.activeElement.id);

/// The small tree with --complete: members, the combobox, the keys, axe.
export async function checkFinding(checks, browser, binary, work) {
  const source = path.join(work, 'scripts');
  const dest = path.join(work, 'reference');
  fs.mkdirSync(dest, {recursive: true});
  writeSmallTree(source);
  const run = runTool(binary, dest, source, ['--navigation', '--complete']);
  checks.equal(run.status, 0, 'finding: the tool exits with 0');
  const sorted = smallRecords.map((r) => r.name)
      .sort((a, b) => (a.toLowerCase() < b.toLowerCase() ? -1 : 1));
  const header = (name) => `idHeader${number(sorted.indexOf(name))}`;

  const page = await browser.newPage();
  await openIndex(page, dest);
  checks.equal(
      await page.evaluate(() => document.querySelectorAll('script[src]').length), 0,
      'finding: the member data waits for the first key');
  const cases = [
    ['tick', ['event Machine.Tick overridden in 1', 'event Pump.Pumping.Tick']],
    ['flood', ['var BilgePump.Flooded', 'function BilgePump.IsFlooded']],
    ['pu', ['class Pump (Machine)', 'state Pump.Pumping', 'class BilgePump (Pump)']],
    ['pump.', ['state Pump.Pumping', 'var Pump.Rate', 'function Pump.Prime']],
    ['Machine.t', ['event Machine.Tick overridden in 1', 'function Machine.Start']],
    ['valve.o', ['function Valve.Open', 'event Valve.Closed']],
  ];
  for (const [query, expected] of cases) {
    checks.equal(await search(page, query), expected, `finding: "${query}" lists ${expected.length}`);
  }

  // The summaries come in as the results show their members.
  await search(page, 'valve.o');
  await page.waitForFunction(() => document.querySelector('#idResults .clsSummary').textContent !== '');
  checks.equal(await page.$$eval('#idResults .clsSummary', (spans) => spans.map((s) => s.textContent)),
               ['(int By)', '()'], 'finding: each member\'s summary, its parameters as declared');

  // The combobox: Down enters the results, Enter picks, Escape clears.
  await search(page, 'flood');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  checks.equal(
      await page.$eval('#idSearch', (f) => [f.getAttribute('aria-activedescendant'), f.getAttribute('aria-expanded')]),
      ['idOption1', 'true'], 'finding: Down moves through the results, the focus kept in the field');
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  checks.equal(
      page.url().split('/').pop(), `${number(sorted.indexOf('BilgePump'))}.html#fn-IsFlooded`,
      'finding: Enter on a member opens its record\'s page at its anchor');
  await openIndex(page, dest);
  await search(page, 'tick');
  await Promise.all([page.waitForNavigation(), page.click('#idResults [role=option]')]);
  checks.equal(
      page.url().split('/').pop(), `${number(sorted.indexOf('Machine'))}.html#fn-Tick`,
      'finding: a click on a member opens its page at its anchor');
  await openIndex(page, dest);
  await search(page, 'pu');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Escape');
  checks.equal(
      await page.evaluate(() => [document.activeElement.id, document.getElementById('idSearch').value,
                                 document.querySelectorAll('#idResults li').length]),
      ['idSearch', '', 0], 'finding: Escape returns to the field and clears it');
  await search(page, 'pu');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  await page.waitForFunction((id) => document.activeElement.id === id, {}, header('Pumping'));
  checks.expect(true, 'finding: Enter on a state selects it in the tree');

  // The tree: one tab stop, and the keys of a tree widget.
  await openIndex(page, dest);
  checks.equal(
      await page.evaluate(() => [...document.querySelectorAll('#idTree [tabindex="0"]')].length), 1,
      'keys: the tree is one tab stop');
  for (let tabs = 0; tabs < 8 && !(await focusedId(page)).startsWith('idHeader'); ++tabs) {
    await page.keyboard.press('Tab');
  }
  const steps = [
    [null, header('Gauge')],
    ['ArrowDown', header('Machine')],
    ['ArrowRight', header('Machine')],
    ['ArrowRight', header('Pump')],
    ['ArrowDown', header('Valve')],
    ['ArrowUp', header('Pump')],
    ['ArrowLeft', header('Machine')],
    ['End', header('Valve')],
    ['Home', header('Gauge')],
    ['ArrowUp', header('Gauge')],
  ];
  const seen = [];
  for (const [key] of steps) {
    if (key) await page.keyboard.press(key);
    seen.push(await focusedId(page));
  }
  checks.equal(seen, steps.map((step) => step[1]), 'keys: Tab, Down, Right, Right, Down, Up, Left, End, Home, Up');
  checks.equal(
      await page.$eval(`#${header('Machine')}`, (h) => [h.getAttribute('aria-expanded'), h.getAttribute('aria-level'),
                                                       h.getAttribute('aria-setsize'), h.getAttribute('aria-posinset')]),
      ['true', '1', '2', '2'], 'keys: Right opened Machine, the second of two at level 1');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowLeft');
  checks.equal(
      [await focusedId(page), await page.$eval(`#${header('Machine')}`, (h) => h.getAttribute('aria-expanded'))],
      [header('Machine'), 'false'], 'keys: Left goes to the parent, then shuts it');
  await page.keyboard.press('ArrowUp');
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  checks.equal(page.url().split('/').pop(), `${number(sorted.indexOf('Gauge'))}.html`, 'keys: Enter follows the entry\'s link');

  // From a record page: "/" goes to its search field, which loads the
  // index's data on first use; picking a state's member opens the state's
  // page at its anchor.
  await page.goto(pathToFileURL(path.join(dest, `${number(sorted.indexOf('Gauge'))}.html`)).href);
  await page.keyboard.press('/');
  checks.equal(await focusedId(page), 'idSearch', 'page search: "/" goes to the field');
  checks.equal(await search(page, 'pump.pumping.ti'), ['event Pump.Pumping.Tick'],
               'page search: "Class.State." lists the state\'s members');
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  checks.equal(page.url().split('/').pop(), `${number(sorted.indexOf('Pumping'))}.html#fn-Tick`,
               'page search: Enter on a state\'s member opens the state\'s page at its anchor');

  // Accessibility: the index with results and an open list, and a record page.
  await openIndex(page, dest);
  await search(page, 'pu');
  await page.click('#idExpandAll');
  checks.equal(await axeViolations(page), [], `axe: no serious violation on the index in ${browser.title}`);
  await page.goto(pathToFileURL(path.join(dest, `${number(sorted.indexOf('Pump'))}.html`)).href);
  checks.equal(await axeViolations(page), [], `axe: no serious violation on a record page in ${browser.title}`);
  // The same in the dark scheme, chosen with the switch.
  await page.click('#idScheme');
  checks.equal(await page.evaluate(() => document.documentElement.className), 'clsDark',
               'scheme: the switch makes the page dark');
  checks.equal(await axeViolations(page), [], `axe: no serious violation on a dark record page in ${browser.title}`);
  await openIndex(page, dest);
  if (!(await page.evaluate(() => document.documentElement.classList.contains('clsDark')))) {
    await page.click('#idScheme');  // where the browser does not keep the choice from file://
  }
  await search(page, 'pu');
  checks.equal(await axeViolations(page), [], `axe: no serious violation on the dark index in ${browser.title}`);
  await page.close();
}

// A tree of `records` records: a chain of 60 classes C00 > C01 > ... > C59,
// then scripts of a class Fnnnnn under one of them with three states each.
// Returns the header ids in the order the tree shows them, all unfolded, and
// the number of entries below each class of the chain.
function writeExpandTree(dir, records) {
  fs.mkdirSync(dir, {recursive: true});
  const parent = new Map();
  for (let k = 0; k < 60; ++k) {
    const name = `C${String(k).padStart(2, '0')}`;
    const above = k > 0 ? `C${String(k - 1).padStart(2, '0')}` : null;
    parent.set(name, above);
    fs.writeFileSync(path.join(dir, `${name}.kc`), `class ${name}${above ? ` expands ${above}` : ''};\n`);
  }
  for (let n = 0; parent.size + 4 <= records; ++n) {
    const name = `F${String(n).padStart(5, '0')}`;
    const above = `C${String((n * 7) % 60).padStart(2, '0')}`;
    parent.set(name, above);
    let text = `class ${name} expands ${above};\n`;
    for (const s of ['a', 'b', 'c']) {
      parent.set(`T${name.slice(1)}${s}`, name);
      text += `state T${name.slice(1)}${s} { }\n`;
    }
    fs.writeFileSync(path.join(dir, `${name}.kc`), text);
  }
  const names = [...parent.keys()].sort();
  const below = new Map(names.map((name) => [name, []]));
  for (const name of names) if (parent.get(name)) below.get(parent.get(name)).push(name);
  const index = new Map(names.map((name, i) => [name, i]));
  const preorder = [];
  const stack = names.filter((name) => !parent.get(name)).reverse();
  const chainBelow = Array(60).fill(0);
  while (stack.length > 0) {
    const name = stack.pop();
    preorder.push(`idHeader${number(index.get(name))}`);
    stack.push(...[...below.get(name)].reverse());
    for (let above = parent.get(name); above; above = parent.get(above)) {
      if (above.startsWith('C')) chainBelow[Number(above.slice(1))]++;
    }
  }
  return {preorder, chainBelow};
}

// The entries on screen, in page order.
const onScreen = (page) => page.evaluate(async () => {
  await new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
  return [...document.querySelectorAll('.clsHeader')].filter((h) => {
    const box = h.getBoundingClientRect();
    return box.height > 0 && box.bottom > 0 && box.top < innerHeight;
  }).map((h) => h.id);
});

/// "Expand all" on trees of 21000 records (every entry built) and 40000 (a
/// flat list of the rows near the window): at the end and at random points
/// the entries on screen are those the tree has there, in order.
export async function checkExpandAll(checks, browser, binary, work) {
  for (const records of [21000, 40000]) {
    const what = `expand all (${records} records)`;
    const source = path.join(work, `scripts-${records}`);
    const dest = path.join(work, `reference-${records}`);
    const {preorder, chainBelow} = writeExpandTree(source, records);
    fs.mkdirSync(dest, {recursive: true});
    checks.equal(runTool(binary, dest, source, ['--navigation']).status, 0, `${what}: the tool exits with 0`);
    const page = await browser.newPage();
    await openIndex(page, dest);
    // The time from a click to the next frame drawn (the task after it).
    const timed = (action) => page.evaluate((text) => new Promise((done) => {
      const since = performance.now();
      new Function(text)();
      requestAnimationFrame(() => setTimeout(() => done(Math.round(performance.now() - since)), 0));
    }), action);
    const expanded = await timed("document.getElementById('idExpandAll').click()");
    const toEnd = await timed('window.scrollTo(0, document.documentElement.scrollHeight)');
    await page.evaluate(() => window.scrollTo(0, 0));
    if (records < 30000) {
      checks.equal(
          await page.evaluate(() => [...document.querySelectorAll('.clsHeader')].filter((h) => h.checkVisibility()).map((h) => h.id)),
          preorder, `${what}: every entry is built and shown, in order`);
      // Folding C30 hides what is below it, and the page is that much shorter.
      const fold = () => page.evaluate(() => {
        document.getElementById('idHeader00030').click();
        return [[...document.querySelectorAll('.clsHeader')].filter((h) => h.checkVisibility()).map((h) => h.id),
          document.documentElement.scrollHeight];
      });
      const [folded, foldedHeight] = await fold();
      const [unfolded, height] = await fold();
      const row = (height - foldedHeight) / chainBelow[30];
      checks.equal([folded, unfolded], [[...preorder.slice(0, 31), ...preorder.slice(31 + chainBelow[30])], preorder],
          `${what}: folding and unfolding the chain's C30 hides and shows what is below it`);
      checks.expect(row > 10 && row < 40 && height > row * preorder.length, `${what}: the page's height follows the rows shown`,
          `${foldedHeight} ${height}`);
    }
    const place = new Map(preorder.map((id, k) => [id, k]));
    const inOrder = (seen) =>
        seen.length >= 15 && seen.every((id, k) => place.get(id) === place.get(seen[0]) + k);
    await page.evaluate(() => window.scrollTo(0, document.documentElement.scrollHeight));
    let seen = await onScreen(page);
    checks.expect(
        inOrder(seen) && seen[seen.length - 1] === preorder[preorder.length - 1],
        `${what}: the end shows the last entries in order`, JSON.stringify(seen.slice(-3)));
    let random = 12345;
    for (let jump = 0; jump < 6; ++jump) {
      random = (random * 1103515245 + 12345) % 2147483648;
      const fraction = random / 2147483648;
      await page.evaluate((f) => window.scrollTo(0, f * (document.documentElement.scrollHeight - innerHeight)), fraction);
      seen = await onScreen(page);
      checks.expect(inOrder(seen), `${what}: at ${(100 * fraction).toFixed(1)} % the entries follow on`, JSON.stringify(seen.slice(0, 3)));
    }
    // The chain's last class is found and shown where it belongs.
    await page.evaluate(() => (location.hash = '#C59'));
    await page.waitForFunction(() => document.querySelector('.clsMarked') !== null);
    seen = await onScreen(page);
    checks.expect(inOrder(seen) && seen.includes(preorder[59]), `${what}: #C59 shows the chain's last class in place`);
    console.log(`${browser.title}: ${what}: expand all ${expanded} ms, to the end ${toEnd} ms`);
    await page.close();
  }
}
