// Takes the pictures of the README and docs/manual.md: the index of the
// examples/ tree with every entry clicked open, and the page of one record,
// both in headless Chromium; then, made with --navigation, the index with a
// search in progress and a record page with its links; and, made with
// --navigation --complete, a source page, rich pages of two classes (one
// with every kind of type link and the defaults it starts with), a use page
// and a page of references; and, made with --navigation --compare, the
// changes page of the examples against an edited copy.
//
//   npm ci --prefix tests/browser
//   node tests/browser/screenshots.mjs build/KorvanRef
//
// Writes docs/index.png, docs/record-page.png, docs/navigation-search.png,
// docs/navigation-record.png, docs/source-page.png, docs/rich-record.png,
// docs/rich-links.png, docs/use-page.png, docs/refs-page.png,
// docs/changes-page.png, and a search from a record page in both schemes:
// docs/page-search.png and docs/page-search-dark.png.
import fs from 'node:fs';
import path from 'node:path';
import {fileURLToPath, pathToFileURL} from 'node:url';

import {findBrowser, startBrowser} from './browser.mjs';
import {clickHeaderText, entryNumber} from './index_page.mjs';
import {makeTempDir, removeTree} from './temp_dir.mjs';
import {runTool} from './tool_run.mjs';

const repo = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
const docs = path.join(repo, 'docs');
const shownRecord = 'Creature';
// The line of its script the source page is opened at.
const sourceLine = 20;

const binaryArgument = process.argv[2];
if (!binaryArgument) {
  console.log('usage: node tests/browser/screenshots.mjs path/to/KorvanRef');
  process.exit(2);
}
const {found, reason} = await findBrowser('chromium');
if (!found) {
  console.log(`Cannot take screenshots: ${reason}`);
  process.exit(1);
}

