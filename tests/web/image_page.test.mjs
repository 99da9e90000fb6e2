// The page's "Check an image" in Debian's Chromium, headless: the examples'
// image opened through the file chooser lists, verifies and gives each
// song's lyrics, LRC and ASS as the native commands (env ZMR_NATIVE, default
// build/release/zmrimage) do, byte for byte; damaged copies get the native
// messages. A song plays through Debian's TimGM6mb SoundFont: sound reaches
// the page's AnalyserNode, and at a position set on the slider the sung
// characters are those the song's LRC times give.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {existsSync, mkdtempSync, readFileSync, rmSync, writeFileSync, mkdirSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {join, resolve} from 'node:path';
import {after, before, test} from 'node:test';
import {fileURLToPath} from 'node:url';
import {serveSite} from './static_server.mjs';

const root = resolve(fileURLToPath(import.meta.url), '../../..');
const {chromium} = createRequire(join(root, 'web/package.json'))('playwright-core');
const site = join(root, 'build/web/site');
const native = resolve(root, process.env.ZMR_NATIVE || 'build/release/zmrimage');
const soundFont = '/usr/share/sounds/sf2/TimGM6mb.sf2';

let served;
let built;
let browser;
let work;

function zmrimage(args, cwd) {
  const run = spawnSync(native, args, {cwd});
  assert.ok(!run.error, `${native}: ${run.error}`);
  return {status: run.status, stdout: run.stdout, stderr: run.stderr.toString()};
}

// A folder holding an image and its song list, as the page is to open them.
function imageFolder(name, image, songList) {
  const folder = join(work, name);
  mkdirSync(folder);
  writeFileSync(join(folder, 'DADEDA00.DEZ'), image);
  writeFileSync(join(folder, 'SongList.txt'), songList);
  return folder;
}

// Through the file chooser, or dropped (with a README.txt that is not the song list).
async function openImage(page, folder, how = 'chooser') {
  await page.evaluate(() => { document.getElementById('image-status').textContent = ''; });
  if (how === 'chooser') {
    await page.setInputFiles('#open-image', [join(folder, 'DADEDA00.DEZ'), join(folder, 'SongList.txt')]);
  } else {
    const files = [['README.txt', Buffer.from('not a song list')], ...['DADEDA00.DEZ', 'SongList.txt'].map((name) =>
      [name, readFileSync(join(folder, name))])].map(([name, bytes]) => ({name, bytes: [...bytes]}));
    await page.evaluate((dropped) => {
      const transfer = new DataTransfer();
      for (const {name, bytes} of dropped) transfer.items.add(new File([new Uint8Array(bytes)], name));
      document.getElementById('image-drop-zone').dispatchEvent(new DragEvent('drop', {bubbles: true, cancelable: true, dataTransfer: transfer}));
    }, files);
  }
  await page.waitForFunction(() => /song|cannot|bytes/.test(document.getElementById('image-status').textContent) &&
    !document.getElementById('image-status').textContent.startsWith('Reading'));
}

async function download(page, link) {
  const [file] = await Promise.all([page.waitForEvent('download'), page.locator(link).click()]);
  return readFileSync(await file.path());
}

before(async () => {
  for (const [path, how] of [[join(site, 'index.html'), 'scripts/build-web.sh'], [native, 'scripts/run.sh']]) {
    assert.ok(existsSync(path), `${path} is missing: build it first (${how})`);
  }
  work = mkdtempSync(join(tmpdir(), 'zmr-web-image-'));
  served = await serveSite(site);
  built = join(work, 'built');
  assert.equal(zmrimage(['build', '-o', built, 'examples'], root).status, 0);
  browser = await chromium.launch({executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu',
    '--disable-background-networking', '--disable-component-update', '--disable-sync', '--no-first-run',
    '--autoplay-policy=no-user-gesture-required']});
});

after(async () => {
  await browser?.close();
  await served?.close();
  if (work) rmSync(work, {recursive: true, force: true});
});

