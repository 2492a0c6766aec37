// Runs the built KorvanRef binary for the browser test and the screenshots.
import {spawnSync} from 'node:child_process';

/// Runs KorvanRef `binary` with `options` on `sourceDir` into `destDir`;
/// returns its exit status and what it printed.
export function runTool(binary, destDir, sourceDir, options = []) {
  const run = spawnSync(binary, [...options, destDir, sourceDir], {
    encoding: 'utf8',
    maxBuffer: 64 * 1024 * 1024,
  });
  return {status: run.status, out: run.stdout ?? '', err: run.stderr ?? ''};
}
