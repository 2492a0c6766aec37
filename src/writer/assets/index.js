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

  // Where each name starts in `names`, and the names with their ASCII letters
  // lower-cased: the one text every search goes through.
  const starts = new Int32Array(count + 1);
  for (let i = 0, at = 0; i <= count; i++) {
    starts[i] = at;
    if (i < count) at = names.indexOf("\n", at) + 1;
  }
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
  const parentName = (i) => (parents[i] >= 0 ? escapeHtml(nameOf(parents[i])) : "");
  const counted = (n, word, ending) => n + " " + word + (n === 1 ? "" : ending);

  // An entry's header line and the opening of its (folded) list.
  function entryOpen(i) {
    const n = number(i);
    const leaf = firstChild[i] === firstChild[i + 1];
    return '<li><div id="idHeader' + n + '" class="clsHeader' + (leaf ? " clsLeaf" : "") +
        '" tabindex="0"' + (leaf ? "" : ' aria-expanded="false"') + ">" + kindOf(i) +
        ' <a href="' + n + '.html" class="clsName">' + escapeHtml(nameOf(i)) + "</a> (" +
        parentName(i) + '), <span class="clsCounts"> ' +
        counted(subclasses[i], "subclass", "es") + ", " + counted(states[i], "state", "s") +
        ", " + counted(counts[3 * i], "var", "s") + ", " +
        counted(counts[3 * i + 1], "event", "s") + ", " +
        counted(counts[3 * i + 2], "function", "s") + '</span></div><ul id="idBlurb' + n +
        '" class="clsBlurb">';
  }

  // A list is built a slice of entries at a time: one range of its entries,
  // [from, to), with a line "N more" before and after it for those not yet
  // built. As such a line comes near the window the next slice is built
  // there, so a list of any length opens at once.
  const kSlice = 100;
  const built = new Uint8Array(count + 1);
  const from = new Int32Array(count + 1);
  const to = new Int32Array(count + 1);
  const tree = document.getElementById("idTree");
  const field = document.getElementById("idSearch");
  const results = document.getElementById("idResults");
  const listOf = (i) => (i === count ? tree : document.getElementById("idBlurb" + number(i)));
  const headerOf = (i) => document.getElementById("idHeader" + number(i));
  const isOpen = (i) => listOf(i).classList.contains("clsOpen");

  function sliceMarkup(i, a, b) {
    const items = childrenOf(i);
    let markup = "";
    for (let k = a; k < b; k++) markup += entryOpen(items[k]) + "</ul></li>";
    return markup;
  }
  const moreMarkup = (i, side, n) =>
      (n > 0 ? '<li class="clsMore" data-list="' + i + '" data-side="' + side + '">' + n +
                   " more</li>"
             : "");

  // While everything is expanded, header lines with lists are watched too,
  // and opened as they come near.
  let expanding = false;
  const near = new IntersectionObserver((entries) => {
    for (const entry of entries) {
      if (!entry.isIntersecting || !entry.target.isConnected) continue;
      near.unobserve(entry.target);
      const line = entry.target;
      if (line.classList.contains("clsMore")) {
        grow(Number(line.dataset.list), line.dataset.side, line);
      } else if (expanding) {
        setOpen(Number(line.id.slice("idHeader".length)), true);
      }
    }
  }, {rootMargin: "2000px 0px"});

  function watch(i, a, b) {
    for (const line of listOf(i).querySelectorAll(":scope > li.clsMore")) near.observe(line);
    if (!expanding) return;
    const items = childrenOf(i);
    for (let k = a; k < b; k++) {
      const c = items[k];
      if (firstChild[c] !== firstChild[c + 1] && !(built[c] && isOpen(c))) near.observe(headerOf(c));
    }
  }

  // Builds list i anew with the entries [a, b); lists built below the old
  // entries are forgotten.
  function render(i, a, b) {
    const pending = built[i] ? Array.from(childrenOf(i).subarray(from[i], to[i])) : [];
    while (pending.length > 0) {
      const c = pending.pop();
      if (!built[c]) continue;
      built[c] = 0;
      pending.push(...childrenOf(c).subarray(from[c], to[c]));
    }
    built[i] = 1;
    from[i] = a;
    to[i] = b;
    listOf(i).innerHTML = moreMarkup(i, "before", a) + sliceMarkup(i, a, b) +
        moreMarkup(i, "after", childrenOf(i).length - b);
    watch(i, a, b);
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
    watch(i, a, b);
  }

  // Makes sure record c, a child of i, has its entry built in i's list.
  function reveal(i, c) {
    const items = childrenOf(i);
    let k = 0;
    for (let high = items.length; k < high;) {
      const middle = (k + high) >> 1;
      if (items[middle] < c) k = middle + 1;
      else high = middle;
    }
    if (built[i] && k >= from[i] && k < to[i]) return;
    // A short range around the entry is built: the lines "N more" at its
    // ends build on as soon as they show.
    const half = kSlice >> 2;
    if (built[i] && k >= from[i] - 4 * kSlice && k < to[i] + 4 * kSlice) {
      while (k < from[i]) grow(i, "before", listOf(i).firstElementChild);
      while (k >= to[i]) grow(i, "after", listOf(i).lastElementChild);
      return;
    }
    const a = Math.max(0, Math.min(k - half, items.length - 2 * half));
    render(i, a, Math.min(items.length, a + 2 * half));
  }

  render(count, 0, Math.min(rootList.length, kSlice));

  function setOpen(i, open) {
    if (open && !built[i]) render(i, 0, Math.min(childrenOf(i).length, kSlice));
    listOf(i).classList.toggle("clsOpen", open);
    const header = headerOf(i);
    if (header.hasAttribute("aria-expanded")) header.setAttribute("aria-expanded", String(open));
  }
  function toggle(header) {
    const i = Number(header.id.slice("idHeader".length));
    setOpen(i, !isOpen(i));
  }

  // Unfolds every list above entry i, marks its header line, scrolls to it
  // and gives it the focus.
  let marked = null;
  function select(i) {
    const way = [i];
    for (let p = parents[i]; p >= 0; p = parents[p]) way.push(p);
    // Each list on the way is built once, around the entry that leads on.
    let list = count;
    for (let k = way.length - 1; k >= 0; k--) {
      reveal(list, way[k]);
      if (list !== count) setOpen(list, true);
      list = way[k];
    }
    if (marked) marked.classList.remove("clsMarked");
    marked = headerOf(i);
    marked.classList.add("clsMarked");
    marked.scrollIntoView({block: "center"});
    marked.focus({preventScroll: true});
  }

  // The matches of `query` among the names, ASCII letters compared without
  // case: exact matches, then those that start with it, then the rest; in
  // each, classes before states; each group in record order and at most
  // `limit` long. One pass of indexOf over the folded names.
  function search(query, limit) {
    const groups = [[], [], [], [], [], []];
    const q = foldCase(query);
    if (q === "" || q.includes("\n")) return groups;
    let r = 0;
    for (let at = folded.indexOf(q); at >= 0; at = folded.indexOf(q, starts[r + 1])) {
      while (starts[r + 1] <= at) r++;
      const place = at > starts[r] ? 4 : at + q.length === starts[r + 1] - 1 ? 0 : 2;
      const group = groups[place + (kinds[r] === "s" ? 1 : 0)];
      if (group.length < limit) group.push(r);
    }
    return groups;
  }

  const kShown = 50;
  let shown = [];
  function showResults() {
    shown = [].concat(...search(field.value, kShown)).slice(0, kShown);
    results.innerHTML = shown.map((i) => {
      const n = number(i);
      return '<li><span class="clsKind">' + kindOf(i) + '</span> <a href="#' + n +
          '" class="clsPick" data-record="' + i + '">' + escapeHtml(nameOf(i)) + "</a> (" +
          parentName(i) + ') <a href="' + n + '.html" class="clsPage">page</a></li>';
    }).join("");
  }
  function pick(i) {
    try {
      history.replaceState(null, "", "#" + number(i));
    } catch (error) {
      // A page opened from disk may refuse; the selection still happens.
    }
    select(i);
  }

  field.addEventListener("input", showResults);
  field.addEventListener("keydown", (event) => {
    if (event.key === "Enter" && shown.length > 0) {
      event.preventDefault();
      pick(shown[0]);
    } else if (event.key === "Escape") {
      event.preventDefault();
      field.value = "";
      showResults();
    }
  });
  results.addEventListener("click", (event) => {
    const link = event.target.closest("a.clsPick");
    if (!link) return;
    event.preventDefault();
    pick(Number(link.dataset.record));
  });
  tree.addEventListener("click", (event) => {
    const header = event.target.closest(".clsHeader");
    if (header && !event.target.closest("a")) toggle(header);
  });
  tree.addEventListener("keydown", (event) => {
    if ((event.key === "Enter" || event.key === " ") &&
        event.target.classList.contains("clsHeader")) {
      event.preventDefault();
      toggle(event.target);
    }
  });
  // "Expand all" opens every list, but builds a list's entries only once its
  // header line comes near the window: hundreds of thousands of entries are
  // never built at once, and scrolling on builds the rest.
  document.getElementById("idExpandAll").addEventListener("click", () => {
    expanding = true;
    for (const header of tree.querySelectorAll(".clsHeader[aria-expanded]")) {
      const i = Number(header.id.slice("idHeader".length));
      if (built[i]) setOpen(i, true);
      else near.observe(header);
    }
  });
  document.getElementById("idCollapseAll").addEventListener("click", () => {
    expanding = false;
    for (const header of tree.querySelectorAll(".clsHeader[aria-expanded]")) {
      near.unobserve(header);
    }
    for (const list of tree.querySelectorAll("ul.clsOpen")) list.classList.remove("clsOpen");
    for (const header of tree.querySelectorAll('[aria-expanded="true"]')) {
      header.setAttribute("aria-expanded", "false");
    }
  });

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
    } else if (target !== "") {
      const exact = search(target, 1)[0];
      if (exact.length > 0) i = exact[0];
    }
    if (i >= 0 && i < count && kinds[i] !== "-") select(i);
  }
  window.addEventListener("hashchange", followHash);
  followHash();
})();
