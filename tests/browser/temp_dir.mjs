// Temporary directories for the browser test. They are made in memory where
// the system offers that (/dev/shm): removing the 150000 files of the large
// tree from a disk that discards freed blocks at once takes minutes.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const memoryDir = '/dev/shm';

/// Creates a new empty directory in memory if possible, else under the
/// system's temporary directory.
export function makeTempDir(prefix) {
  let parent = os.tmpdir();
  try {
    fs.accessSync(memoryDir, fs.constants.W_OK);
    if (fs.statSync(memoryDir).isDirectory()) parent = memoryDir;
  } catch {
    // No such directory here: the ordinary temporary directory serves.
  }
  return fs.mkdtempSync(path.join(parent, prefix));
}

/// Removes `dir` and everything below it, file by file (faster than the
/// library's recursive remove on large directories); a missing `dir` is no
/// error.
export function removeTree(dir) {
  let entries;
  try {
    entries = fs.readdirSync(dir, {withFileTypes: true});
  } catch {
    return;
  }
  for (const entry of entries) {
    const child = path.join(dir, entry.name);
    if (entry.isDirectory())
      removeTree(child);
    else
      fs.unlinkSync(child);
  }
  fs.rmdirSync(dir);
}
