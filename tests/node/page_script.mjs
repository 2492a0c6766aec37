// What the unit tests of the pages' script share: a script asset evaluated
// exactly as the tool embeds it, in a vm context holding the data the page
// puts before it and a few stand-ins for the page's elements (no DOM
// library). The scripts keep their functions inside one closure, so tests
// reach them as the page does: through the events they listen to and the
// markup they write.
import {readFileSync} from 'node:fs';
import vm from 'node:vm';

// A file of src/writer/assets as text; the pages declare windows-1252, so
// every byte is one character.
export function readAsset(name) {
  return readFileSync(new URL('../../src/writer/assets/' + name, import.meta.url), 'latin1');
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

// An element that keeps what the script does to it: its markup, value,
// classes and listeners; focus() is noted on the page.
class Element {
  constructor(id, page) {
    this.id = id;
    this.page = page;
    this.innerHTML = '';
    this.value = '';
    this.listeners = {};
    this.classes = new Set();
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
  hasAttribute() {
    return false;
  }
  querySelectorAll() {
    return [];
  }
  scrollIntoView() {}
  focus() {
    this.page.focused = this.id;
  }
}

// Runs the asset `name` after the script text `data` in a page opened at
// `hash`. The page returned has `element(id)` (made on first use),
// `focused` (the id of the element last focused), the window's `listeners`,
// and `follow(hash)`, which moves to another fragment as a link would.
// `globals` adds to or replaces the stand-ins.
export function openPage(name, {data = '', hash = '', globals = {}} = {}) {
  const page = {elements: new Map(), listeners: {}, focused: null};
  page.element = (id) => {
    if (!page.elements.has(id)) page.elements.set(id, new Element(id, page));
    return page.elements.get(id);
  };
  const context = vm.createContext({
    document: {getElementById: page.element},
    location: {hash},
    history: {replaceState: (state, title, url) => (context.location.hash = url)},
    window: {addEventListener: (type, listener) => (page.listeners[type] = listener)},
    IntersectionObserver: class {
      observe() {}
      unobserve() {}
    },
    ...globals,
  });
  vm.runInContext(data, context);
  vm.runInContext(readAsset(name), context);
  page.follow = (newHash) => {
    context.location.hash = newHash;
    page.focused = null;
    page.listeners.hashchange();
  };
  return page;
}

// The index over `records` opened at `hash`, with `find(query)`: the records
// listed for what is typed into the search field, in order.
export function openIndex(records, hash = '') {
  const page = openPage('index.js', {data: indexData(records), hash});
  page.find = (query) => {
    page.element('idSearch').value = query;
    page.element('idSearch').listeners.input();
    const shown = page.element('idResults').innerHTML;
    return [...shown.matchAll(/data-record="(\d+)"/g)].map((match) => Number(match[1]));
  };
  return page;
}
