// The web page in a real browser: Debian's Chromium, headless, driven by
// playwright-core, on the built site (build/web/site) served from 127.0.0.1.
// Songs go in through the file chooser, a drop and the folder chooser; the
// downloads, the zip and the song book are compared with what the native
// zmrimage (env ZMR_NATIVE, default build/release/zmrimage) makes of the same
// songs. A drop of a real folder cannot be made in a headless browser, so the
// drop here carries files, and the folder comes through the folder chooser.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {copyFileSync, existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {basename, join, resolve} from 'node:path';
import {after, before, test} from 'node:test';
import {fileURLToPath} from 'node:url';
import {createRequire} from 'node:module';
import {serveSite} from './static_server.mjs';

const root = resolve(fileURLToPath(import.meta.url), '../../..');
const {chromium} = createRequire(join(root, 'web/package.json'))('playwright-core');
const site = join(root, 'build/web/site');
const native = resolve(root, process.env.ZMR_NATIVE || 'build/release/zmrimage');

let served;
let origin;
let browser;
let work;

function zmrimage(args, cwd = work) {
  const run = spawnSync(native, args, {cwd, encoding: 'utf8'});
  assert.ok(!run.error, `${native}: ${run.error}`);
  return run;
}

// The songs of a folder copied into the work folder, so that the page and the
// native tool see the same relative paths.
function copySongs(from, name) {
  const folder = join(work, name);
  mkdirSync(folder);
  for (const file of readdirSync(from, {withFileTypes: true})) {
    if (file.isFile() && /\.(mid|kar)$/i.test(file.name)) copyFileSync(join(from, file.name), join(folder, file.name));
  }
  return folder;
}

function nativeImage(folder) {
  return {image: readFileSync(join(folder, 'DADEDA00.DEZ')), list: readFileSync(join(folder, 'SongList.txt'))};
}

async function openPage(context) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(`${origin}/`);
  await page.waitForFunction(() => document.getElementById('text-encoding').options.length > 0);
  return {page, errors};
}

async function waitForScans(page, count) {
  await page.waitForFunction((wanted) => {
    const rows = document.querySelectorAll('#song-rows tr');
    return rows.length === wanted && [...rows].every((row) => row.cells[5].textContent !== 'scanning...') &&
      document.getElementById('advice').textContent !== '';
  }, count);
}

async function createImage(page) {
  await page.evaluate(() => { document.title = ''; });  // the last build's "Done" is not this one's
  await page.getByRole('button', {name: 'Create Image'}).click();
  await page.waitForFunction(() => document.title === 'ZMR Disc Image Tool - Done');
}

async function saved(download) {
  return readFileSync(await download.path());
}

// Both downloads and the zip's two members.
async function takeDownloads(page) {
  const take = async (click) => {
    const [download] = await Promise.all([page.waitForEvent('download'), click()]);
    return {name: download.suggestedFilename(), bytes: await saved(download)};
  };
  const image = await take(() => page.getByRole('link', {name: 'DADEDA00.DEZ'}).click());
  const list = await take(() => page.getByRole('link', {name: 'SongList.txt'}).click());
  const zip = await take(() => page.getByRole('button', {name: 'Both as zmrimage.zip'}).click());
  assert.deepEqual([image.name, list.name, zip.name], ['DADEDA00.DEZ', 'SongList.txt', 'zmrimage.zip']);
  const {unzipSync} = createRequire(join(root, 'web/package.json'))('fflate');
  const members = unzipSync(zip.bytes);
  assert.deepEqual(Object.keys(members), ['DADEDA00.DEZ', 'SongList.txt']);
  return {image: image.bytes, list: list.bytes, zipImage: Buffer.from(members['DADEDA00.DEZ']),
    zipList: Buffer.from(members['SongList.txt'])};
}

