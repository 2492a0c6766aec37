// The browser checks on a reference of more than 100000 records: entries
// numbered 100000 and up fold their own sub-lists, not those of the records
// whose numbers end in the same five digits.
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

import {clickHeaderText, clickLink, countOf, entryNumber, headerShown, readRecordPage, shownSubLists} from './index_page.mjs';
import {largeExtra, largePairs, writeLargeTree} from './script_trees.mjs';
import {runTool} from './tool_run.mjs';

function seconds(since) { return ((Date.now() - since) / 1000).toFixed(1); }

/// Runs the checks; `work` is an empty directory to build the tree in.
export async function checkLargeTree(checks, browser, binary, work) {
  const source = path.join(work, 'scripts');
  const dest = path.join(work, 'reference');
  fs.mkdirSync(dest, {recursive: true});
  let since = Date.now();
  writeLargeTree(source);
  console.log(`large tree: ${largePairs + 3} scripts written in ${seconds(since)} s`);
  since = Date.now();
  const run = runTool(binary, dest, source);
  console.log(`large tree: the tool ran in ${seconds(since)} s`);
  checks.equal(run.status, 0, 'large tree: the tool exits with 0');
  checks.expect(
      run.out.endsWith('Generating output... Complete.\n'), 'large tree: the tool completes',
      run.out.slice(-200));

  since = Date.now();
  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.join(dest, 'index.html')).href, {timeout: 180000});
  console.log(`large tree: the index loaded in ${browser.title} in ${seconds(since)} s`);

  const total = 2 * largePairs + largeExtra.length;
  checks.equal(await countOf(page, 'li.clsHeader'), total, `large tree: ${total} entries`);
  for (const entry of largeExtra) {
    checks.equal(
        await entryNumber(page, entry.name), String(entry.number),
        `${entry.name} is record ${entry.number}`);
  }
  const first = '00000';
  const firstState = String(largePairs);  // S00000, in record 0's sub-list
  checks.equal(await entryNumber(page, 'A00000'), first, 'A00000 is record 0');
  checks.equal(await entryNumber(page, 'S00000'), firstState, `S00000 is record ${firstState}`);
  checks.equal(await shownSubLists(page), [], 'large tree: every sub-list starts hidden');

  const [top, topState, zed, zulu] = largeExtra.map((entry) => String(entry.number));
  since = Date.now();
  checks.expect(await clickHeaderText(page, top), `record ${top}'s header text can be clicked`);
  checks.equal(
      await shownSubLists(page), [`idBlurb${top}`],
      `a click on record ${top} shows its own sub-list and no other`);
  checks.expect(await headerShown(page, topState), `record ${topState} shows under record ${top}`);
  checks.expect(await headerShown(page, zed), `record ${zed} shows under record ${top}`);
  checks.expect(
      !(await headerShown(page, zulu)), `record ${zulu} stays folded under record ${zed}`);
  checks.expect(!(await headerShown(page, firstState)), 'record 0\'s sub-list stays hidden');

  checks.expect(await clickHeaderText(page, zed), `record ${zed}'s header text can be clicked`);
  checks.equal(
      await shownSubLists(page),
      [`idBlurb${top}`, `idBlurb${zed}`],
      `a click on the nested record ${zed} shows its own sub-list too`,
  );
  checks.expect(await headerShown(page, zulu), `record ${zulu} shows under record ${zed}`);
  await clickHeaderText(page, zed);
  checks.equal(
      await shownSubLists(page), [`idBlurb${top}`], `a second click on record ${zed} hides it`);
  await clickHeaderText(page, top);
  checks.equal(await shownSubLists(page), [], `a second click on record ${top} hides it`);
  checks.expect(!(await headerShown(page, zed)), `record ${zed} is hidden again`);
  console.log(`large tree: the fold clicks took ${seconds(since)} s in ${browser.title}`);

  checks.expect(await clickHeaderText(page, first), 'record 0\'s header text can be clicked');
  checks.equal(
      await shownSubLists(page), [`idBlurb${first}`], 'a click on record 0 shows its own sub-list');
  checks.expect(await headerShown(page, firstState), `record ${firstState} shows under record 0`);
  await clickHeaderText(page, first);
  checks.equal(await shownSubLists(page), [], 'a second click on record 0 hides it');

  const opened = await clickLink(page, top);
  checks.expect(
      opened.url().endsWith(`/${top}.html`), `record ${top}'s link opens ${top}.html`,
      opened.url());
  const seen = await readRecordPage(opened);
  checks.equal(seen.title, 'Class Top', `${top}.html is the page of Top`);
  await opened.close();
  await page.close();
}
