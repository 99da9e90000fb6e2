// A large collection through the web page itself, in Debian's Chromium
// (headless): the folder added through "Add Folder...", scanned, built with
// "Create Image", and the downloaded image compared with one `zmrimage build`
// made. Prints the times and the memory the browser's processes held after the
// build, for docs/web.md's largest collection tried.
//
//   node bench/web_page.mjs SITE FOLDER NATIVE_OUTPUT_FOLDER
import {readFileSync, readdirSync} from 'node:fs';
import {join} from 'node:path';
import {chromium} from '../web/node_modules/playwright-core/index.mjs';
import {serveSite} from '../tests/web/static_server.mjs';

const [site, folder, nativeFolder] = process.argv.slice(2);
const songs = readdirSync(folder).length;
const served = await serveSite(site);
const browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run']});
const page = await (await browser.newContext({acceptDownloads: true})).newPage();
const hour = 3600 * 1000;
page.setDefaultTimeout(hour);

// The browser's processes' resident memory, in MiB (Linux).
function browserMemory() {
  let kib = 0;
  for (const pid of readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      if (!readFileSync(`/proc/${pid}/cmdline`, 'utf8').startsWith('/usr/lib/chromium/chromium')) continue;
      kib += Number(/VmRSS:\s+(\d+)/.exec(readFileSync(`/proc/${pid}/status`, 'utf8'))?.[1] || 0);
    } catch {
      // a process that ended meanwhile
    }
  }
  return Math.round(kib / 1024);
}

await page.goto(`${served.origin}/`);
await page.waitForFunction(() => document.getElementById('text-encoding').options.length > 0);
let start = Date.now();
await page.setInputFiles('#add-folder', folder);
await page.waitForFunction((wanted) => document.querySelectorAll('#song-rows tr').length === wanted &&
  document.getElementById('advice').textContent !== '', songs, {polling: 1000, timeout: hour});
const scanSeconds = (Date.now() - start) / 1000;
await page.getByLabel('Skip bad songs').setChecked(false);
start = Date.now();
await page.getByRole('button', {name: 'Create Image'}).click();
await page.waitForFunction(() => document.title === 'ZMR Disc Image Tool - Done', null, {polling: 1000, timeout: hour});
const buildSeconds = (Date.now() - start) / 1000;
const memory = browserMemory();
const [download] = await Promise.all([page.waitForEvent('download'), page.getByRole('link', {name: 'DADEDA00.DEZ'}).click()]);
const same = readFileSync(await download.path()).equals(readFileSync(join(nativeFolder, 'DADEDA00.DEZ')));
console.log(`${songs} songs: added and scanned in ${scanSeconds.toFixed(1)} s, built in ${buildSeconds.toFixed(1)} s; ` +
  `the browser's processes held ${memory} MiB after the build; image ${same ? 'equal to' : 'DIFFERENT from'} zmrimage build's`);
await browser.close();
await served.close();
process.exit(same ? 0 : 1);
