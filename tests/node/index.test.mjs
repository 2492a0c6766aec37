// Unit tests of the navigable index's script,
// src/writer/common/assets/index.js, with node's own test runner, through
// the stand-ins of page_script.mjs.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {openIndex} from './page_script.mjs';

const key = (name) => ({key: name, preventDefault() {}});

// Two roots, a record outside the tree, and names that match "walk" in every
// way. Record 12's parent has two digits.
const records = [
  ['c', 'Walker', -1, 1, 0, 12],
  ['s', 'walk', 0, 0, 0, 1],
  ['c', 'Walk', 0, 0, 0, 0],
  ['c', 'Sidewalk', 0, 0, 0, 0],
  ['s', 'Walking', 2, 0, 0, 0],
  ['c', 'WalkerTwo', 3, 0, 2, 0],
  ['c', 'Talk', -1, 0, 1, 0],
  ['-', '', -1, 0, 0, 0],
  ['c', '\xc9cole', 6, 0, 0, 0],
  ['c', 'A<&"b', 6, 0, 0, 0],
  ['c', 'Ten', 6, 0, 0, 0],
  ['c', 'Eleven', 6, 0, 0, 0],
  ['c', 'Twelve', 10, 0, 0, 0],
];

test('search ranks exact, then prefix, then substring; classes before states; record order', () => {
  const cases = [
    ['walk', [2, 1, 0, 5, 4, 3]],
    ['WALK', [2, 1, 0, 5, 4, 3]],
    ['alk', [0, 2, 3, 5, 6, 1, 4]],
    ['walker', [0, 5]],
    ['talk', [6]],
    ['', []],
    ['nothing', []],
    // Only ASCII letters are compared without case.
    ['\xc9COLE', [8]],
    ['\xe9col', []],
    ['<&"', [9]],
  ];
  const page = openIndex(records);
  for (const [query, expected] of cases) assert.deepEqual(page.find(query), expected, query);
});

test('search shows at most 50 results, an exact match first', () => {
  const many = Array.from({length: 60}, (_, i) => ['c', 'Item' + i, i - 1, 0, 0, 0]);
  many.push(['s', 'item', 59, 0, 0, 0]);
  const found = openIndex(many).find('item');
  assert.equal(found.length, 50);
  assert.deepEqual(found.slice(0, 3), [60, 0, 1]);
});

test('results escape names and name the kind and parent', () => {
  const page = openIndex(records);
  const results = page.element('idResults');
  page.find('Twelve');
  assert.match(results.innerHTML, /role="option" [^>]*href="#00012" data-record="12">/);
  assert.match(results.innerHTML, /"clsKind">class<\/span> <b>Twelve<\/b> \(Ten\)<\/a>/);
  page.find('A<');
  assert.match(results.innerHTML, /<b>A&lt;&amp;&quot;b<\/b> \(Talk\)/);
});

test('the roots are listed with their counts read from the data', () => {
  const tree = openIndex(records).element('idTree').innerHTML;
  assert.deepEqual([...tree.matchAll(/id="idHeader(\d+)"/g)].map((m) => m[1]), ['00000', '00006']);
  const counts = (name) =>
    tree.match(new RegExp(name + '</a> \\(\\), <span class="clsCounts"> ([^<]*)<'))[1];
  assert.equal(counts('Walker'), '2 subclasses, 1 state, 1 var, 0 events, 12 functions');
  assert.equal(counts('Talk'), '4 subclasses, 0 states, 0 vars, 1 event, 0 functions');
});

test('#NNNNN opens that record, #Name the class of that name', () => {
  const cases = [
    ['#00004', 'idHeader00004'],
    ['#12', 'idHeader00012'],
    ['#Walk', 'idHeader00002'],
    ['#walk', 'idHeader00002'],
    ['#Sidew%61lk', 'idHeader00003'],
    ['#Walking', null],  // a state is not found by name
    ['#Wal', null],
    ['#00007', null],  // outside the tree
    ['#00013', null],
    ['#%E0%A4%A', null],
    ['#', null],
  ];
  for (const [hash, focused] of cases) {
    assert.equal(openIndex(records, hash).focused, focused, 'opened at ' + hash);
    const page = openIndex(records);
    page.follow(hash);
    assert.equal(page.focused, focused, 'moved to ' + hash);
  }
});