const work = makeTempDir('korvanref-screenshots-');
const browser = await startBrowser(found, {width: 900, height: 400});
let failed = false;
try {
  const run = runTool(path.resolve(binaryArgument), work, path.join(repo, 'examples'));
  if (run.status !== 0) throw new Error(`KorvanRef failed:\n${run.out}${run.err}`);
  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.join(work, 'index.html')).href);

  // Headers come in page order, so each one's header is shown by the time
  // its turn comes.
  const headers = await page.evaluate(
      () => [...document.querySelectorAll('li.clsHeader')].map(
          (header) => header.id.slice('idHeader'.length)),
  );
  for (const number of headers) {
    if (!(await clickHeaderText(page, number)))
      throw new Error(`entry ${number} could not be clicked open`);
  }
  await page.evaluate(() => window.scrollTo(0, 0));
  fs.mkdirSync(docs, {recursive: true});
  await page.screenshot({path: path.join(docs, 'index.png'), fullPage: true});

  const number = await entryNumber(page, shownRecord);
  if (number === null) throw new Error(`no entry for ${shownRecord}`);
  await page.goto(pathToFileURL(path.join(work, `${number}.html`)).href);
  // A short viewport, so that the whole-page picture ends with the page.
  await page.setViewport({width: 900, height: 100});
  await page.screenshot({path: path.join(docs, 'record-page.png'), fullPage: true});
  console.log(`Wrote ${path.join(docs, 'index.png')} and ${path.join(docs, 'record-page.png')}`);

  // With --navigation and --complete: Villager picked by a link to its
  // entry, then a search typed into the field, members found too.
  const navigable = path.join(work, 'navigable');
  fs.mkdirSync(navigable);
  const navRun =
      runTool(path.resolve(binaryArgument), navigable, path.join(repo, 'examples'), ['--navigation', '--complete']);
  if (navRun.status !== 0) throw new Error(`KorvanRef --navigation failed:\n${navRun.out}`);
  await page.setViewport({width: 900, height: 420});
  await page.goto(pathToFileURL(path.join(navigable, 'index.html')).href + '#Villager');
  await page.focus('#idSearch');
  await page.keyboard.type('r');
  await page.waitForFunction(() => document.getElementById('idResults').dataset.members === 'loaded');
  await page.keyboard.press('ArrowDown');
  await page.screenshot({path: path.join(docs, 'navigation-search.png')});
  const creature = await page.evaluate(
      (name) => [...document.querySelectorAll('#idResults a.clsPick')]
                    .find((link) => link.querySelector('b').textContent === name)
                    .getAttribute('href')
                    .slice(1),
      shownRecord);
  await page.goto(pathToFileURL(path.join(navigable, `${creature}.html`)).href);
  await page.setViewport({width: 900, height: 100});
  await page.screenshot({path: path.join(docs, 'navigation-record.png'), fullPage: true});
  console.log(`Wrote ${path.join(docs, 'navigation-search.png')} and ` +
              `${path.join(docs, 'navigation-record.png')}`);

  // With --navigation --complete: the source page of Creature's script,
  // opened at a line by a link to it.
  const complete = path.join(work, 'complete');
  fs.mkdirSync(complete);
  const completeRun = runTool(path.resolve(binaryArgument), complete, path.join(repo, 'examples'),
                              ['--navigation', '--complete']);
  if (completeRun.status !== 0) {
    throw new Error(`KorvanRef --navigation --complete failed:\n${completeRun.out}`);
  }
  await page.goto(pathToFileURL(path.join(complete, `${creature}.html`)).href);
  const source = await page.evaluate(
      () => document.querySelector('a[href^="source-"]').getAttribute('href').split('#')[0]);
  await page.goto(`${pathToFileURL(path.join(complete, source)).href}#L${sourceLine}`);
  await page.screenshot({path: path.join(docs, 'source-page.png'), fullPage: true});
  console.log(`Wrote ${path.join(docs, 'source-page.png')}`);

  // A search from Creature's page, in the light scheme and the dark.
  await page.setViewport({width: 900, height: 420});
  await page.goto(pathToFileURL(path.join(complete, `${creature}.html`)).href);
  await page.keyboard.press('/');
  await page.keyboard.type('ti');
  await page.waitForFunction(() => document.getElementById('idResults').dataset.members === 'loaded');
  // With the results' summaries, which load a piece at a time.
  await page.waitForFunction(() => [...document.querySelectorAll('#idResults [id^="idSummary"]')].some(
                                 (span) => span.textContent !== ''));
  await page.screenshot({path: path.join(docs, 'page-search.png')});
  await page.click('#idScheme');
  await page.focus('#idSearch');
  await page.screenshot({path: path.join(docs, 'page-search-dark.png')});
  // Back to the light scheme, which the switch keeps for the pages after.
  await page.click('#idScheme');
  console.log(`Wrote ${path.join(docs, 'page-search.png')} and ${path.join(docs, 'page-search-dark.png')}`);

  // With --navigation --complete, the rich page of the class Creature of
  // the end-to-end tests' tree of every construct.
  const rich = path.join(work, 'rich');
  fs.mkdirSync(rich);
  const richRun = runTool(path.resolve(binaryArgument), rich,
                          path.join(repo, 'tests', 'e2e', 'complete', 'tree'),
                          ['--navigation', '--complete']);
  if (richRun.status !== 0) throw new Error(`KorvanRef --navigation --complete failed:\n${richRun.out}`);
  await page.goto(pathToFileURL(path.join(rich, '00002.html')).href);
  await page.setViewport({width: 900, height: 100});
  await page.screenshot({path: path.join(docs, 'rich-record.png'), fullPage: true});
  // Bat: every kind of type name linked, and the defaults it starts with.
  await page.goto(pathToFileURL(path.join(rich, '00001.html')).href);
  await page.screenshot({path: path.join(docs, 'rich-links.png'), fullPage: true});
  // Who uses Creature, its enumerations and its structure.
  await page.goto(pathToFileURL(path.join(rich, 'use-00002.html')).href);
  await page.screenshot({path: path.join(docs, 'use-page.png'), fullPage: true});
  // Who refers to Creature's function Touched: the page of references at
  // its section, Super calls apart.
  await page.goto(pathToFileURL(path.join(rich, 'refs-00002.html')).href);
  // Clipped from the page as it stands unscrolled, clear of the search bar.
  const touched = await (await page.$('#fn-Touched')).boundingBox();
  await page.screenshot({path: path.join(docs, 'refs-page.png'), clip: touched});
  console.log(`Wrote ${path.join(docs, 'rich-record.png')}, ${path.join(docs, 'rich-links.png')}, ` +
              `${path.join(docs, 'use-page.png')} and ${path.join(docs, 'refs-page.png')}`);

  // With --navigation --compare: the changes page of a copy of the examples
  // with a class removed, one added and members edited, against the
  // examples' model file.
  const before = path.join(work, 'before');
  const after = path.join(work, 'after');
  const edited = path.join(work, 'edited');
  for (const dir of [before, after]) fs.mkdirSync(dir);
  fs.cpSync(path.join(repo, 'examples'), edited, {recursive: true});
  const jsonRun = runTool(path.resolve(binaryArgument), before, path.join(repo, 'examples'),
                          ['--json']);
  if (jsonRun.status !== 0) throw new Error(`KorvanRef --json failed:\n${jsonRun.out}`);
  const creatureScript = path.join(edited, 'creatures', 'Creature.kc');
  fs.writeFileSync(creatureScript,
                   fs.readFileSync(creatureScript, 'latin1')
                       .replace('var int MaxHealth;', 'var float Stamina;')
                       .replace('function Died(Entity Killer)',
                                'function Died(Entity Killer, name DamageType)'),
                   'latin1');
  fs.rmSync(path.join(edited, 'props', 'Lantern.kc'));
  fs.writeFileSync(path.join(edited, 'props', 'Torch.kc'),
                   'class Torch expands Entity;\n\nvar() float Brightness;\n');
  const compareRun = runTool(path.resolve(binaryArgument), after, edited,
                             ['--navigation', '--compare', path.join(before, 'model.json')]);
  if (compareRun.status !== 0) throw new Error(`KorvanRef --compare failed:\n${compareRun.out}`);
  await page.goto(pathToFileURL(path.join(after, 'changes.html')).href);
  await page.screenshot({path: path.join(docs, 'changes-page.png'), fullPage: true});
  console.log(`Wrote ${path.join(docs, 'changes-page.png')}`);
} catch (error) {
  console.log(error.stack);
  failed = true;
} finally {
  await browser.close();
  removeTree(work);
}
process.exit(failed ? 1 : 0);
