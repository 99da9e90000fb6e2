// Takes the picture of the web page after a build of the examples, for the
// README and docs/web.md: the built site served on 127.0.0.1, Debian's
// Chromium headless. Called by scripts/screenshot-web.sh.
//
//   node scripts/screenshot-web.mjs SITE OUTPUT.png
import {readdirSync} from 'node:fs';
import {createRequire} from 'node:module';
import {join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {serveSite} from '../tests/web/static_server.mjs';

const root = resolve(fileURLToPath(import.meta.url), '../..');
const {chromium} = createRequire(join(root, 'web/package.json'))('playwright-core');
const [site, output] = process.argv.slice(2);
if (!site || !output) {
  console.error('usage: node scripts/screenshot-web.mjs SITE OUTPUT.png');
  process.exit(2);
}

const served = await serveSite(resolve(site));
const browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run']});
try {
  const page = await browser.newPage({viewport: {width: 1000, height: 900}, colorScheme: 'light'});
  await page.goto(`${served.origin}/`);
  await page.waitForFunction(() => document.getElementById('text-encoding').options.length > 0);
  const examples = join(root, 'examples');
  const songs = readdirSync(examples).filter((name) => /\.(mid|kar)$/i.test(name)).map((name) => join(examples, name));
  await page.setInputFiles('#add-files', songs);
  await page.waitForFunction((count) => document.querySelectorAll('#song-rows tr').length === count &&
    document.getElementById('advice').textContent !== '', songs.length);
  await page.getByRole('button', {name: 'Create Image'}).click();
  await page.waitForFunction(() => document.title.endsWith(' - Done'));
  await page.locator('#download-image').focus();
  await page.screenshot({path: output, fullPage: true});
  console.log(`screenshot: ${output}`);
} finally {
  await browser.close();
  await served.close();
}
