"use strict";
// The colour scheme of every page, with its switch beside the search field.
// On a page other than the index, the search field too: made a combobox with
// its list of results, it loads the index's records and script (index.js,
// which then searches) the first time it is used: focused, or "/", "s" or
// "?" pressed outside a field.
(() => {
  // The scheme last chosen with the switch where the browser keeps it from
  // here (it may not, from file://), else the system's.
  const root = document.documentElement;
  let chosen = null;
  try {
    chosen = localStorage.getItem("korvanrefScheme");
  } catch (error) {
    // Nothing kept: the system's scheme.
  }
  const system = matchMedia("(prefers-color-scheme: dark)");
  const dark = () => (chosen ?? (system.matches ? "dark" : "light")) === "dark";
  const field = document.getElementById("idSearch");
  const switcher = document.createElement("button");
  const apply = () => {
    root.classList.toggle("clsDark", dark());
    switcher.setAttribute("aria-pressed", String(dark()));
  };
  switcher.type = "button";
  switcher.id = "idScheme";
  switcher.textContent = "Dark";
  switcher.addEventListener("click", () => {
    chosen = dark() ? "light" : "dark";
    try {
      localStorage.setItem("korvanrefScheme", chosen);
    } catch (error) {
      // Not kept: this page alone changes.
    }
    apply();
  });
  system.addEventListener("change", apply);
  apply();
  if (!field) return;
  field.after(switcher);
  if (field.getAttribute("role") === "combobox") return;  // the index's own
  const results = document.createElement("ol");
  results.id = "idResults";
  results.setAttribute("role", "listbox");
  results.setAttribute("aria-label", "Matches");
  field.after(results);
  const attributes = {
    "role": "combobox", "aria-autocomplete": "list", "aria-expanded": "false",
    "aria-controls": "idResults", "autocomplete": "off", "spellcheck": "false",
  };
  for (const name in attributes) field.setAttribute(name, attributes[name]);
  field.dataset.members = "members.js";

  let loading = false;
  let afterLoad = () => {};
  function onKey(event) {
    const target = event.target;
    if (event.ctrlKey || event.metaKey || event.altKey || !target ||
        /^(INPUT|TEXTAREA|SELECT)$/.test(target.tagName) || target.isContentEditable) {
      return;
    }
    if (event.key === "/" || event.key === "s") {
      field.focus();
    } else if (event.key === "?") {
      afterLoad = () => document.getElementById("idHelpButton").click();
      load();
    } else {
      return;
    }
    event.preventDefault();
  }
  // The scripts load one after the other; once the index's has run, its
  // keys are the page's.
  function load() {
    if (loading) return;
    loading = true;
    const add = (src, next) => {
      const script = document.createElement("script");
      script.src = src;
      script.onload = next;
      document.body.appendChild(script);
    };
    add("records.js", () => add("index.js", () => {
      document.removeEventListener("keydown", onKey);
      afterLoad();
    }));
  }
  field.addEventListener("focus", load);
  document.addEventListener("keydown", onKey);
})();