test('an opened image lists, verifies and gives lyrics, LRC and ASS as the native commands do', async () => {
  const image = readFileSync(join(built, 'DADEDA00.DEZ'));
  const songList = readFileSync(join(built, 'SongList.txt'));
  const good = imageFolder('good', image, songList);

  const context = await browser.newContext({acceptDownloads: true});
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(`${served.origin}/`);
  await openImage(page, good);

  const listed = JSON.parse(zmrimage(['list', '--json', 'DADEDA00.DEZ'], good).stdout).songs;
  const rows = await page.$$eval('#image-songs-rows tr', (trs) => trs.map((tr) => [...tr.cells].map((cell) => cell.textContent)));
  assert.deepEqual(rows, listed.map((song) => [String(song.number), song.title, song.length]));
  assert.equal(await page.textContent('#verify-report'), zmrimage(['verify', 'DADEDA00.DEZ', 'SongList.txt'], good).stdout.toString());

  for (const number of [1, listed.length]) {
    await page.locator(`#image-songs-rows button[data-song="${number}"]`).click();
    await page.waitForFunction((n) => document.getElementById('song-heading').textContent.startsWith(`${n}.`), number);
    assert.equal(await page.textContent('#lyrics-listing'), zmrimage(['lyrics', 'DADEDA00.DEZ', String(number)], good).stdout.toString());
    assert.ok((await download(page, '#download-lrc')).equals(zmrimage(['lyrics', '--lrc', 'DADEDA00.DEZ', String(number)], good).stdout));
    assert.ok((await download(page, '#download-ass')).equals(zmrimage(['lyrics', '--ass', 'DADEDA00.DEZ', String(number)], good).stdout));
  }

  // Cut short (dropped): the layout's message; a huge length field in song 1's text: its lyrics' message.
  const cut = imageFolder('cut', image.subarray(0, image.length >> 1), songList);
  await openImage(page, cut, 'drop');
  assert.equal(await page.textContent('#image-status'), zmrimage(['list', 'DADEDA00.DEZ'], cut).stderr.replace(/^zmrimage: |\n$/g, ''));
  assert.equal(await page.textContent('#verify-report'), zmrimage(['verify', 'DADEDA00.DEZ', 'SongList.txt'], cut).stdout.toString());

  // A huge length in song 2's event section: listed unreadable, its lyrics read, its preview says why not.
  const huge = Buffer.from(image);
  huge.writeUInt32BE(0x7ffffff0, listed[1].offset + 12 + listed[1].text.compressed + 4);
  const damaged = imageFolder('huge', huge, songList);
  await openImage(page, damaged);
  assert.equal(await page.textContent('#verify-report'), zmrimage(['verify', 'DADEDA00.DEZ', 'SongList.txt'], damaged).stdout.toString());
  assert.match(await page.textContent('#image-songs-rows tr:nth-child(2)'), /unreadable: song 2, event section/);
  await page.locator('#image-songs-rows button[data-song="2"]').click();
  await page.waitForFunction(() => !document.getElementById('preview-problem').hidden);
  assert.equal(await page.textContent('#lyrics-listing'), zmrimage(['lyrics', 'DADEDA00.DEZ', '2'], damaged).stdout.toString());
  const render = zmrimage(['render', '-o', join(work, 'song2.wav'), 'DADEDA00.DEZ', '2'], damaged);
  assert.equal(await page.textContent('#preview-problem'), render.stderr.replace(/^zmrimage: |\n$/g, ''));
  assert.equal(await page.isHidden('#preview'), true);
  assert.deepEqual(errors, []);
  await context.close();
});

// Each line of an LRC file as its groups: [{ms, text}].
function lrcLines(lrc) {
  return lrc.split('\n').filter((line) => /^\[\d/.test(line)).map((line) =>
    [...line.matchAll(/<(\d+):(\d+)\.(\d+)>([^<]*)/g)].map(([, m, s, c, text]) => ({ms: (Number(m) * 60 + Number(s)) * 1000 + Number(c) * 10, text})));
}

test('a song plays through the SoundFont, its sung characters lit at their times', async () => {
  const context = await browser.newContext();
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto(`${served.origin}/`);
  await page.waitForFunction(() => /SoundFont/.test(document.getElementById('sound-status').textContent));
  await openImage(page, built);
  await page.locator('#image-songs-rows button[data-song="1"]').click();
  await page.waitForFunction(() => !document.getElementById('preview').hidden);
  assert.match(await page.textContent('#sound-status'), /No SoundFont chosen/);
  await page.setInputFiles('#soundfont-file', soundFont);
  await page.waitForFunction(() => document.getElementById('sound-status').textContent === 'SoundFont: TimGM6mb.sf2.');

  // Three seconds of the song: notes sound from the first second on.
  await page.locator('#preview-play').click();
  await page.waitForFunction(() => Number(document.getElementById('preview-position').value) >= 3000, null, {timeout: 30000});
  const heard = await page.evaluate(() => new Promise((done) => {
    let loudest = 0;
    const started = performance.now();
    const look = () => {
      loudest = Math.max(loudest, document.getElementById('sound-level').value);
      if (loudest > 0 || performance.now() - started > 5000) done(loudest);
      else requestAnimationFrame(look);
    };
    look();
  }));
  assert.ok(heard > 0, 'the analyser heard nothing');
  await page.locator('#preview-pause').click();

  // A moment between two groups of the first line, set on the slider.
  const lines = lrcLines(zmrimage(['lyrics', '--lrc', 'DADEDA00.DEZ', '1'], built).stdout.toString());
  const [first, second] = lines;
  const moment = Math.round((first[4].ms + first[5].ms) / 2);
  await page.evaluate((ms) => {
    const slider = document.getElementById('preview-position');
    slider.value = String(ms);
    slider.dispatchEvent(new Event('input'));
  }, moment);
  const text = (groups) => groups.map((group) => group.text).join('');
  assert.equal(await page.textContent('#sung'), text(first.slice(0, 5)));
  assert.equal(await page.textContent('#unsung'), text(first.slice(5)));
  assert.equal(await page.textContent('#next-line'), text(second));

  // Leaving the song stops it.
  await page.locator('#preview-play').click();
  await page.waitForFunction(() => !document.getElementById('preview-pause').disabled);
  await page.locator('#image-songs-rows button[data-song="2"]').click();
  await page.waitForFunction(() => document.getElementById('song-heading').textContent.startsWith('2.'));
  assert.equal(await page.isDisabled('#preview-pause'), true);

  // The next visit finds the SoundFont kept.
  await page.reload();
  await page.waitForFunction(() => document.getElementById('sound-status').textContent === 'SoundFont: TimGM6mb.sf2.');
  assert.deepEqual(errors, []);
  await context.close();
});
