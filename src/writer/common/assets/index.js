"use strict";
(() => {
  const count = kinds.length;
  const number = (i) => String(i).padStart(5, "0");

  // Reads `length` decimals each followed by a comma; an empty one is -1.
  function readNumbers(text, length) {
    const values = new Int32Array(length);
    let k = 0;
    let value = -1;
    for (let c = 0; c < text.length; c++) {
      const digit = text.charCodeAt(c) - 48;
      if (digit < 0) {
        values[k++] = value;
        value = -1;
      } else {
        value = (value < 0 ? 0 : value * 10) + digit;
      }
    }
    return values;
  }
  const parents = readNumbers(parentText, count);
  const counts = readNumbers(countText, 3 * count);

  // Each record's children in record order, in one flat array, and its
  // numbers of subclasses and states.
  const firstChild = new Int32Array(count + 1);
  for (let i = 0; i < count; i++) if (parents[i] >= 0) firstChild[parents[i] + 1]++;
  for (let i = 0; i < count; i++) firstChild[i + 1] += firstChild[i];
  const children = new Int32Array(firstChild[count]);
  const fill = firstChild.slice(0, count);
  const subclasses = new Int32Array(count);
  const states = new Int32Array(count);
  const roots = [];
  for (let i = 0; i < count; i++) {
    const p = parents[i];
    if (p >= 0) {
      children[fill[p]++] = i;
      if (kinds[i] === "s") states[p]++;
      else subclasses[p]++;
    } else if (kinds[i] !== "-") {
      roots.push(i);
    }
  }
  // The list of the roots counts as that of a record numbered `count`.
  const rootList = Int32Array.from(roots);
  const childrenOf = (i) =>
      (i === count ? rootList : children.subarray(firstChild[i], firstChild[i + 1]));
  const hasChildren = (i) => firstChild[i] !== firstChild[i + 1];
  const listAbove = (i) => (parents[i] >= 0 ? parents[i] : count);

  // The tree in preorder, walked once: each record's place there, the size
  // of its subtree, its level (1 for a root) and its place in its own list.
  const order = new Int32Array(count);
  const at = new Int32Array(count);
  const size = new Int32Array(count);
  const level = new Int32Array(count);
  const place = new Int32Array(count);
  // The walk reads the flat arrays directly: a view of each list made per
  // record costs more than the walk itself on a large tree.
  let shown = 0;
  const stack = new Int32Array(count);
  let top = 0;
  for (let k = rootList.length - 1; k >= 0; k--) stack[top++] = rootList[k];
  while (top > 0) {
    const i = stack[--top];
    at[i] = shown;
    order[shown++] = i;
    level[i] = parents[i] >= 0 ? level[parents[i]] + 1 : 1;
    const first = firstChild[i];
    for (let k = firstChild[i + 1] - 1; k >= first; k--) {
      place[children[k]] = k - first;
      stack[top++] = children[k];
    }
  }
  for (let k = 0; k < rootList.length; k++) place[rootList[k]] = k;
  for (let k = shown - 1; k >= 0; k--) {
    const i = order[k];
    size[i]++;
    if (parents[i] >= 0) size[parents[i]] += size[i];
  }

  // Where each name starts in a text of names each followed by a line feed:
  // finds starts[i + 1] for each i in [a, b), starts[a] being known.
  function findStarts(text, starts, a, b) {
    for (let i = a; i < b; i++) starts[i + 1] = text.indexOf("\n", starts[i]) + 1;
  }
  const starts = new Int32Array(count + 1);
  findStarts(names, starts, 0, count);
  // toLowerCase alone would fold letters beyond ASCII too, and may change
  // the length of the text: it serves only where all is ASCII.
  const foldCase = (text) =>
      /[^\0-\x7F]/.test(text) ? text.replace(/[A-Z]+/g, (run) => run.toLowerCase())
                              : text.toLowerCase();
  const folded = foldCase(names);
  const nameOf = (i) => names.slice(starts[i], starts[i + 1] - 1);

  const entities = {"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;"};
  const escapeHtml = (text) => text.replace(/[&<>"]/g, (c) => entities[c]);
  const kindOf = (i) => (kinds[i] === "s" ? "state" : "class");
  // A state is named with its class: "Class.State".
  const fullName = (i) =>
      (kinds[i] === "s" && parents[i] >= 0 ? nameOf(parents[i]) + "." : "") + nameOf(i);
  const parentName = (i) => (parents[i] >= 0 ? escapeHtml(nameOf(parents[i])) : "");
  const counted = (n, word, ending) => n + " " + word + (n === 1 ? "" : ending);

  // What the tree shows is kept here, never only in the page: which lists
  // are open, the entry marked, and the one tab stop of the tree (`current`).
  const open = new Uint8Array(count + 1);
  open[count] = 1;
  let marked = -1;
  let current = rootList.length > 0 ? rootList[0] : -1;

  // An entry's header line, a tree item, and the opening of its list.
  function entryHeader(i) {
    const n = number(i);
    const leaf = !hasChildren(i);
    return '<div id="idHeader' + n + '" class="clsHeader' + (leaf ? " clsLeaf" : "") +
        (i === marked ? " clsMarked" : "") + '" role="treeitem" tabindex="' +
        (i === current ? 0 : -1) + '" aria-level="' + level[i] + '" aria-setsize="' +
        childrenOf(listAbove(i)).length + '" aria-posinset="' + (place[i] + 1) + '"' +
        (leaf ? "" : ' aria-expanded="' + (open[i] === 1) + '"') + ">" + kindOf(i) +
        ' <a href="' + n + '.html" class="clsName" tabindex="-1">' + escapeHtml(nameOf(i)) +
        "</a> (" + parentName(i) + '), <span class="clsCounts"> ' +
        counted(subclasses[i], "subclass", "es") + ", " + counted(states[i], "state", "s") +
        ", " + counted(counts[3 * i], "var", "s") + ", " +
        counted(counts[3 * i + 1], "event", "s") + ", " +
        counted(counts[3 * i + 2], "function", "s") + "</span></div>";
  }
  const entryOpen = (i) => '<li role="none">' + entryHeader(i) + '<ul id="idBlurb' +
      number(i) + '" class="clsBlurb' + (open[i] && hasChildren(i) ? " clsOpen" : "") +
      '" role="group">';

  // A list is built a slice of entries at a time: one range of its entries,
  // [from, to), with a line "N more" before and after it for those not yet
  // built. As such a line comes near the window the next slice is built
  // there, so a list of any length opens at once.
  const kSlice = 100;
  const built = new Uint8Array(count + 1);
  const from = new Int32Array(count + 1);
  const to = new Int32Array(count + 1);
  // The index has the tree; any other page has only the search field, and
  // its results open pages.
  const tree = document.getElementById("idTree");
  const onIndex = tree !== null;
  const field = document.getElementById("idSearch");
  const results = document.getElementById("idResults");
  const listOf = (i) => (i === count ? tree : document.getElementById("idBlurb" + number(i)));
  const headerOf = (i) => document.getElementById("idHeader" + number(i));
  const recordOf = (header) => Number(header.id.slice("idHeader".length));

  function sliceMarkup(i, a, b) {
    const items = childrenOf(i);
    let markup = "";
    for (let k = a; k < b; k++) markup += entryOpen(items[k]) + "</ul></li>";
    return markup;
  }
  const moreMarkup = (i, side, n) =>
      (n > 0 ? '<li role="none" class="clsMore" data-list="' + i + '" data-side="' + side +
                   '">' + n + " more</li>"
             : "");

  const near = new IntersectionObserver((entries) => {
    for (const entry of entries) {
      if (!entry.isIntersecting || !entry.target.isConnected) continue;
      near.unobserve(entry.target);
      grow(Number(entry.target.dataset.list), entry.target.dataset.side, entry.target);
    }
  }, {rootMargin: "2000px 0px"});
  function watch(i) {
    for (const line of listOf(i).querySelectorAll(":scope > li.clsMore")) near.observe(line);
  }

  // Builds list i anew with the entries [a, b); lists built below the old
  // entries are forgotten, and shut.
  function render(i, a, b) {
    const pending = built[i] ? Array.from(childrenOf(i).subarray(from[i], to[i])) : [];
    while (pending.length > 0) {
      const c = pending.pop();
      open[c] = 0;
      if (!built[c]) continue;
      built[c] = 0;
      pending.push(...childrenOf(c).subarray(from[c], to[c]));
    }
    built[i] = 1;
    from[i] = a;
    to[i] = b;
    listOf(i).innerHTML = moreMarkup(i, "before", a) + sliceMarkup(i, a, b) +
        moreMarkup(i, "after", childrenOf(i).length - b);
    watch(i);
  }

  // Builds the next slice of list i where its line "N more" stands.
  function grow(i, side, line) {
    const n = childrenOf(i).length;
    const a = side === "after" ? to[i] : Math.max(0, from[i] - kSlice);
    const b = side === "after" ? Math.min(n, to[i] + kSlice) : from[i];
    line.insertAdjacentHTML(
        "beforebegin", side === "after" ? sliceMarkup(i, a, b) + moreMarkup(i, side, n - b)
                                        : moreMarkup(i, side, a) + sliceMarkup(i, a, b));
    near.unobserve(line);
    line.remove();
    if (side === "after") to[i] = b;
    else from[i] = a;
    watch(i);
  }

  // Makes sure record c, a child of i, has its entry built in i's list.
  function reveal(i, c) {
    const k = place[c];
    if (built[i] && k >= from[i] && k < to[i]) return;
    // A short range around the entry is built: the lines "N more" at its
    // ends build on as soon as they show.
    const half = kSlice >> 2;
    if (built[i] && k >= from[i] - 4 * kSlice && k < to[i] + 4 * kSlice) {
      while (k < from[i]) grow(i, "before", listOf(i).firstElementChild);
      while (k >= to[i]) grow(i, "after", listOf(i).lastElementChild);
      return;
    }
    const items = childrenOf(i);
    const a = Math.max(0, Math.min(k - half, items.length - 2 * half));
    render(i, a, Math.min(items.length, a + 2 * half));
  }

  // "Expand all" on a tree of up to kAllAtOnce entries builds every entry at
  // once, so that the browser's own find sees them all: up to kNested
  // entries as the nested lists, beyond as a flat list of rows of one fixed
  // height, in groups of kChunk rows that the browser lays out only as they
  // come near the window (nested lists of that many entries take seconds to
  // lay out). A larger tree is such a flat list of which only the rows near
  // the window are built. Either way the list's height is known, so the
  // scroll bar is true, and any point of it shows its rows at once.
  const kNested = 2000;
  const kAllAtOnce = 30000;
  const kSpareRows = 40;
  const kChunk = 100;
  let flat = false;
  // Every entry has its row (those in shut lists hidden): which are shown,
  // by place in `order`.
  let everyRow = false;
  const rowShown = new Uint8Array(count);
  let rows = new Int32Array(0);
  const rowOf = new Int32Array(count).fill(-1);
  let rowHeight = 0;
  let built0 = -1;
  let built1 = -1;

  // The rows [first, last) to build for a window over tree pixels [top,
  // bottom), rows of `height` pixels, `total` rows, `spare` more each side.
  function windowRows(top, bottom, height, total, spare) {
    const first = Math.min(total, Math.max(0, Math.floor(top / height) - spare));
    const last = Math.min(total, Math.max(0, Math.ceil(bottom / height) + spare));
    return [first, Math.max(first, last)];
  }

  // The visible rows in order: every entry whose lists above are all open.
  function layRows() {
    const laid = new Int32Array(shown);
    let r = 0;
    rowOf.fill(-1);
    for (let k = 0; k < shown;) {
      const i = order[k];
      rowOf[i] = r;
      laid[r++] = i;
      k = open[i] ? k + 1 : at[i] + size[i];
    }
    rows = laid.subarray(0, r);
    tree.style.height = r * rowHeight + "px";
  }
  // An entry's row: its header line indented by its level, hidden where a
  // list above it is shut.
  const rowMarkup = (i) => entryHeader(i).replace(
      "<div ", '<div style="padding-left: ' + (2 + 14 * (level[i] - 1)) / 10 + 'em" ' +
          (everyRow && !rowShown[at[i]] ? "hidden " : ""));
  // The rows of the entries `items[a, b)` in groups of kChunk, each group as
  // high as its rows shown.
  function chunksMarkup(items, a, b) {
    let markup = "";
    for (let r = a; r < b; r += kChunk) {
      const end = Math.min(b, r + kChunk);
      let high = 0;
      let rowsMarkup = "";
      for (let k = r; k < end; k++) {
        rowsMarkup += rowMarkup(items[k]);
        if (!everyRow || rowShown[at[items[k]]]) high++;
      }
      markup += '<li role="none" class="clsChunk" style="contain-intrinsic-height: ' +
          high * rowHeight + 'px">' + rowsMarkup + "</li>";
    }
    return markup;
  }

  // Builds the rows near the window (all anew when `force`).
  function renderRows(force) {
    if (everyRow) return;
    const top = -tree.getBoundingClientRect().top;
    const [a, b] = windowRows(top, top + innerHeight, rowHeight, rows.length, kSpareRows);
    if (!force && a === built0 && b === built1) return;
    const focused = tree.contains(document.activeElement);
    const markup = chunksMarkup(rows, a, b);
    tree.style.paddingTop = a * rowHeight + "px";
    tree.innerHTML = markup;
    built0 = a;
    built1 = b;
    keepTabStop();
    if (focused && headerOf(current)) headerOf(current).focus({preventScroll: true});
  }

  // Shows the tree, every list open, as a flat list of rows: every row built
  // when `every`, else those near the window.
  function startFlat(every) {
    if (shown === 0) return;
    flat = true;
    everyRow = false;
    tree.classList.add("clsFlat");
    tree.innerHTML = chunksMarkup(rootList, 0, 1);
    rowHeight = tree.firstElementChild.firstElementChild.getBoundingClientRect().height || 20;
    layRows();
    if (!every) {
      renderRows(true);
      return;
    }
    everyRow = true;
    rowShown.fill(1);
    tree.style.height = "";
    tree.style.paddingTop = "";
    tree.innerHTML = chunksMarkup(order, 0, shown);
    keepTabStop();
  }

  // Shows or hides the rows below entry i, every row being built, as its
  // list has opened or shut; the groups they are in take their new heights.
  function foldRows(i) {
    const end = at[i] + size[i];
    const was = rowShown.slice(at[i] + 1, end);
    rowShown.fill(0, at[i] + 1, end);
    for (let k = at[i] + 1; open[i] && k < end;) {
      rowShown[k] = 1;
      k = open[order[k]] ? k + 1 : at[order[k]] + size[order[k]];
    }
    for (let k = at[i] + 1; k < end; k++) {
      if (rowShown[k] !== was[k - at[i] - 1]) headerOf(order[k]).hidden = !rowShown[k];
    }
    for (let g = Math.floor((at[i] + 1) / kChunk); g * kChunk < end; g++) {
      let high = 0;
      for (let k = g * kChunk; k < Math.min(shown, (g + 1) * kChunk); k++) high += rowShown[k];
      tree.children[g].style.containIntrinsicHeight = high * rowHeight + "px";
    }
  }
  window.addEventListener("scroll", () => flat && renderRows(false), {passive: true});
  window.addEventListener("resize", () => flat && renderRows(false));

  // The tree's one tab stop: the current entry where it is built, else the
  // first entry built.
  function keepTabStop() {
    const header = current >= 0 ? headerOf(current) : null;
    if (header && (flat ? !header.hidden : header.checkVisibility())) {
      header.tabIndex = 0;
      return;
    }
    const first = tree.querySelector(".clsHeader");
    if (first) {
      first.tabIndex = 0;
      current = recordOf(first);
    }
  }
  function setCurrent(i) {
    const old = current >= 0 ? headerOf(current) : null;
    if (old) old.tabIndex = -1;
    current = i;
    const header = headerOf(i);
    if (header) header.tabIndex = 0;
  }

  const isAbove = (p, i) => {
    for (let c = parents[i]; c >= 0; c = parents[c]) if (c === p) return true;
    return false;
  };

  function setOpen(i, value) {
    if (!hasChildren(i)) return;
    open[i] = value ? 1 : 0;
    // The tab stop leaves a list that shuts around it.
    if (!value && current >= 0 && isAbove(i, current)) setCurrent(i);
    if (everyRow) {
      foldRows(i);
      headerOf(i).setAttribute("aria-expanded", String(value));
      return;
    }
    if (flat) {
      layRows();
      renderRows(true);
      return;
    }
    if (value && !built[i]) render(i, 0, Math.min(childrenOf(i).length, kSlice));
    listOf(i).classList.toggle("clsOpen", value);
    headerOf(i).setAttribute("aria-expanded", String(value));
  }

  // Opens the lists above entry i and builds it; scrolls it into view
  // (`block` as scrollIntoView takes it) and returns its header line.
  function show(i, block) {
    const way = [i];
    for (let p = parents[i]; p >= 0; p = parents[p]) way.push(p);
    if (everyRow) {
      for (let k = way.length - 1; k >= 1; k--) if (!open[way[k]]) setOpen(way[k], true);
      const header = headerOf(i);
      header.scrollIntoView({block});
      return header;
    }
    if (flat) {
      let changed = false;
      for (let k = 1; k < way.length; k++) changed = changed || !open[way[k]];
      for (let k = 1; k < way.length; k++) open[way[k]] = 1;
      if (changed) layRows();
      const top = tree.getBoundingClientRect().top + scrollY + rowOf[i] * rowHeight;
      const find = document.getElementById("idFind").offsetHeight;
      let y = scrollY;
      if (block === "center") y = top - innerHeight / 2;
      else if (top < scrollY + find) y = top - find;
      else if (top + rowHeight > scrollY + innerHeight) y = top + rowHeight - innerHeight;
      window.scrollTo(0, y);
      renderRows(true);
      return headerOf(i);
    }
    // Each list on the way is built once, around the entry that leads on.
    let list = count;
    for (let k = way.length - 1; k >= 0; k--) {
      reveal(list, way[k]);
      if (list !== count && !open[list]) setOpen(list, true);
      list = way[k];
    }
    const header = headerOf(i);
    header.scrollIntoView({block});
    return header;
  }
  function moveTo(i) {
    if (i < 0) return;
    setCurrent(i);
    show(i, "nearest").focus({preventScroll: true});
  }

  // Unfolds every list above entry i, marks its header line, scrolls to it
  // and gives it the focus.
  function select(i) {
    const old = marked >= 0 ? headerOf(marked) : null;
    if (old) old.classList.remove("clsMarked");
    marked = i;
    setCurrent(i);
    const header = show(i, "center");
    header.classList.add("clsMarked");
    header.focus({preventScroll: true});
  }

  // The entries after and before entry i as the tree shows them now.
  function nextShown(i) {
    if (open[i] && hasChildren(i)) return childrenOf(i)[0];
    for (let c = i; c >= 0; c = parents[c]) {
      const items = childrenOf(listAbove(c));
      if (place[c] + 1 < items.length) return items[place[c] + 1];
    }
    return -1;
  }
  function previousShown(i) {
    if (place[i] === 0) return parents[i];
    let c = childrenOf(listAbove(i))[place[i] - 1];
    while (open[c] && hasChildren(c)) c = childrenOf(c)[childrenOf(c).length - 1];
    return c;
  }
  function lastShown() {
    let c = rootList[rootList.length - 1];
    while (open[c] && hasChildren(c)) c = childrenOf(c)[childrenOf(c).length - 1];
    return c;
  }

  // The matches of q among the names of `text`, in order: take(r, quality)
  // for each name r that holds q (0: is q, 1: starts with it, 2: holds it);
  // once enough() is true, only names that are or start with q.
  function scan(text, starts, q, take, enough) {
    let r = 0;
    let found = text.indexOf(q);
    for (; found >= 0; found = text.indexOf(q, starts[r + 1])) {
      while (starts[r + 1] <= found) r++;
      const end = starts[r + 1] - 1;
      take(r, found > starts[r] ? 2 : found + q.length === end ? 0 : 1);
      if (enough()) break;
    }
    if (found < 0) return;
    const lead = "\n" + q;
    for (found = text.indexOf(lead, starts[r + 1] - 1); found >= 0;
         found = text.indexOf(lead, starts[r + 1] - 1)) {
      while (starts[r + 1] <= found + 1) r++;
      take(r, found + 1 + q.length === starts[r + 1] - 1 ? 0 : 1);
    }
  }

  // The members of every record, read from the member data once it has
  // loaded: each record's members are [memberFirst[r], memberFirst[r + 1]).
  // The reading is a series of steps, each run as a task of its own, so that
  // the page answers while millions of members are read.
  let members = null;
  const kStartsStep = 1 << 18;
  function* readMembers() {
    const total = memberKinds.length;
    const first = new Int32Array(count + 1);
    const owner = new Int32Array(total);
    const perRecord = readNumbers(memberCounts, count);
    for (let r = 0; r < count; r++) {
      first[r + 1] = first[r] + perRecord[r];
      owner.fill(r, first[r], first[r + 1]);
    }
    yield;
    const anchors = new Map();
    for (const line of memberAnchors.split("\n")) {
      const comma = line.indexOf(",");
      if (comma > 0) anchors.set(Number(line.slice(0, comma)), line.slice(comma + 1));
    }
    const memberStarts = new Int32Array(total + 1);
    for (let m = 0; m < total; m += kStartsStep) {
      yield;
      findStarts(memberNames, memberStarts, m, Math.min(total, m + kStartsStep));
    }
    // The names without case, a slice of them at a time: each slice folds
    // to as many characters as it has.
    const slices = [];
    for (let m = 0; m < total; m += kStartsStep) {
      yield;
      const end = Math.min(total, m + kStartsStep);
      slices.push(foldCase(memberNames.slice(memberStarts[m], memberStarts[end])));
    }
    yield;
    const folded = slices.join("");
    yield;
    // How many declarations override each function that others override.
    const overridden = new Map();
    if (typeof memberOverridden === "string") {
      const pairs = memberOverridden.split(",");
      for (let k = 0, m = 0; k + 1 < pairs.length; k += 2) {
        m += Number(pairs[k]);
        overridden.set(m, Number(pairs[k + 1]));
      }
    }
    yield;
    members = {
      first, owner, anchors, folded, overridden,
      kindNames: memberKindNames.split("\n"),
      prefixes: memberPrefixes.split("\n"),
      starts: memberStarts,
      // <packages>
      ...readPackages(),
      // </packages>
    };
  }
  // <packages>
  // The packages, where the member data has them: their names, folded names
  // and anchors, each one's classes in record order. Packages are found by
  // name after the classes and states of each rank, before the members;
  // "Package." and "Package.Name" list the package's classes as classes.
  function readPackages() {
    if (typeof packageNames !== "string") return {packages: [], packageOf: null};
    const lines = (text) => text.split("\n").slice(0, -1);
    const packages = lines(packageNames).map((name) => ({name, classes: []}));
    lines(packageAnchors).forEach((anchor, p) => (packages[p].anchor = anchor));
    for (const p of packages) p.folded = foldCase(p.name);
    const ofRecord = readNumbers(recordPackages, count);
    for (let r = 0; r < count; r++) {
      if (ofRecord[r] > 0 && kinds[r] === "c") packages[ofRecord[r] - 1].classes.push(r);
    }
    return {packages, packageOf: ofRecord};
  }
  const packageLink = (p) => "packages.html#" + members.packages[p].anchor;
  // </packages>
  const memberName = (m) => memberNames.slice(members.starts[m], members.starts[m + 1] - 1);
  // A member's kind letter is in capitals where the member overrides a
  // function of a record above.
  const memberKind = (m) => (memberKinds.charCodeAt(m) | 32) - 97;
  const overrides = (m) => memberKinds.charCodeAt(m) < 97;
  // The page and place of member m: its owner's page at the member's anchor.
  const memberLink = (m) => number(members.owner[m]) + ".html#" +
      (members.anchors.get(m) ?? members.prefixes[memberKind(m)] + memberName(m));

  // What a query asks: a kind of result (a word before a colon: "fn:"),
  // whole names only (in double quotes), and the text to find.
  const kFilters = ["class", "state", "fn", "var", "const", "enum", "struct"];
  // <packages>
  kFilters.push("package");
  // </packages>
  const kMemberFilters = ["const", "enum", "struct", "var"];
  const listsMembers = (filter) => filter === null || filter === "fn" ||
      kMemberFilters.includes(filter);
  function readQuery(query) {
    const colon = /^([a-z]+):\s*/.exec(query);
    const filter = colon && kFilters.includes(colon[1]) ? colon[1] : null;
    let text = filter ? query.slice(colon[0].length) : query;
    const whole = text.startsWith('"');
    if (whole) text = text.slice(1, text.length > 1 && text.endsWith('"') ? -1 : undefined);
    return {filter, whole, q: foldCase(text)};
  }
  // The kind of result an entry is, as a filter names it.
  function filterOf(entry) {
    if (typeof entry === "number") return kindOf(entry);
    if ("state" in entry) return "state";
    // <packages>
    if ("package" in entry) return "package";
    // </packages>
    return kMemberFilters[memberKind(entry.member)] ?? "fn";
  }

  // Whether text[a + x, b) is q[y, q.length).
  function sameRest(text, a, b, x, q, y) {
    if (b - a - x !== q.length - y) return false;
    for (; a + x < b; x++, y++) if (text.charCodeAt(a + x) !== q.charCodeAt(y)) return false;
    return true;
  }
  // Whether text[a, b) and q are one edit apart: one letter put in, left out,
  // changed, or two neighbours swapped.
  function oneEditApart(text, a, b, q) {
    const n = b - a;
    const m = q.length;
    if (n - m > 1 || m - n > 1) return false;
    let i = 0;
    while (i < n && i < m && text.charCodeAt(a + i) === q.charCodeAt(i)) i++;
    if (i === n && i === m) return false;
    if (n > m) return sameRest(text, a, b, i + 1, q, i);
    if (n < m) return sameRest(text, a, b, i, q, i + 1);
    return sameRest(text, a, b, i + 1, q, i + 1) ||
        (i + 1 < n && text.charCodeAt(a + i) === q.charCodeAt(i + 1) &&
         text.charCodeAt(a + i + 1) === q.charCodeAt(i) && sameRest(text, a, b, i + 2, q, i + 2));
  }
  // Calls take(r) for each name r of `text` one edit apart from q, until
  // enough() is true.
  function slips(text, starts, total, q, take, enough) {
    for (let r = 0; r < total && !enough(); r++) {
      const a = starts[r];
      const b = starts[r + 1] - 1;
      if (b - a - q.length <= 1 && q.length - (b - a) <= 1 && oneEditApart(text, a, b, q)) take(r);
    }
  }

  // The matches of `query`, ASCII letters compared without case: those that
  // are it, then those that start with it, then those that hold it; in each,
  // classes, then states, then the members that override nothing, then those
  // that do; each group in record order and at most `limit` long, four
  // groups a rank. Records are numbers, members {member: m}. "Owner.Name"
  // and "Owner." look among the states ({state: s}) and members of the
  // records called Owner only, "Owner.State." among those of its state. A
  // query that names a kind ("fn:") lists that kind only; one in double
  // quotes, whole names only. Where nothing matches, the names one edit
  // apart from the query are the matches, and the groups are `slipped`.
  function search(query, limit) {
    const groups = Array.from({length: 12}, () => []);
    const {filter, whole, q} = readQuery(query);
    if (q === "" || q.includes("\n")) return groups;
    const add = (rank, slot, entry) => {
      const group = groups[4 * rank + slot];
      if ((whole && rank > 0) || group.length >= limit) return;
      if (filter === null || filterOf(entry) === filter) group.push(entry);
    };
    const addMember = (rank, m) => add(rank, 2 + overrides(m), {member: m});
    const quality = (text, name) => (text === name ? 0 : text.startsWith(name) ? 1 : 2);
    const recordText = (c) => folded.slice(starts[c], starts[c + 1] - 1);
    const dot = q.indexOf(".");
    if (dot > 0 && members) {
      const name = q.slice(dot + 1);
      // <packages>
      for (const p of members.packages) {
        if (p.folded !== q.slice(0, dot)) continue;
        for (const c of p.classes) {
          const text = recordText(c);
          if (text.includes(name)) add(quality(text, name), 0, c);
        }
      }
      // </packages>
      const within = (owner, name) => {
        const next = name.indexOf(".");
        for (const c of childrenOf(owner)) {
          if (kinds[c] !== "s") continue;
          const text = recordText(c);
          if (text.includes(name)) add(quality(text, name), 1, {state: c});
          if (next > 0 && text === name.slice(0, next)) within(c, name.slice(next + 1));
        }
        for (let m = members.first[owner]; m < members.first[owner + 1]; m++) {
          const text = members.folded.slice(members.starts[m], members.starts[m + 1] - 1);
          if (text.includes(name)) addMember(quality(text, name), m);
        }
      };
      scan(folded, starts, q.slice(0, dot), (owner, exact) => exact === 0 && within(owner, name),
           () => false);
      return groups;
    }
    const filled = (list) => list.reduce((sum, k) => sum + groups[k].length, 0);
    const records = filter === null || filter === "class" || filter === "state";
    if (records) {
      scan(folded, starts, q, (r, rank) => add(rank, kinds[r] === "s" ? 1 : 0, r),
           () => filled([0, 1, 4, 5, 8]) >= limit);
    }
    if (members && !(filter === "class" || filter === "state")) {
      // <packages>
      members.packages.forEach((p, k) => {
        const found = p.folded.indexOf(q);
        if (found >= 0) add(found > 0 ? 2 : p.folded === q ? 0 : 1, 2, {package: k});
      });
      // </packages>
      if (listsMembers(filter)) {
        scan(members.folded, members.starts, q, (m, rank) => addMember(rank, m),
             () => filled([0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11]) >= limit);
      }
    }
    if (filled([0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11]) === 0) {
      groups.slipped = true;
      const enough = () => filled([8, 9, 10, 11]) >= limit;
      if (records) {
        slips(folded, starts, count, q,
              (r) => kinds[r] !== "-" && add(2, kinds[r] === "s" ? 1 : 0, r), enough);
      }
      if (members) {
        slips(members.folded, members.starts, memberKinds.length, q, (m) => addMember(2, m),
              enough);
      }
    }
    return groups;
  }

  // The member data is loaded by a script element the first time something
  // is typed, so that opening the index does not wait for it.
  let loading = false;
  function loadMembers() {
    if (loading || !field.dataset.members) return;
    loading = true;
    const script = document.createElement("script");
    script.src = field.dataset.members;
    const steps = readMembers();
    const step = () => {
      if (!steps.next().done) {
        setTimeout(step, 0);
        return;
      }
      results.dataset.members = "loaded";
      showResults();
    };
    script.onload = step;
    document.body.appendChild(script);
  }

  // The members' summaries, loaded a piece of kSummaryPiece members at a
  // time as the results show members of it: pieces[k] is undefined before,
  // true while it loads, then the piece's lines. A piece that comes in
  // fills the summaries of the results shown.
  const kSummaryPiece = 4096;
  const pieces = [];
  const summaryOf = (m) => {
    const piece = pieces[Math.floor(m / kSummaryPiece)];
    return (Array.isArray(piece) && piece[m % kSummaryPiece]) || "";
  };
  globalThis.korvanrefSummaries = (k, text) => {
    pieces[k] = text.split("\n");
    matches.forEach((entry, n) => {
      if (typeof entry !== "object" || !("member" in entry)) return;
      const span = document.getElementById("idSummary" + n);
      if (span && Math.floor(entry.member / kSummaryPiece) === k) {
        span.textContent = summaryOf(entry.member);
      }
    });
  };
  function loadSummaries() {
    for (const entry of matches) {
      if (typeof entry !== "object" || !("member" in entry)) continue;
      const k = Math.floor(entry.member / kSummaryPiece);
      if (pieces[k] !== undefined) continue;
      pieces[k] = true;
      const script = document.createElement("script");
      script.src = "summaries-" + k + ".js";
      document.body.appendChild(script);
    }
  }

  const kShown = 50;
  let matches = [];
  let active = -1;
  // A class result: its superclass in brackets, as in the tree.
  function classAbout(i) {
    let about = " (" + parentName(i) + ")";
    // <packages>
    // Where the member data has packages, the class's is its line of substance.
    const p = members && members.packageOf ? members.packageOf[i] : 0;
    if (p > 0) {
      about += ' <span class="clsSummary">package ' + escapeHtml(members.packages[p - 1].name) +
          "</span>";
    }
    // </packages>
    return about;
  }
  function option(entry, k) {
    const open = '<li role="none"><a role="option" id="idOption' + k +
        '" aria-selected="false" tabindex="-1" class="clsPick" ';
    if (typeof entry === "number") {
      return open + 'href="' + (onIndex ? "#" : "") + number(entry) + (onIndex ? "" : ".html") +
          '" data-record="' + entry +
          '"><span class="clsKind">' + kindOf(entry) + "</span> <b>" +
          escapeHtml(fullName(entry)) + "</b>" + (kinds[entry] === "s" ? "" : classAbout(entry)) +
          "</a></li>";
    }
    // <packages>
    if ("package" in entry) {
      const p = members.packages[entry.package];
      return open + 'href="' + escapeHtml(packageLink(entry.package)) + '" data-package="' +
          entry.package + '"><span class="clsKind">package</span> <b>' + escapeHtml(p.name) +
          "</b> (" + counted(p.classes.length, "class", "es") + ")</a></li>";
    }
    // </packages>
    if ("state" in entry) {
      return open + 'href="' + number(entry.state) + '.html" data-state="' + entry.state +
          '"><span class="clsKind">state</span> <b>' + escapeHtml(fullName(entry.state)) +
          "</b></a></li>";
    }
    const m = entry.member;
    const times = members.overridden.get(m);
    return open + 'href="' + escapeHtml(memberLink(m)) + '" data-member="' + m +
        '"><span class="clsKind">' + members.kindNames[memberKind(m)] + "</span> <b>" +
        escapeHtml(fullName(members.owner[m])) + "." + escapeHtml(memberName(m)) + "</b>" +
        (times ? ' <span class="clsKind">overridden in ' + times + "</span>" : "") +
        ' <span class="clsSummary" id="idSummary' + k + '">' + escapeHtml(summaryOf(m)) +
        "</span></a></li>";
  }
  function showResults() {
    const groups = search(field.value, kShown);
    matches = [].concat(...groups).slice(0, kShown);
    results.classList.toggle("clsSlips", groups.slipped === true && matches.length > 0);
    results.innerHTML = matches.map(option).join("");
    if (members) loadSummaries();
    setActive(-1);
    field.setAttribute("aria-expanded", String(matches.length > 0));
  }
  function setActive(k) {
    const old = document.getElementById("idOption" + active);
    if (old) old.setAttribute("aria-selected", "false");
    active = k;
    const now = document.getElementById("idOption" + k);
    if (now) {
      now.setAttribute("aria-selected", "true");
      now.scrollIntoView({block: "nearest"});
      field.setAttribute("aria-activedescendant", now.id);
    } else {
      field.removeAttribute("aria-activedescendant");
    }
  }
  function pick(k) {
    const entry = matches[k];
    if (!onIndex && typeof entry === "number") {
      location.href = number(entry) + ".html";
      return;
    }
    if (typeof entry !== "number") {
      // <packages>
      if ("package" in entry) {
        location.href = packageLink(entry.package);
        return;
      }
      // </packages>
      location.href = "state" in entry ? number(entry.state) + ".html" : memberLink(entry.member);
      return;
    }
    try {
      history.replaceState(null, "", "#" + number(entry));
    } catch (error) {
      // A page opened from disk may refuse; the selection still happens.
    }
    select(entry);
  }

  field.addEventListener("input", () => {
    loadMembers();
    showResults();
  });
  field.addEventListener("keydown", (event) => {
    if (event.key === "ArrowDown" && matches.length > 0) {
      event.preventDefault();
      setActive(Math.min(active + 1, matches.length - 1));
    } else if (event.key === "ArrowUp" && active >= 0) {
      event.preventDefault();
      setActive(active - 1);
    } else if (event.key === "Enter" && matches.length > 0) {
      event.preventDefault();
      pick(Math.max(active, 0));
    } else if (event.key === "Escape") {
      // The first Escape clears the field, the next leaves it.
      event.preventDefault();
      if (field.value === "") field.blur();
      field.value = "";
      showResults();
    }
  });

  // The panel of keys and filters, opened by its button or by "?"; "/" or
  // "s" goes to the search field. None of these while typing in a field.
  results.insertAdjacentHTML("beforebegin",
      ' <button type="button" id="idHelpButton" aria-expanded="false" aria-controls="idHelp"' +
      ' aria-label="Keys and filters">?</button><div id="idHelp" hidden><p>Type a name or a' +
      " part of one. <kbd>Class.</kbd> lists a class's states and members," +
      " <kbd>Class.State.</kbd> a state's.</p><p>Only one kind: " +
      kFilters.map((name) => "<kbd>" + name + ":</kbd>").join(" ") + " before the name." +
      ' Whole names only: <kbd>"Name"</kbd>. Where nothing matches, the names one letter' +
      " away.</p><p>Keys: <kbd>/</kbd> or <kbd>s</kbd> search, <kbd>Down</kbd> and" +
      " <kbd>Up</kbd> move through the results, <kbd>Enter</kbd> opens one," +
      " <kbd>Escape</kbd> clears the field and then leaves it, <kbd>?</kbd> shows or hides" +
      " this panel.</p></div>");
  const helpButton = document.getElementById("idHelpButton");
  const help = document.getElementById("idHelp");
  const toggleHelp = () => {
    help.hidden = !help.hidden;
    helpButton.setAttribute("aria-expanded", String(!help.hidden));
  };
  helpButton.addEventListener("click", toggleHelp);
  document.addEventListener("keydown", (event) => {
    const target = event.target;
    if (event.ctrlKey || event.metaKey || event.altKey || !target ||
        /^(INPUT|TEXTAREA|SELECT)$/.test(target.tagName) || target.isContentEditable) {
      return;
    }
    if (event.key === "/" || event.key === "s") field.focus();
    else if (event.key === "?") toggleHelp();
    else if (event.key === "Escape" && !help.hidden) toggleHelp();
    else return;
    event.preventDefault();
  });
  results.addEventListener("click", (event) => {
    const link = event.target.closest("a.clsPick");
    if (!link || !link.dataset.record) return;
    event.preventDefault();
    pick(Number(link.id.slice("idOption".length)));
  });

  // A page other than the index loads this script on the field's first use:
  // what was typed meanwhile is searched.
  if (!onIndex && field.value !== "") {
    loadMembers();
    showResults();
  }
  if (onIndex) {
    tree.addEventListener("click", (event) => {
      const header = event.target.closest(".clsHeader");
      if (!header || event.target.closest("a")) return;
      const i = recordOf(header);
      setCurrent(i);
      setOpen(i, !open[i]);
      headerOf(current).focus({preventScroll: true});
    });
    tree.addEventListener("focusin", (event) => {
      if (event.target.classList.contains("clsHeader")) setCurrent(recordOf(event.target));
    });
    // The keys of a tree: Up and Down move, Right opens or enters, Left shuts
    // or leaves, Home and End go to the first and last entry shown, Enter
    // follows the entry's link and Space folds it.
    tree.addEventListener("keydown", (event) => {
      if (!event.target.classList.contains("clsHeader")) return;
      const i = recordOf(event.target);
      const key = event.key;
      if (key === "ArrowDown") moveTo(nextShown(i));
      else if (key === "ArrowUp") moveTo(previousShown(i));
      else if (key === "Home") moveTo(rootList[0]);
      else if (key === "End") moveTo(lastShown());
      else if (key === "ArrowRight" && hasChildren(i) && !open[i]) setOpen(i, true);
      else if (key === "ArrowRight" && hasChildren(i)) moveTo(childrenOf(i)[0]);
      else if (key === "ArrowLeft" && open[i] && hasChildren(i)) setOpen(i, false);
      else if (key === "ArrowLeft") moveTo(parents[i]);
      else if (key === "Enter") event.target.querySelector("a").click();
      else if (key === " ") setOpen(i, !open[i]);
      else return;
      event.preventDefault();
    });

    // "Expand all" opens every list and shows every entry where it belongs.
    document.getElementById("idExpandAll").addEventListener("click", () => {
      open.fill(1);
      if (shown > kNested) {
        startFlat(shown <= kAllAtOnce);
        return;
      }
      const markup = [];
      for (let k = 0; k < shown; k++) {
        const i = order[k];
        built[i] = 1;
        from[i] = 0;
        to[i] = childrenOf(i).length;
        markup.push(entryOpen(i));
        const next = k + 1 < shown ? level[order[k + 1]] : 1;
        for (let l = level[i]; l >= next; l--) markup.push("</ul></li>");
      }
      built[count] = 1;
      from[count] = 0;
      to[count] = rootList.length;
      tree.innerHTML = markup.join("");
      keepTabStop();
    });
    document.getElementById("idCollapseAll").addEventListener("click", () => {
      open.fill(0);
      open[count] = 1;
      if (flat) {
        flat = false;
        everyRow = false;
        tree.classList.remove("clsFlat");
        tree.style.height = "";
        tree.style.paddingTop = "";
      }
      while (current >= 0 && parents[current] >= 0) current = parents[current];
      render(count, 0, Math.min(rootList.length, kSlice));
      keepTabStop();
    });

    render(count, 0, Math.min(rootList.length, kSlice));

    // index.html#NNNNN: that record; index.html#Name: the class of that name,
    // without case, with the lowest number.
    function followHash() {
      let target = location.hash.slice(1);
      try {
        target = decodeURIComponent(target);
      } catch (error) {
        // Not percent-encoded text: taken as it stands.
      }
      let i = -1;
      if (/^[0-9]+$/.test(target)) {
        i = Number(target);
      } else if (target !== "" && !target.includes(".")) {
        const exact = search(target, 1)[0];
        if (exact.length > 0) i = exact[0];
      }
      if (i >= 0 && i < count && kinds[i] !== "-") select(i);
    }
    window.addEventListener("hashchange", followHash);
    followHash();
  }
})();
