// The browser checks on the rich record pages (--navigation --complete) of a
// small tree written to hold every construct: each section shows its members
// in order, every member's anchor lands on its declaration, the "Overrides"
// and "Inherited from" links land on the right ancestor's declaration, the
// source links name the right page and line, the names of a source page
// lead to their declarations, the shared stylesheet is applied, and names
// and texts holding markup show as text.
import fs from 'node:fs';
import path from 'node:path';
import {pathToFileURL} from 'node:url';

import {axeViolations} from './find_checks.mjs';
import {runTool} from './tool_run.mjs';

// Three classes, Leaf under Middle under Base, and states. Names that differ
// only in case (touched, Touched), a variable declared twice, a state that
// extends its namesake in the superclass and one that extends nothing there,
// operators, bytes above 0x7F and markup in names, values and comments.
// Written as windows-1252 bytes.
const richFiles = {
  'core/Base.kc': `/** The root of the test tree.
 *  Holds <b>bold</b> & "quoted" text. */
class Base native;

const Limit = 10;
const Motto = "</script><b>&amp;</b>";
enum EState { ST_Off, ST_On };
struct Point { var float X, Y; };

/** Where it is. */
var(Place) vector Where;
var int Count; // How many.
var int Caf\u00e9;

/** Starts it. */
function Start(optional int Delay) { Count = 0; }
event Touched(Base Other);
native function Stop();
native static final operator(20) bool && (bool A, bool B);
native static final preoperator bool < (Base A);

state Sleeping
{
    function Wake() { }
}

defaultproperties
{
    Count=3
    Motto2="<i>x</i>"
}
`,
  'things/Middle.kc': `class Middle extends Base;

var(Place) float Height;
var(Look) string Tint;
var float Height;

function Start(optional int Delay) { }
function touched(Base Other) { }

state Sleeping extends Sleeping
{
    ignores Stop, Nothing;
    function Wake() { }
}
state Busy extends Missing { }
`,
  'things/Leaf.kc': `class Leaf extends Middle;

const Limit = 20;
function Stop() { }
event Touched(Base Other) { }
`,
};

// Each page: its record number (the order of the names), the record whose
// script it shows, its heading, and its sections with their members as
// [anchor, declaration, line]; inherited members as the reader sees them.
const richPages = [
  {
    number: '00000', source: '00000', title: 'class Base', heading: 'class Base',
    sections: [
      ['Constants', [
        ['const-Limit', 'const Limit = 10', 5],
        ['const-Motto', 'const Motto = "</script><b>&amp;</b>"', 6]]],
      ['Enumerations', [['enum-EState', 'enum EState { ST_Off, ST_On }', 7]]],
      ['Structures', [
        ['struct-Point', 'struct Point', 8], ['var-Point.X', 'var float X', 8],
        ['var-Point.Y', 'var float Y', 8]]],
      ['Variables', [
        ['var-Where', 'var(Place) vector Where', 11], ['var-Count', 'var int Count', 12],
        ['var--436166e9', 'var int Caf\u00e9', 13]]],
      ['Events', [['fn-Touched', 'event Touched(Base Other)', 17]]],
      ['Functions', [
        ['fn-Start', 'function Start(optional int Delay)', 16],
        ['fn-Stop', 'native function Stop()', 18],
        ['fn--2626', 'native static final operator(20) bool &&(bool A, bool B)', 19],
        ['fn--3c', 'native static final preoperator bool <(Base A)', 20]]],
      ['States', [['state-Sleeping', 'state Sleeping', 22]]],
      ['Default properties', []],
    ],
    groups: ['Place', 'No category'],
    inherited: [],
  },
  {
    number: '00001', source: '00003', title: 'state Middle.Busy', heading: 'state Busy',
    sections: [], groups: [], inherited: [],
  },
  {
    number: '00002', source: '00002', title: 'class Leaf', heading: 'class Leaf',
    sections: [
      ['Constants', [['const-Limit', 'const Limit = 20', 3]]],
      ['Events', [['fn-Touched', 'event Touched(Base Other)', 5]]],
      ['Functions', [['fn-Stop', 'function Stop()', 4]]],
      // Base's defaults, which every class below it starts with.
      ['Default properties', []],
      ['Inherited members', []],
    ],
    groups: [],
    inherited: [
      'Inherited from Middle', 'variables: Height, Tint', 'functions: Start',
      'states: Busy, Sleeping', 'Inherited from Base', 'constants: Motto', 'enumerations: EState',
      'structures: Point', 'variables: Where, Count, Caf\u00e9', 'functions: &&, <',
    ],
  },
  {
    number: '00003', source: '00003', title: 'class Middle', heading: 'class Middle',
    sections: [
      ['Variables', [
        ['var-Height', 'var(Place) float Height', 3], ['var-Tint', 'var(Look) string Tint', 4],
        ['var-Height-2', 'var float Height', 5]]],
      ['Functions', [
        ['fn-Start', 'function Start(optional int Delay)', 7],
        ['fn-touched', 'function touched(Base Other)', 8]]],
      ['States', [
        ['state-Busy', 'state Busy extends Missing', 15],
        ['state-Sleeping', 'state Sleeping extends Sleeping', 10]]],
      ['Default properties', []],
      ['Inherited members', []],
    ],
    groups: ['Place', 'Look', 'No category'],
    inherited: [
      'Inherited from Base', 'constants: Limit, Motto', 'enumerations: EState',
      'structures: Point', 'variables: Where, Count, Caf\u00e9', 'functions: Stop, &&, <',
    ],
  },
  {
    number: '00004', source: '00003', title: 'state Middle.Sleeping', heading: 'state Sleeping',
    sections: [['Functions', [['fn-Wake', 'function Wake()', 13]]]], groups: [], inherited: [],
  },
  {
    number: '00005', source: '00000', title: 'state Base.Sleeping', heading: 'state Sleeping',
    sections: [['Functions', [['fn-Wake', 'function Wake()', 24]]]], groups: [], inherited: [],
  },
];

