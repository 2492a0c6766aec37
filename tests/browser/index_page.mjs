// What a reader does on, and sees of, an index page open in the browser:
// entries found by name, clicks on a header's text or its link, and which
// sub-lists and header lines are shown.

/// Returns the number of the entry whose link reads `name` (the digits of its
/// header's id), or null when there is none.
export async function entryNumber(page, name) {
  return page.evaluate((wanted) => {
    for (const header of document.querySelectorAll('li.clsHeader')) {
      const link = header.querySelector('a');
      if (link && link.textContent === wanted) return header.id.replace('idHeader', '');
    }
    return null;
  }, name);
}

/// Returns the ids of the sub-lists that are displayed, in page order.
export async function shownSubLists(page) {
  return page.evaluate(
      () => [...document.querySelectorAll('ul.clsBlurb')]
                .filter((list) => getComputedStyle(list).display !== 'none')
                .map((list) => list.id),
  );
}

/// Tells whether the header line of entry `number` is rendered on the page.
export async function headerShown(page, number) {
  return page.evaluate((id) => {
    const header = document.getElementById(id);
    return header !== null && header.checkVisibility();
  }, `idHeader${number}`);
}

// The centre of the screen box of the header's first words (its kind, before
// the link), or null when that text takes no room on the screen.
async function headerTextPoint(page, number) {
  return page.evaluate((id) => {
    const header = document.getElementById(id);
    if (!header || !header.firstChild || header.firstChild.nodeType !== Node.TEXT_NODE) return null;
    header.scrollIntoView({block: 'center'});
    const range = document.createRange();
    range.selectNodeContents(header.firstChild);
    const box = range.getBoundingClientRect();
    if (box.width === 0 || box.height === 0) return null;
    return {x: box.x + box.width / 2, y: box.y + box.height / 2};
  }, `idHeader${number}`);
}

/// Clicks the mouse on the text of entry `number`'s header line, not on its
/// link; false when that text is not on the screen.
export async function clickHeaderText(page, number) {
  const point = await headerTextPoint(page, number);
  if (!point) return false;
  await page.mouse.click(point.x, point.y);
  return true;
}

/// Clicks entry `number`'s link and returns the page that it opened in a
/// new tab, once that page has loaded.
export async function clickLink(page, number) {
  const browser = page.browser();
  const opened = new Promise((resolve) => {
    const onTarget = (target) => {
      if (target.type() !== 'page') return;
      browser.off('targetcreated', onTarget);
      resolve(target.page());
    };
    browser.on('targetcreated', onTarget);
  });
  await page.click(`#idHeader${number} > a`);
  const tab = await opened;
  // The new tab starts on about:blank before it loads the linked page.
  await tab.waitForFunction(
      () => location.protocol === 'file:' && document.readyState === 'complete');
  return tab;
}

/// Returns the number of elements on the page that match `selector`.
export async function countOf(page, selector) {
  return page.evaluate((wanted) => document.querySelectorAll(wanted).length, selector);
}

/// Returns the text of entry `number`'s header line, or null without one.
export async function headerText(page, number) {
  return page.evaluate(
      (id) => document.getElementById(id)?.textContent ?? null, `idHeader${number}`);
}

/// Reads a record page as a reader sees it: its title, its three headings
/// and the visible text of the items under each.
export async function readRecordPage(page) {
  return page.evaluate(() => {
    const headings = [...document.querySelectorAll('p')].map((p) => p.innerText.trim());
    const lists = [...document.querySelectorAll('ul')].map(
        (list) => [...list.querySelectorAll('li')].map((item) => item.innerText.trim()),
    );
    return {title: document.title.trim(), headings, lists};
  });
}

/// Returns the whole visible text of the page.
export async function visibleText(page) { return page.evaluate(() => document.body.innerText); }