// Members of Walker (0), Walk (2), Talk (6) and Ten (10), the last with an
// anchor of its own.
const members = [
  [0, 'e', 'Walk'],
  [0, 'd', 'Speed'],
  [2, 'f', 'walk'],
  [6, 'e', 'Sleepwalk'],
  [6, 'a', 'WalkSpeed'],
  [10, 'h', '==', 'fn--3d3d'],
];

test('members are loaded on the first key and ranked after the records of each kind of match', () => {
  const page = openIndex(records, '', members);
  assert.deepEqual(page.find('walk'), [2, 1, 0, 5, 4, 3]);
  assert.equal(page.loaded.length, 1);
  assert.equal(page.loaded[0].src, 'members.js');
  page.loadMembers();
  const cases = [
    ['walk', [2, 1, 'm0', 'm2', 0, 5, 4, 'm4', 3, 'm3']],
    ['speed', ['m1', 'm4']],
    ['=', ['m5']],
    // "Owner." and "Owner.Name": the owner's states, then its members.
    ['walker.', ['s1', 'm0', 'm1']],
    ['WALKER.sp', ['m1']],
    ['talk.walk', ['m4', 'm3']],
    ['walk.', ['s4', 'm2']],
    ['nobody.walk', []],
  ];
  for (const [query, expected] of cases) assert.deepEqual(page.find(query), expected, query);
  assert.equal(page.loaded.filter((script) => script.src === 'members.js').length, 1, 'loaded once');
  page.find('=');
  assert.match(page.element('idResults').innerHTML,
               /href="00010.html#fn--3d3d" data-member="5"><span class="clsKind">operator<\/span> <b>Ten.==<\/b>/);
});

// Functions declared again below: Walker's Touched (overridden in 3) in its
// state walk (1), in Walk (2) and in WalkerTwo (5); then an event of each
// state, and one member of each other kind.
const overriding = [
  [0, 'e', 'Touched', null, 3],
  [0, 'd', 'Speed'],
  [1, 'E', 'Touched'],
  [1, 'f', 'Hurt'],
  [2, 'E', 'Touched'],
  [2, 'a', 'MaxSpeed'],
  [3, 'e', 'TouchedBy'],
  [4, 'f', 'Hurt'],
  [5, 'E', 'Touched'],
  [6, 'b', 'Touching'],
  [6, 'c', 'Pad'],
];

test('states go by their class, overridden declarations first, kinds and whole names filter, slips are found', () => {
  const page = openIndex(records, '', overriding);
  page.find('t');
  page.loadMembers();
  const cases = [
    // In each rank the members that override nothing come before those that do.
    ['touch', ['m0', 'm6', 'm9', 'm2', 'm4', 'm8']],
    // "Class.State." narrows to that state.
    ['walker.walk', ['s1']],
    ['walker.walk.', ['m3', 'm2']],
    ['Walker.Walk.hu', ['m3']],
    ['walk.walking.', ['m7']],
    ['talk.walk.', []],
    // A kind before a colon lists that kind only.
    ['fn:touch', ['m0', 'm6', 'm2', 'm4', 'm8']],
    ['fn: hurt', ['m3', 'm7']],
    ['enum:touch', ['m9']],
    ['struct:pad', ['m10']],
    ['const:speed', ['m5']],
    ['var:speed', ['m1']],
    ['class:walk', [2, 0, 5, 3]],
    ['state:walk', [1, 4]],
    ['package:walk', []],
    ['struct:', []],
    // Double quotes: whole names only, the closing one optional.
    ['"walk"', [2, 1]],
    ['"touched"', ['m0', 'm2', 'm4', 'm8']],
    ['fn:"Touched', ['m0', 'm2', 'm4', 'm8']],
    ['"touch"', []],
    // Where nothing matches, the names one edit away.
    ['Tuoched', ['m0', 'm2', 'm4', 'm8']],
    ['walkr', [0, 2, 1]],
    ['class:walkr', [0, 2]],
    ['tlk', [6]],
    ['xyzzy', []],
  ];
  for (const [query, expected] of cases) assert.deepEqual(page.find(query), expected, query);
  const results = page.element('idResults');
  page.find('touched');
  assert.match(results.innerHTML, /<b>Walker.Touched<\/b> <span class="clsKind">overridden in 3<\/span>/);
  assert.match(results.innerHTML, /<span class="clsKind">function<\/span> <b>Walker.walk.Touched<\/b> <span/);
  // The summaries' piece of the members shown is loaded once, and fills them.
  assert.deepEqual(page.loaded.map((script) => script.src).filter((src) => src !== 'members.js'),
                   ['summaries-0.js']);
  page.run('korvanrefSummaries(0, "(int A) Touched.\\n\\n<b>\\n");');
  assert.equal(page.element('idSummary0').textContent, '(int A) Touched.');
  assert.equal(page.element('idSummary1').textContent, '<b>');
  page.find('touched');
  assert.match(results.innerHTML, /<b>Walker.Touched<\/b> .*id="idSummary0">\(int A\) Touched.<\/span>/);
  assert.match(results.innerHTML, /id="idSummary1">&lt;b&gt;</);
  assert.equal(page.loaded.length, 2);
  assert.ok(!results.classes.has('clsSlips'));
  page.find('state:walk');
  assert.match(results.innerHTML, /data-record="1"><span class="clsKind">state<\/span> <b>Walker.walk<\/b><\/a>/);
  page.find('tuoched');
  assert.ok(results.classes.has('clsSlips'), 'said to be one edit away');
});