function assertSameImage(got, expected) {
  assert.ok(got.image.equals(expected.image), 'DADEDA00.DEZ differs from the native one');
  assert.ok(got.list.equals(expected.list), 'SongList.txt differs from the native one');
  assert.ok(got.zipImage.equals(expected.image), 'the zip\'s DADEDA00.DEZ differs from the native one');
  assert.ok(got.zipList.equals(expected.list), 'the zip\'s SongList.txt differs from the native one');
}

// The examples through the file chooser (half) and a drop (the other half).
async function addExamples(page, folder) {
  const files = readdirSync(folder).sort().map((name) => join(folder, name));
  const half = Math.ceil(files.length / 2);
  await page.setInputFiles('#add-files', [...files.slice(0, half), join(root, 'examples/README.md')]);
  const dropped = files.slice(half).map((path) => ({name: basename(path), bytes: [...readFileSync(path)]}));
  await page.evaluate((songs) => {
    const transfer = new DataTransfer();
    for (const {name, bytes} of songs) transfer.items.add(new File([new Uint8Array(bytes)], name));
    const drop = new DragEvent('drop', {bubbles: true, cancelable: true, dataTransfer: transfer});
    document.getElementById('drop-zone').dispatchEvent(drop);
  }, dropped);
  await waitForScans(page, files.length);
  return files.length;
}

before(async () => {
  for (const [path, how] of [[join(site, 'index.html'), 'scripts/build-web.sh'], [native, 'scripts/run.sh']]) {
    assert.ok(existsSync(path), `${path} is missing: build it first (${how})`);
  }
  work = mkdtempSync(join(tmpdir(), 'zmr-web-'));
  served = await serveSite(site);
  origin = served.origin;
  browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run']});
});

after(async () => {
  await browser?.close();
  await served?.close();
  if (work) rmSync(work, {recursive: true, force: true});
});

test('the examples build byte for byte as zmrimage build, online and then offline, asking only 127.0.0.1', async () => {
  const examples = copySongs(join(root, 'examples'), 'examples');
  mkdirSync(join(work, 'native-examples'));
  assert.equal(zmrimage(['build', '-o', 'native-examples', 'examples']).status, 0);
  const expected = nativeImage(join(work, 'native-examples'));

  const context = await browser.newContext();
  const requests = [];
  context.on('request', (request) => requests.push(request.url()));
  const {page, errors} = await openPage(context);
  const count = await addExamples(page, examples);
  assert.equal(await page.locator('#song-rows tr').count(), count, 'README.md is not a song');
  assert.match(await page.locator('#disc-use').textContent(), /^Disc: \d+ of [\d,]+ sectors/);
  await createImage(page);
  assertSameImage(await takeDownloads(page), expected);
  // The built image opens by itself in "Check an image", verified as zmrimage verify verifies it.
  const verified = zmrimage(['verify', 'DADEDA00.DEZ', 'SongList.txt'], join(work, 'native-examples')).stdout;
  await page.waitForFunction((report) => document.getElementById('verify-report').textContent === report, verified);

  // Offline: the service worker serves the whole site from its cache.
  await page.evaluate(() => navigator.serviceWorker.ready.then((registration) => Boolean(registration.active)));
  await context.setOffline(true);
  await page.reload();
  await page.waitForFunction(() => document.getElementById('text-encoding').options.length > 0);
  await addExamples(page, examples);
  await createImage(page);
  assertSameImage(await takeDownloads(page), expected);

  const elsewhere = requests.filter((url) => !url.startsWith(`${origin}/`) && !url.startsWith(`blob:${origin}/`));
  assert.deepEqual(elsewhere, [], 'requests to other origins');
  assert.deepEqual(errors, []);
  await context.close();
});

// What a native build says of single songs: "path: reason" and "path: warning: ..." lines.
function messageLines(text) {
  return text.split('\n').filter((line) => /\.(mid|kar): /i.test(line));
}

