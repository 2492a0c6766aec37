// What the unit tests of the pages' script share: a script asset evaluated
// exactly as the tool embeds it, in a vm context holding the data the page
// puts before it and a few stand-ins for the page's elements (no DOM
// library). The scripts keep their functions inside one closure, so tests
// reach them as the page does: through the events they listen to and the
// markup they write.
import {readFileSync} from 'node:fs';
import vm from 'node:vm';

// A file of src/writer/common/assets as text; the pages declare
// windows-1252, so every byte is one character.
export function readAsset(name) {
  const url = new URL('../../src/writer/common/assets/' + name, import.meta.url);
  return readFileSync(url, 'latin1');
}

// The records' data as the tool writes it before the index's script: records
// are [kind, name, parent or -1, vars, events, functions].
export function indexData(records) {
  const text = (value) => JSON.stringify(value);
  return `const kinds = ${text(records.map((r) => r[0]).join(''))};\n` +
      `const parentText = ${text(records.map((r) => (r[2] >= 0 ? r[2] : '') + ',').join(''))};\n` +
      `const countText = ${text(records.map((r) => r.slice(3).join(',') + ',').join(''))};\n` +
      `const names = ${text(records.map((r) => r[1] + '\n').join(''))};\n`;
}

// The member data as the tool writes it: members are [owner, kind letter
// ("a" const ... "e" function, "f" event, "h" operator; in capitals where it
// overrides), name, anchor or null where it is the kind's prefix and the
// name, how many declarations override it], grouped by owner in record order; `count` records. `packages`, when given, are {names,
// anchors, ofRecord}: ofRecord[r] is 1 + the package of record r, 0 none.
// The counts of overriders as pairs: distance from the member before, count.
function overridden(members) {
  let text = '';
  let last = 0;
  members.forEach((m, k) => {
    if (!m[4]) return;
    text += `${k - last},${m[4]},`;
    last = k;
  });
  return text;
}

export function memberData(members, count, packages = null) {
  const text = (value) => JSON.stringify(value);
  const perRecord = Array(count).fill(0);
  for (const [owner] of members) perRecord[owner]++;
  return 'const memberKindNames = "const\\nenum\\nstruct\\nvar\\nfunction\\nevent\\n' +
      'delegate\\noperator\\npreoperator\\npostoperator\\n";\n' +
      'const memberPrefixes = "const-\\nenum-\\nstruct-\\nvar-\\nfn-\\nfn-\\nfn-\\nfn-' +
      '\\nfn-\\nfn-\\n";\n' +
      `const memberKinds = ${text(members.map((m) => m[1]).join(''))};\n` +
      `const memberCounts = ${text(perRecord.map((n) => n + ',').join(''))};\n` +
      `const memberNames = ${text(members.map((m) => m[2] + '\n').join(''))};\n` +
      `const memberAnchors = ${
        text(members.map((m, k) => (m[3] ? `${k},${m[3]}\n` : '')).join(''))};\n` +
      `const memberOverridden = ${text(overridden(members))};\n` +
      (packages ? `const packageNames = ${text(packages.names.map((n) => n + '\n').join(''))};\n` +
                      `const packageAnchors = ${
                        text(packages.anchors.map((a) => a + '\n').join(''))};\n` +
                      `const recordPackages = ${
                        text(packages.ofRecord.map((p) => p + ',').join(''))};\n` :
                  '');
}