// Walker (0), Walk (2) and WalkerTwo (5) in the package Walkers; Talk (6) and
// A<&"b (9) in Talkies; the states and the rest in none.
const packages = {
  names: ['Talkies', 'Walkers'],
  anchors: ['pkg-talkies', 'pkg-walkers'],
  ofRecord: [2, 2, 2, 0, 2, 2, 1, 0, 0, 1, 0, 0, 0],
};

test('a package is found by name, after the records; "Package." lists its classes', () => {
  const page = openIndex(records, '', members, packages);
  page.find('walkers');
  page.loadMembers();
  const cases = [
    ['walkers', ['p1']],
    ['talk', [6, 'p0']],
    ['walkers.', [0, 2, 5]],
    ['WALKERS.two', [5]],
    ['talkies.', [6, 9]],
  ];
  for (const [query, expected] of cases) assert.deepEqual(page.find(query), expected, query);
  page.find('walkers');
  assert.match(page.element('idResults').innerHTML,
               /href="packages.html#pkg-walkers" data-package="1"><span class="clsKind">package<\/span> <b>Walkers<\/b> \(3 classes\)/);
  page.element('idSearch').listeners.keydown(key('Enter'));
  assert.equal(page.context.location.href, 'packages.html#pkg-walkers');
  page.find('"walkertwo"');
  assert.match(page.element('idResults').innerHTML,
               /<b>WalkerTwo<\/b> \(Sidewalk\) <span class="clsSummary">package Walkers<\/span>/);
});

test('the results are a combobox\'s: Down enters them, Enter picks, Escape clears', () => {
  const page = openIndex(records, '', members);
  const field = page.element('idSearch');
  page.find('walk');
  page.loadMembers();
  for (let k = 0; k < 3; k++) field.listeners.keydown(key('ArrowDown'));
  assert.equal(field.attributes['aria-activedescendant'], 'idOption2');
  field.listeners.keydown(key('Enter'));
  assert.equal(page.context.location.href, '00000.html#fn-Walk');
  field.listeners.keydown(key('ArrowUp'));
  field.listeners.keydown(key('Enter'));
  assert.equal(page.focused, 'idHeader00001');
  page.find('walker.');
  field.listeners.keydown(key('Enter'));
  assert.equal(page.context.location.href, '00001.html', 'a state opens its own page');
  field.listeners.keydown(key('Escape'));
  assert.deepEqual([field.value, page.element('idResults').innerHTML], ['', '']);
  assert.equal(field.attributes['aria-expanded'], 'false');
});