test('a folder with bad songs: the scan\'s advice, the bad song\'s message, --skip-bad and the song book', async () => {
  copySongs(join(root, 'tests/data/corpus'), 'corpus');
  const songs = readdirSync(join(work, 'corpus')).length;
  mkdirSync(join(work, 'corpus/more'));
  copyFileSync(join(root, 'examples/Ru Con.mid'), join(work, 'corpus/more/Ru Con.mid'));  // not the folder's own
  const scan = JSON.parse(zmrimage(['scan', '--json', 'corpus']).stdout);
  const advice = scan.summary.recommended;
  const options = ['--text-encoding', advice.textEncoding, ...(advice.karText ? ['--kar-text'] : []),
    ...(advice.lenient ? ['--lenient'] : [])];

  const context = await browser.newContext();
  const {page, errors} = await openPage(context);
  await page.setInputFiles('#add-folder', join(work, 'corpus'));
  await waitForScans(page, songs);
  assert.match(await page.locator('#status').textContent(), /1 song of subfolders left out/);
  assert.deepEqual(await page.evaluate(() => ({textEncoding: document.getElementById('text-encoding').value,
    karText: document.getElementById('kar-text').checked, lenient: document.getElementById('lenient').checked})),
  {textEncoding: advice.textEncoding, karText: advice.karText, lenient: advice.lenient}, 'the options the scan advises');

  // Without "Skip bad songs", the first bad song ends the build with the native message.
  mkdirSync(join(work, 'native-strict'));
  const strict = zmrimage(['build', '-o', 'native-strict', ...options, 'corpus']);
  assert.notEqual(strict.status, 0, 'the corpus holds a song that fails');
  await page.getByLabel('Skip bad songs').setChecked(false);
  await createImage(page);
  assert.ok(await page.locator('#messages li.failed').count() > 0, 'the page names the bad song');
  assert.deepEqual(await page.locator('#messages li').allTextContents(), messageLines(strict.stderr));
  // The command line still writes the songs before the bad one; so does the page.
  const strictFiles = existsSync(join(work, 'native-strict/DADEDA00.DEZ'));
  assert.equal(await page.locator('#results').isVisible(), strictFiles, 'an image is offered as the command line writes one');
  if (strictFiles) assertSameImage(await takeDownloads(page), nativeImage(join(work, 'native-strict')));

  mkdirSync(join(work, 'native-skip'));
  const skip = zmrimage(['build', '-o', 'native-skip', ...options, '--skip-bad', 'corpus']);
  assert.equal(skip.status, 1, `the bad songs are left out: ${skip.stderr}`);
  await page.getByLabel('Skip bad songs').setChecked(true);
  await createImage(page);
  assert.deepEqual(await page.locator('#messages li').allTextContents(), messageLines(skip.stderr));
  assertSameImage(await takeDownloads(page), nativeImage(join(work, 'native-skip')));

  // The song book: its entries by title in the native book's order.
  const book = join(work, 'book.html');
  assert.equal(zmrimage(['songbook', 'native-skip/DADEDA00.DEZ', 'native-skip/SongList.txt', '-o', book]).status, 0);
  const nativeSection = readFileSync(book, 'utf8').split('<section>')[1];
  const unescape = (text) => text.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"').replace(/&amp;/g, '&');
  const expected = [...nativeSection.matchAll(/<span class="number">(\d+)<\/span><span class="title">(.*?)<\/span>/g)]
    .map(([, number, title]) => `${number} ${unescape(title)}`);
  const [tab] = await Promise.all([context.waitForEvent('page'), page.getByRole('button', {name: 'Song Book'}).click()]);
  await tab.waitForURL(/^blob:/);
  await tab.waitForLoadState();
  const shown = await tab.$$eval('section:first-of-type li', (items) =>
    items.map((item) => `${item.querySelector('.number').textContent} ${item.querySelector('.title').textContent}`));
  assert.ok(expected.length > 10);
  assert.deepEqual(shown, expected);
  assert.deepEqual(errors, []);
  await context.close();
});
