// Unit tests of the navigable index's script, src/writer/assets/index.js,
// with node's own test runner, through the stand-ins of page_script.mjs.
import assert from 'node:assert/strict';
import {test} from 'node:test';

import {openIndex} from './page_script.mjs';

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
    ['\xe9cole', []],
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
  assert.match(results.innerHTML, /"clsKind">class<\/span> <a href="#00012" [^>]*"12">/);
  assert.match(results.innerHTML, />Twelve<\/a> \(Ten\) <a href="00012.html" class="clsPage">/);
  page.find('A<');
  assert.match(results.innerHTML, />A&lt;&amp;&quot;b<\/a> \(Talk\)/);
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