test('"/" and "s" go to the search field, "?" shows the keys, not while typing', () => {
  const page = openIndex(records);
  const press = (name, tagName) => page.documentListeners.keydown({...key(name), target: {tagName}});
  const help = page.element('idHelp');
  help.hidden = true;
  for (const name of ['/', 's']) {
    page.focused = null;
    press(name, 'INPUT');
    assert.equal(page.focused, null, name + ' in a field');
    press(name, 'DIV');
    assert.equal(page.focused, 'idSearch', name);
  }
  press('?', 'TEXTAREA');
  assert.equal(help.hidden, true);
  press('?', 'BODY');
  assert.equal(help.hidden, false);
  assert.equal(page.element('idHelpButton').attributes['aria-expanded'], 'true');
  press('Escape', 'BODY');
  assert.equal(help.hidden, true);
});

test('the tree\'s keys move, open and shut as a tree widget\'s', () => {
  const page = openIndex(records);
  const tree = page.element('idTree');
  const press = (from, name) => {
    const header = page.element('idHeader' + from);
    header.classes.add('clsHeader');
    tree.listeners.keydown({...key(name), target: header});
    return page.focused;
  };
  const cases = [
    ['00000', 'ArrowDown', 'idHeader00006'],
    ['00006', 'ArrowUp', 'idHeader00000'],
    ['00000', 'ArrowRight', null],  // opens
    ['00000', 'ArrowRight', 'idHeader00001'],
    ['00000', 'ArrowDown', 'idHeader00001'],
    ['00005', 'ArrowDown', 'idHeader00006'],  // out of Sidewalk's list and Walker's
    ['00006', 'ArrowUp', 'idHeader00003'],  // Walker's last entry
    ['00006', 'End', 'idHeader00006'],
    ['00002', 'ArrowLeft', 'idHeader00000'],
    ['00001', 'Home', 'idHeader00000'],
    ['00000', 'ArrowLeft', null],  // shuts
    ['00000', 'ArrowDown', 'idHeader00006'],
  ];
  for (const [from, name, focused] of cases) {
    page.focused = null;
    assert.equal(press(from, name), focused, from + ' ' + name);
  }
  assert.match(tree.innerHTML, /id="idHeader00000" [^>]*aria-level="1" aria-setsize="2" aria-posinset="1" aria-expanded="false"/);
});

test('Expand all on a large tree lays out its visible rows and builds those near the window', () => {
  // A chain of 60 classes, then 30000 leaves, each under one of them.
  const many = Array.from({length: 60}, (_, i) => ['c', 'C' + i, i - 1, 0, 0, 0]);
  for (let j = 0; j < 30000; j++) many.push(['c', 'L' + j, j % 60, 0, 0, 0]);
  const below = many.map(() => []);
  many.forEach((record, i) => record[2] >= 0 && below[record[2]].push(i));
  const preorder = [];
  const walk = (i) => {
    preorder.push(i);
    below[i].forEach(walk);
  };
  walk(0);
  const page = openIndex(many);
  const tree = page.element('idTree');
  page.element('idExpandAll').listeners.click();
  assert.equal(tree.style.height, 30060 * 20 + 'px');
  const shownRows = () => [...tree.innerHTML.matchAll(/id="idHeader(\d+)"/g)].map((m) => Number(m[1]));
  // Tree pixels [top, top + 700) are in the window: 40 spare rows each side.
  for (const top of [0, 123457, 30060 * 20 - 700, 30060 * 20 + 5000]) {
    tree.box = {top: -top, height: 0};
    page.listeners.scroll();
    const first = Math.min(30060, Math.max(0, Math.floor(top / 20) - 40));
    const last = Math.min(30060, Math.ceil((top + 700) / 20) + 40);
    assert.deepEqual(shownRows(), preorder.slice(first, last), 'at ' + top);
    assert.equal(tree.style.paddingTop, first * 20 + 'px');
    if (top === 0) {
      assert.match(tree.innerHTML, /<div style="padding-left: 84.2em" id="idHeader00119" [^>]*aria-level="61" aria-setsize="500" aria-posinset="1"/);
    }
  }
  // Shutting the chain's second class leaves its class and the 500 leaves of the first.
  tree.box = {top: 0, height: 0};
  tree.listeners.click({target: {closest: (s) => (s === '.clsHeader' ? page.element('idHeader00001') : null)}});
  assert.equal(tree.style.height, 502 * 20 + 'px');
  assert.deepEqual(shownRows().slice(0, 3), [0, 1, 60]);
});
