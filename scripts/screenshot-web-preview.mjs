// Takes the picture of a song playing in the web page, for docs/web.md: the
// examples built in the page, the built image opened by itself, its first
// song played through Debian's TimGM6mb SoundFont and caught mid-line. The
// built site is served on 127.0.0.1, Debian's Chromium headless. Called by
// scripts/screenshot-web-preview.sh.
//
//   node scripts/screenshot-web-preview.mjs SITE OUTPUT.png
import {readdirSync} from 'node:fs';
import {createRequire} from 'node:module';
import {join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {serveSite} from '../tests/web/static_server.mjs';

const root = resolve(fileURLToPath(import.meta.url), '../..');
const {chromium} = createRequire(join(root, 'web/package.json'))('playwright-core');
const [site, output] = process.argv.slice(2);
if (!site || !output) {
  console.error('usage: node scripts/screenshot-web-preview.mjs SITE OUTPUT.png');
  process.exit(2);
}
const PLAYED_MS = 5400;  // inside the first song's first line

const served = await serveSite(resolve(site));
const browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu',
  '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
  '--autoplay-policy=no-user-gesture-required']});
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
  await page.waitForFunction(() => document.querySelector('#image-songs-rows button[data-song="1"]'));
  await page.locator('#image-songs-rows button[data-song="1"]').click();
  await page.waitForFunction(() => !document.getElementById('preview').hidden);
  await page.setInputFiles('#soundfont-file', '/usr/share/sounds/sf2/TimGM6mb.sf2');
  await page.waitForFunction(() => document.getElementById('sound-status').textContent.startsWith('SoundFont: '));
  await page.locator('#preview-play').click();
  await page.waitForFunction((ms) => Number(document.getElementById('preview-position').value) >= ms, PLAYED_MS,
    {timeout: 60000});
  await page.locator('#check-section').screenshot({path: output});
  await page.locator('#preview-stop').click();
  console.log(`screenshot: ${output}`);
} finally {
  await browser.close();
  await served.close();
}
