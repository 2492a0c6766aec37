// Starts one of Debian's browsers headless through puppeteer-core, each time
// with a fresh profile, and tells when the browser or the node modules are
// missing. Chromium is driven over its DevTools protocol, Firefox over
// WebDriver BiDi; neither needs a driver binary, and nothing is downloaded.
import fs from 'node:fs';

import {makeTempDir, removeTree} from './temp_dir.mjs';

// The machine has no network: without these Chromium waits on refused
// connections for updates, sync and the like.
const chromiumFlags = [
  '--no-sandbox',
  '--disable-gpu',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

// Preferences written to Firefox's fresh profile on top of those puppeteer
// sets (which already point updates, safe browsing and remote settings
// nowhere): no telemetry, no experiments, no connectivity probes.
const firefoxPrefs = {
  'app.normandy.enabled': false,
  'app.update.auto': false,
  'app.update.enabled': false,
  'browser.discovery.enabled': false,
  'browser.ping-centre.telemetry': false,
  'datareporting.usage.uploadEnabled': false,
  'extensions.blocklist.enabled': false,
  'extensions.systemAddon.update.enabled': false,
  'messaging-system.rsexperimentloader.enabled': false,
  'network.captive-portal-service.enabled': false,
  'network.connectivity-service.enabled': false,
  'network.dns.disablePrefetch': true,
  'network.prefetch-next': false,
  'toolkit.telemetry.archive.enabled': false,
  'toolkit.telemetry.enabled': false,
  'toolkit.telemetry.unified': false,
};

// The browsers the checks run in, by name: where each is looked for (an
// environment variable names another binary) and how puppeteer starts it.
const kinds = {
  chromium: {
    title: 'Chromium',
    path: process.env.KORVANREF_CHROMIUM || '/usr/bin/chromium',
    options: {browser: 'chrome', args: chromiumFlags},
  },
  firefox: {
    title: 'Firefox',
    // /usr/bin/firefox-esr is a link to this, the binary itself.
    path: process.env.KORVANREF_FIREFOX || '/usr/lib/firefox-esr/firefox-esr',
    options: {
      browser: 'firefox',
      protocol: 'webDriverBiDi',
      extraPrefsFirefox: firefoxPrefs,
      env: {...process.env, MOZ_CRASHREPORTER_DISABLE: '1'},
    },
  },
};

/// The names of every browser the checks know, in the order they run.
export const browserNames = Object.keys(kinds);

/// Returns what `startBrowser` needs to start the browser `name`, or a
/// reason why it cannot be driven here (unknown, binary or modules missing).
export async function findBrowser(name) {
  const kind = kinds[name];
  if (!kind) return {reason: `no browser called "${name}" (known: ${browserNames.join(', ')})`};
  if (!fs.existsSync(kind.path)) return {reason: `no ${kind.title} at ${kind.path}`};
  try {
    const {default: puppeteer} = await import('puppeteer-core');
    return {found: {name, kind, puppeteer}};
  } catch (error) {
    return {
      reason: `puppeteer-core is not installed (npm ci --prefix tests/browser): ${error.message}`,
    };
  }
}

/// Starts the browser `found` (from `findBrowser`) headless with a fresh
/// profile and pages of `viewport`'s size. The result's `newPage()` opens a
/// tab; its `close()` ends the browser and removes the profile.
export async function startBrowser(found, viewport = {
  width: 1000,
  height: 700
}) {
  const profile = makeTempDir(`korvanref-${found.name}-`);
  let browser;
  try {
    browser = await found.puppeteer.launch({
      ...found.kind.options,
      executablePath: found.kind.path,
      headless: true,
      userDataDir: profile,
      defaultViewport: viewport,
      timeout: 60000,
      // Calls on the page of 100000 entries may take long in a slow browser.
      protocolTimeout: 240000,
    });
  } catch (error) {
    removeTree(profile);
    throw error;
  }
  return {
    name: found.name,
    title: found.kind.title,
    browser,
    async newPage() {
      const page = await browser.newPage();
      page.setDefaultTimeout(120000);
      return page;
    },
    async close() {
      await browser.close();
      removeTree(profile);
    },
  };
}
