// Starts Debian's Chromium headless through playwright-core, each time with a
// fresh profile, and tells when either of the two is missing.
import fs from 'node:fs';

import {makeTempDir, removeTree} from './temp_dir.mjs';

// Where Chromium is looked for; KORVANREF_CHROMIUM names another binary.
export const chromiumPath = process.env.KORVANREF_CHROMIUM || '/usr/bin/chromium';

// The machine has no network: without these Chromium waits on refused
// connections for updates, sync and the like.
const chromiumFlags = [
  '--headless',
  '--no-sandbox',
  '--disable-gpu',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];

/// Returns playwright-core's chromium launcher, or a reason why the browser
/// cannot be driven here (Chromium or the node modules missing).
export async function findBrowser() {
  if (!fs.existsSync(chromiumPath)) return {reason: `no Chromium at ${chromiumPath}`};
  try {
    const {chromium} = await import('playwright-core');
    return {chromium};
  } catch (error) {
    return {
      reason: `playwright-core is not installed (npm ci --prefix tests/browser): ${error.message}`,
    };
  }
}

/// Starts Chromium with a fresh user data directory and returns its context;
/// `close()` on the result ends the browser and removes that directory.
export async function startBrowser(chromium, viewport = {
  width: 1000,
  height: 700
}) {
  const profile = makeTempDir('korvanref-chromium-');
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    args: chromiumFlags,
    viewport,
    timeout: 60000,
  });
  return {
    context,
    async close() {
      await context.close();
      removeTree(profile);
    },
  };
}