// Where the links that name an ancestor's member must land: link text to
// [page number, anchor].
const overrides = {
  '00002': {'Middle.touched': ['00003', 'fn-touched'], 'Base.Stop': ['00000', 'fn-Stop']},
  '00003': {'Base.Start': ['00000', 'fn-Start'], 'Base.Touched': ['00000', 'fn-Touched']},
};

function writeRichTree(dir) {
  for (const [name, text] of Object.entries(richFiles)) {
    const file = path.join(dir, name);
    fs.mkdirSync(path.dirname(file), {recursive: true});
    fs.writeFileSync(file, Buffer.from(text, 'latin1'));
  }
}

// What the reader sees of a rich page.
function readRichPage(page) {
  return page.evaluate(() => ({
    title: document.title,
    heading: document.querySelector('h1').textContent,
    sections: [...document.querySelectorAll('section')].map((section) => [
      section.querySelector('h2').textContent,
      [...section.querySelectorAll('.m')].map(
          (m) => [m.id, m.querySelector('code').textContent,
                  m.querySelector('a.ln').getAttribute('href')]),
    ]),
    groups: [...document.querySelectorAll('h3')].map((h) => h.textContent),
    inherited: [...document.querySelectorAll('dt, dd')].map((d) => d.textContent),
    stylesheet: getComputedStyle(document.querySelector('header')).borderBottomStyle,
    // The search field's own script aside.
    scripts: document.querySelectorAll('script:not([src="find.js"])').length,
  }));
}

// Follows the link `href` from `from` (a page URL); returns the page's
// number, title, and the id and declaration of the element its anchor
// targets.
async function land(page, from, href) {
  await page.goto('about:blank');
  await page.goto(new URL(href, from).href);
  return page.evaluate(() => {
    const target = document.querySelector(':target');
    return {
      number: location.pathname.split('/').pop().replace('.html', ''),
      title: document.title,
      id: target ? target.id : null,
      declaration: target ? target.querySelector('code').textContent : null,
    };
  });
}

