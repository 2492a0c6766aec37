// The browser checks on the reference of the small hand-written tree: every
// sub-list starts hidden, a click on a header's text folds exactly its own
// sub-list open and shut at every depth, and every link opens the page of
// its own record, which shows its declarations as text.
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

import {clickHeaderText, clickLink, countOf, entryNumber, headerShown, headerText, readRecordPage, shownSubLists, visibleText} from './index_page.mjs';
import {smallRecords, writeSmallTree} from './script_trees.mjs';
import {runTool} from './tool_run.mjs';

const byName = new Map(smallRecords.map((record) => [record.name, record]));
const childrenOf = (name) => smallRecords.filter((r) => r.parent === name).map((r) => r.name);

// The names from the root down to, not including, `name`.
function ancestorsOf(name) {
  const chain = [];
  for (let up = byName.get(name).parent; byName.has(up); up = byName.get(up).parent) {
    chain.unshift(up);
  }
  return chain;
}

/// Runs the checks; `work` is an empty directory to build the tree in.
export async function checkSmallTree(checks, browser, binary, work) {
  const source = path.join(work, 'scripts');
  const dest = path.join(work, 'reference');
  fs.mkdirSync(dest, {recursive: true});
  writeSmallTree(source);
  const run = runTool(binary, dest, source);
  checks.equal(run.status, 0, 'small tree: the tool exits with 0');
  checks.expect(
      run.out.endsWith('Generating output... Complete.\n'), 'small tree: the tool completes',
      run.out);

  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.join(dest, 'index.html')).href);

  const number = new Map();
  for (const record of smallRecords) number.set(record.name, await entryNumber(page, record.name));
  const numbers = [...number.values()];
  checks.expect(
      numbers.every((n) => n !== null) && new Set(numbers).size === smallRecords.length,
      'every record has its own entry',
      JSON.stringify(Object.fromEntries(number)),
  );
  if (!numbers.every((n) => n !== null)) return;
  const blurb = (name) => `idBlurb${number.get(name)}`;
  const shownFor = (names) => names.map(blurb).sort();
  const shown = async () => (await shownSubLists(page)).sort();

  for (const record of smallRecords) {
    const text = await headerText(page, number.get(record.name));
    const start = `${record.kind} ${record.name} (${record.parent}),`;
    checks.expect(text.startsWith(start), `${record.name}'s header line starts "${start}"`, text);
  }

  checks.equal(await countOf(page, 'ul.clsBlurb'), smallRecords.length, 'one sub-list per entry');
  checks.equal(await shown(), [], 'every sub-list starts hidden');
  for (const record of smallRecords) {
    const isRoot = !byName.has(record.parent);
    checks.equal(
        await headerShown(page, number.get(record.name)),
        isRoot,
        `${record.name}'s header line is ${isRoot ? 'shown' : 'hidden'} at first`,
    );
  }

  // Every entry, leaves and nested ones too: open the way down to it, then a
  // click on its text shows its own sub-list and no other, a second hides it.
  for (const record of smallRecords) {
    const above = ancestorsOf(record.name);
    for (const name of above) await clickHeaderText(page, number.get(name));
    checks.equal(await shown(), shownFor(above), `the way down to ${record.name} is open`);
    const clicked = await clickHeaderText(page, number.get(record.name));
    checks.expect(clicked, `${record.name}'s header text can be clicked`);
    checks.equal(
        await shown(), shownFor([...above, record.name]),
        `a click on ${record.name} shows its own sub-list and no other`);
    for (const child of childrenOf(record.name)) {
      checks.expect(
          await headerShown(page, number.get(child)), `${child} shows under ${record.name}`);
      for (const grandchild of childrenOf(child)) {
        checks.expect(
            !(await headerShown(page, number.get(grandchild))),
            `${grandchild} stays folded under ${child}`);
      }
    }
    await clickHeaderText(page, number.get(record.name));
    checks.equal(await shown(), shownFor(above), `a second click on ${record.name} hides it again`);
    for (const child of childrenOf(record.name)) {
      checks.expect(!(await headerShown(page, number.get(child))), `${child} is hidden again`);
    }
    for (const name of above.reverse()) await clickHeaderText(page, number.get(name));
    checks.equal(await shown(), [], `folding the way back up to ${record.name} hides everything`);
  }

  // Every link opens its record's page and leaves the folding as it was.
  for (const record of smallRecords) {
    const above = ancestorsOf(record.name);
    for (const name of above) await clickHeaderText(page, number.get(name));
    const opened = await clickLink(page, number.get(record.name));
    checks.expect(
        opened.url().endsWith(`/${number.get(record.name)}.html`),
        `${record.name}'s link opens ${number.get(record.name)}.html`,
        opened.url(),
    );
    checks.equal(await shown(), shownFor(above), `a click on ${record.name}'s link folds nothing`);
    const seen = await readRecordPage(opened);
    checks.equal(
        seen,
        {
          title: `Class ${record.name}`,
          headings: ['Variables:', 'Events:', 'Functions:'],
          lists: [record.vars, record.events, record.functions],
        },
        `${record.name}'s page shows its title and declarations`,
    );
    if (record.name === 'Machine') {
      const text = await visibleText(opened);
      checks.expect(
          text.includes('var class<Actor> C'), 'Machine\'s page reads "var class<Actor> C"', text);
    }
    await opened.close();
    for (const name of above.reverse()) await clickHeaderText(page, number.get(name));
  }
  await page.close();
}