// An element that keeps what the script does to it: its markup, value,
// classes, attributes, style and listeners; focus() is noted on the page.
// Every element is shown, and its box is `box` (a row's height is the page's
// `rowHeight`).
class Element {
  constructor(id, page) {
    this.id = id;
    this.page = page;
    this.innerHTML = '';
    this.value = '';
    this.listeners = {};
    this.classes = new Set();
    this.attributes = {};
    this.dataset = {};
    this.style = {};
    this.box = {top: 0, height: 0};
    this.classList = {
      add: (name) => this.classes.add(name),
      remove: (name) => this.classes.delete(name),
      contains: (name) => this.classes.has(name),
      toggle: (name, on) => (on ? this.classes.add(name) : this.classes.delete(name)),
    };
  }
  addEventListener(type, listener) {
    this.listeners[type] = listener;
  }
  setAttribute(name, value) {
    this.attributes[name] = String(value);
  }
  removeAttribute(name) {
    delete this.attributes[name];
  }
  hasAttribute(name) {
    return name in this.attributes;
  }
  querySelector() {
    return null;
  }
  querySelectorAll() {
    return [];
  }
  contains() {
    return false;
  }
  get firstElementChild() {
    const row = {getBoundingClientRect: () => ({top: 0, height: this.page.rowHeight})};
    return {...row, firstElementChild: row};
  }
  getBoundingClientRect() {
    return this.box;
  }
  checkVisibility() {
    return true;
  }
  scrollIntoView() {}
  insertAdjacentHTML() {}
  focus() {
    this.page.focused = this.id;
  }
  blur() {
    if (this.page.focused === this.id) this.page.focused = null;
  }
}

// Runs the asset `name` after the script text `data` in a page opened at
// `hash`. The page returned has `element(id)` (made on first use),
// `focused` (the id of the element last focused), the window's `listeners`,
// and `follow(hash)`, which moves to another fragment as a link would.
// `globals` adds to or replaces the stand-ins.
export function openPage(name, {data = '', hash = '', globals = {}} = {}) {
  const page = {
    elements: new Map(), listeners: {}, documentListeners: {}, focused: null, rowHeight: 20,
    loaded: [], tasks: [],
  };
  page.element = (id) => {
    if (!page.elements.has(id)) page.elements.set(id, new Element(id, page));
    return page.elements.get(id);
  };
  const context = vm.createContext({
    document: {
      getElementById: page.element,
      createElement: () => ({}),
      body: {appendChild: (script) => page.loaded.push(script)},
      activeElement: null,
      addEventListener: (type, listener) => (page.documentListeners[type] = listener),
    },
    location: {hash},
    history: {replaceState: (state, title, url) => (context.location.hash = url)},
    window: {
      addEventListener: (type, listener) => (page.listeners[type] = listener),
      scrollTo: (x, y) => (context.scrollY = y),
    },
    // Tasks wait in `page.tasks` until the test runs them.
    setTimeout: (task) => page.tasks.push(task),
    scrollY: 0,
    innerHeight: 700,
    IntersectionObserver: class {
      observe() {}
      unobserve() {}
    },
    ...globals,
  });
  vm.runInContext(data, context);
  vm.runInContext(readAsset(name), context);
  page.context = context;
  // Runs the script `text` in the page, as a script element would.
  page.run = (text) => vm.runInContext(text, context);
  page.follow = (newHash) => {
    context.location.hash = newHash;
    page.focused = null;
    page.listeners.hashchange();
  };
  return page;
}

// The index over `records` opened at `hash`, with `find(query)`: the records
// (numbers), members ("m" and their number), states found as members ("s"
// and their number) and packages ("p" and their number) listed for what is
// typed into the search field, in order. With `members` (and `packages`,
// see memberData) the search loads them, and `loadMembers()` runs their
// data as the script element would.
export function openIndex(records, hash = '', members = null, packages = null) {
  const page = openPage('index.js', {data: indexData(records), hash});
  if (members) {
    page.element('idSearch').dataset.members = 'members.js';
    page.loadMembers = () => {
      page.run(memberData(members, records.length, packages));
      page.loaded[0].onload();
      while (page.tasks.length > 0) page.tasks.shift()();
    };
  }
  page.find = (query) => {
    page.element('idSearch').value = query;
    page.element('idSearch').listeners.input();
    const shown = page.element('idResults').innerHTML;
    return [...shown.matchAll(/data-(record|member|state|package)="(\d+)"/g)].map(
        (match) => (match[1] === 'record' ? Number(match[2]) : match[1][0] + match[2]));
  };
  return page;
}
