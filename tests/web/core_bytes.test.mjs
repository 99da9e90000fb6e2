// The WebAssembly core against the native program: every song of the test
// corpus and of examples/, under each reading option, built by the page's own
// driver (web/src/image_build.js) and by `zmrimage build`, must give the same
// image, the same song list and the same per-song lines; the song book's HTML
// must be the same page. Run by the test command's web phase:
//   ZMR_NATIVE=build/release/zmrimage ZMR_WEB_CORE=build/web/core/zmrcore.js \
//     node --test tests/web/
import assert from 'node:assert/strict';
import {execFileSync, spawnSync} from 'node:child_process';
import {mkdtempSync, readFileSync, readdirSync, rmSync, writeFileSync, mkdirSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {fileURLToPath} from 'node:url';

import {buildImage} from '../../web/src/image_build.js';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const native = resolve(root, process.env.ZMR_NATIVE || 'build/release/zmrimage');
const corePath = resolve(root, process.env.ZMR_WEB_CORE || 'build/web/core/zmrcore.js');

const songFolders = ['tests/data/corpus', 'examples'];
const readings = [
  [],
  ['--text-encoding', 'utf8'],
  ['--text-encoding', 'cp1258'],
  ['--text-encoding', 'auto'],
  ['--kar-text'],
  ['--lenient'],
  ['--text-encoding', 'auto', '--kar-text', '--lenient'],
];

function optionsOf(args) {
  const at = args.indexOf('--text-encoding');
  return {textEncoding: at >= 0 ? args[at + 1] : 'viqr-vni', karText: args.includes('--kar-text'), lenient: args.includes('--lenient')};
}

// The songs of a folder as `zmrimage build FOLDER` takes them.
function songsIn(folder, core) {
  return readdirSync(join(root, folder)).filter((name) => core.hasSongExtension(name)).map((name) => `${folder}/${name}`);
}

// `zmrimage build` run from the top folder, so that its paths are the page's.
function nativeBuild(args, folders, cwd = root) {
  const out = mkdtempSync(join(tmpdir(), 'zmr-native-'));
  const run = spawnSync(native, ['build', '-o', out, ...args, ...folders], {cwd, encoding: 'utf8'});
  assert.ok(run.status === 0 || run.status === 1, `zmrimage build failed: ${run.stderr}`);
  const result = {
    image: readFileSync(join(out, 'DADEDA00.DEZ')),
    songList: readFileSync(join(out, 'SongList.txt')),
    lines: run.stderr.split('\n').filter((line) => line.length > 0),
    stdout: run.stdout.split('\n').filter((line) => line.length > 0).map((line) => line.replace(out + '/', '')),
    folder: out,
  };
  return result;
}

async function webBuild(core, paths, args, base = root) {
  const lines = [];
  const converter = new core.SongConverter();
  const result = await buildImage({
    core,
    paths,
    skipBad: args.includes('--skip-bad'),
    convert: async (index) => converter.convert(paths[index], readFileSync(join(base, paths[index])), optionsOf(args)),
    onMessage: (message) => lines.push(message.text),
  });
  converter.delete();
  assert.ok(result.ok, result.message);
  return {
    image: Buffer.from(await result.image.arrayBuffer()),
    songList: Buffer.from(await result.songList.arrayBuffer()),
    lines,
    summary: result.summary,
  };
}

let core;
before(async () => {
  // The module's bytes handed over: Emscripten's loader would otherwise take
  // Node's fetch for a browser's and fail to fetch a file path.
  core = await createRequire(import.meta.url)(corePath)({wasmBinary: readFileSync(corePath.replace(/\.js$/, '.wasm'))});
});

describe('images built by the WebAssembly core', () => {
  for (const reading of readings) {
    for (const skip of [['--skip-bad'], []]) {
      const args = [...reading, ...skip];
      test(`zmrimage build ${args.join(' ')} of the corpus and the examples`, async () => {
        const paths = core.sortSongPaths(songFolders.flatMap((folder) => songsIn(folder, core)));
        const expected = nativeBuild(args, songFolders);
        const actual = await webBuild(core, paths, args);
        assert.deepEqual(actual.lines, expected.lines);
        assert.ok(actual.image.equals(expected.image), 'the images differ');
        assert.ok(actual.songList.equals(expected.songList), 'the song lists differ');
        assert.deepEqual(actual.summary.lines, expected.stdout);
        rmSync(expected.folder, {recursive: true, force: true});
      });
    }
  }
});

// A format 0 song whose lyric events hold the given byte strings.
function songWithLyrics(lyrics) {
  const events = [];
  const vlq = (n) => (n < 0x80 ? [n] : [0x80 | (n >> 7), n & 0x7f]);
  for (const lyric of lyrics) {
    events.push(0, 0xff, 0x05, ...vlq(lyric.length), ...lyric, 0, 0x90, 60, 100, 96, 0x80, 60, 0);
  }
  events.push(0, 0xff, 0x2f, 0);
  const track = [...Buffer.from('MTrk'), 0, 0, (events.length >> 8) & 0xff, events.length & 0xff, ...events];
  return Buffer.from([...Buffer.from('MThd'), 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, ...track]);
}

describe('text the browser decodes as ICU does', () => {
  let folder;
  before(() => {
    folder = mkdtempSync(join(tmpdir(), 'zmr-text-'));
    mkdirSync(join(folder, 'songs'));
    const every = [];
    for (let byte = 0x80; byte <= 0xff; byte += 8) every.push([...Array(8).keys()].map((k) => byte + k));
    writeFileSync(join(folder, 'songs/every high byte.mid'), songWithLyrics(every));
    writeFileSync(join(folder, 'songs/broken utf8.mid'), songWithLyrics([
      [0xc3, 0xa1, 0x20, 0xe1, 0xba],          // á, then a sequence cut short
      [0xef, 0xbf, 0xbd, 0xed, 0xa0, 0x80],    // a U+FFFD spelt out, an encoded surrogate
      [0xef, 0xbb, 0xbf, 0x74, 0x69, 0xea, 0xcc, 0x81], // byte-order mark, then "tiê" and a combining acute
      [0xf0, 0x9f, 0x8e, 0xa4, 0xc0, 0xaf, 0xff],
    ]));
  });
  after(() => rmSync(folder, {recursive: true, force: true}));

  for (const encoding of ['utf8', 'cp1258', 'auto']) {
    test(`every high byte and broken UTF-8 under --text-encoding ${encoding}`, async () => {
      const args = ['--text-encoding', encoding];
      const paths = core.sortSongPaths(songsIn('songs', core).map((p) => p));
      const expected = nativeBuild(args, ['songs'], folder);
      const actual = await webBuild(core, paths, args, folder);
      assert.deepEqual(actual.lines, expected.lines);
      assert.ok(actual.image.equals(expected.image), 'the images differ');
      assert.ok(actual.songList.equals(expected.songList), 'the song lists differ');
      rmSync(expected.folder, {recursive: true, force: true});
    });
  }

  function songsIn(sub, core) {
    return readdirSync(join(folder, sub)).filter((name) => core.hasSongExtension(name)).map((name) => `${sub}/${name}`);
  }
});

describe('the song book', () => {
  test('the HTML of the corpus and the examples is the native page', () => {
    const built = nativeBuild(['--skip-bad'], songFolders);
    const book = join(built.folder, 'book.html');
    execFileSync(native, ['songbook', join(built.folder, 'DADEDA00.DEZ'), join(built.folder, 'SongList.txt'), '-o', book]);
    core.FS.mkdir('/book');
    core.FS.writeFile('/book/DADEDA00.DEZ', built.image);
    core.FS.writeFile('/book/SongList.txt', built.songList);
    const made = core.songBookHtml('/book/DADEDA00.DEZ', '/book/SongList.txt', '');
    assert.ok(made.ok, made.message);
    assert.deepEqual(made.warnings, []);
    assert.equal(made.html, readFileSync(book, 'utf8'));
    rmSync(built.folder, {recursive: true, force: true});
  });
});