/// Runs the checks; `work` is an empty directory to build the tree in.
export async function checkRichPages(checks, browser, binary, work) {
  const source = path.join(work, 'scripts');
  const dest = path.join(work, 'reference');
  fs.mkdirSync(dest, {recursive: true});
  writeRichTree(source);
  const run = runTool(binary, dest, source, ['--navigation', '--complete']);
  checks.equal(run.status, 0, 'rich pages: the tool exits with 0');
  checks.expect(fs.existsSync(path.join(dest, 'reference.css')), 'the stylesheet is written');

  const byNumber = new Map(richPages.map((p) => [p.number, p]));
  const declarationOf = (number, id) => {
    for (const [, members] of byNumber.get(number).sections) {
      for (const [anchor, declaration] of members) {
        if (anchor === id) return declaration;
      }
    }
    return null;
  };
  const page = await browser.newPage();
  for (const expected of richPages) {
    const url = pathToFileURL(path.join(dest, `${expected.number}.html`)).href;
    await page.goto(url);
    const seen = await readRichPage(page);
    const what = `${expected.title}'s page`;
    checks.equal(
        [seen.title, seen.heading], [expected.title, expected.heading], `${what}: title, heading`);
    const sections = expected.sections.map(([heading, members]) => [
      heading,
      members.map(([id, declaration, line]) =>
          [id, declaration, `source-${expected.source}.html#L${line}`]),
    ]);
    checks.equal(
        seen.sections, sections,
        `${what}: each section with its members, declarations and source lines`);
    checks.equal(seen.groups, expected.groups, `${what}: variables by category`);
    checks.equal(seen.inherited, expected.inherited, `${what}: inherited members by ancestor`);
    checks.equal(seen.stylesheet, 'solid', `${what}: the shared stylesheet is applied`);
    checks.equal(seen.scripts, 0, `${what}: no text became a script element`);

    // Every member's anchor is the target of its own link.
    for (const [, members] of expected.sections) {
      for (const [id, declaration] of members) {
        const target = await page.evaluate((wanted) => {
          location.hash = wanted;
          const element = document.querySelector(':target');
          return element ? [element.id, element.querySelector('code').textContent] : null;
        }, id);
        checks.equal(target, [id, declaration], `${what}: #${id} lands on its declaration`);
      }
    }

    // "Overrides" and inherited links land on the ancestor's declaration;
    // an inherited state on its own page, a state of that ancestor.
    const links = await page.evaluate(() => {
      const found = [];
      let ancestor = null;
      for (const item of document.querySelectorAll('.ov, dt, dd')) {
        if (item.tagName === 'DT') ancestor = item.querySelector('a').textContent;
        if (item.tagName === 'DT') continue;
        for (const a of item.querySelectorAll('a')) {
          found.push({text: a.textContent, href: a.getAttribute('href'),
                      ancestor: item.tagName === 'DD' ? ancestor : null});
        }
      }
      return found;
    });
    const wantedOverrides = overrides[expected.number] ?? {};
    checks.equal(
        links.filter((l) => !l.ancestor).map((l) => l.text), Object.keys(wantedOverrides),
        `${what}: what it overrides`);
    for (const link of links) {
      const landed = await land(page, url, link.href);
      if (!link.ancestor) {
        const [number, id] = wantedOverrides[link.text];
        checks.equal(
            [landed.number, landed.id, landed.declaration], [number, id, declarationOf(number, id)],
            `${what}: "Overrides ${link.text}" lands on that declaration`);
      } else if (landed.title.startsWith('state ')) {
        checks.equal(
            landed.title, `state ${link.ancestor}.${link.text}`,
            `${what}: inherited state ${link.text} opens the page of ${link.ancestor}'s state`);
      } else {
        const declaration = declarationOf(landed.number, landed.id);
        checks.expect(
            landed.title === `class ${link.ancestor}` && declaration !== null &&
                landed.declaration === declaration && declaration.includes(link.text),
            `${what}: inherited ${link.text} lands on its declaration in ${link.ancestor}`,
            JSON.stringify(landed));
      }
    }
  }

  // A source page's names lead to their declarations: the variable a
  // function's body and a default property's key name, the class a
  // parameter's type names.
  const sourceUrl = pathToFileURL(path.join(dest, 'source-00000.html')).href;
  await page.goto(sourceUrl);
  const named = await page.evaluate(() => [...document.querySelectorAll('pre a[title]')].map(
      (a) => [a.textContent, a.getAttribute('href'), a.title]));
  checks.equal(
      named,
      [
        ['Count', '00000.html#var-Count', 'variable Base.Count'],
        ['Base', '00000.html', 'class Base'],
        ['Base', '00000.html', 'class Base'],
        ['Count', '00000.html#var-Count', 'variable Base.Count'],
      ],
      'the source page of Base.kc: its names linked, each with what it is');
  for (const [text, href] of named) {
    const landed = await land(page, sourceUrl, href);
    const declaration = landed.id ? declarationOf(landed.number, landed.id) : null;
    checks.expect(
        landed.number === '00000' && (landed.id ? landed.declaration === declaration &&
                                         declaration.endsWith(text) :
                                                   landed.title === `class ${text}`),
        `source link ${text} lands on its declaration`, JSON.stringify(landed));
  }

  // From a source page "/" goes to the search field, which finds a member
  // and opens its declaration.
  await page.goto(sourceUrl);
  await page.keyboard.press('/');
  checks.equal(await page.evaluate(() => document.activeElement.id), 'idSearch',
               'source page: "/" goes to the search field');
  await page.keyboard.type('base.wher');
  await page.waitForFunction(() => document.getElementById('idResults').dataset.members === 'loaded');
  checks.equal(await page.$eval('#idResults [role=option] b', (b) => b.textContent), 'Base.Where',
               'source page: the search finds a member');
  await Promise.all([page.waitForNavigation(), page.keyboard.press('Enter')]);
  checks.equal(page.url().split('/').pop(), '00000.html#var-Where',
               'source page: Enter opens the member\'s declaration');

  // Accessibility of a source page and a use page in both schemes, the
  // light one last, as the next checks expect.
  for (const name of ['source-00000.html', 'use-00000.html']) {
    await page.goto(pathToFileURL(path.join(dest, name)).href);
    for (const dark of [true, false]) {
      if (await page.evaluate(() => document.documentElement.classList.contains('clsDark')) !== dark) {
        await page.click('#idScheme');
      }
      checks.equal(await axeViolations(page), [],
                   `axe: no serious violation on ${name}, ${dark ? 'dark' : 'light'}, in ${browser.title}`);
    }
  }

  // Texts that hold markup read as text.
  await page.goto(pathToFileURL(path.join(dest, '00000.html')).href);
  const hostile = await page.evaluate(() => ({
    doc: document.querySelector('header .doc').innerText,
    docElements: document.querySelectorAll('.doc *:not(br)').length,
    value: document.querySelector('table tr:last-child td:nth-child(2)').textContent,
  }));
  checks.equal(
      hostile,
      {
        doc: 'The root of the test tree.\nHolds <b>bold</b> & "quoted" text.',
        docElements: 0,
        value: '"<i>x</i>"',
      },
      'a doc comment and a default value holding markup show as text, line ends kept');
  await page.close();
}
