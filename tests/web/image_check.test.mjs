// An image opened in the WebAssembly core (web/core/opened_image_api.cpp)
// against the native commands: the songs of `zmrimage list`, the report of
// `zmrimage verify`, and every song's `lyrics`, `lyrics --lrc` and
// `lyrics --ass`, byte for byte, for the examples' image and for damaged
// copies of it (cut short, a huge length field, a song list that does not
// match); and a song's preview, stepped unit by unit, sends the messages that
// `zmrimage extract` writes, which are those `play` sends. The native commands run in the image's folder, so that the names
// they print are the page's.
import assert from 'node:assert/strict';
import {spawnSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {after, before, describe, test} from 'node:test';
import {fileURLToPath} from 'node:url';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const native = resolve(root, process.env.ZMR_NATIVE || 'build/release/zmrimage');
const corePath = resolve(root, process.env.ZMR_WEB_CORE || 'build/web/core/zmrcore.js');

let core;
let folder;
let examples;

function run(args, cwd = folder) {
  const result = spawnSync(native, args, {cwd});
  return {status: result.status, stdout: result.stdout, stderr: result.stderr.toString()};
}

// The native command's message as the page shows it: without the program's name.
function nativeMessage(stderr) {
  return stderr.replace(/^zmrimage: /, '').replace(/\n$/, '');
}

function withImage(image, check) {
  const opened = new core.OpenedImage(image, 'DADEDA00.DEZ');
  try {
    return check(opened);
  } finally {
    opened.delete();
  }
}

// Writes `image` and `songList` into the folder and compares every answer of
// the core with the native commands'.
function compareWithNative(image, songList) {
  writeFileSync(join(folder, 'DADEDA00.DEZ'), image);
  writeFileSync(join(folder, 'SongList.txt'), songList);
  return withImage(image, (opened) => {
    const list = run(['list', '--json', 'DADEDA00.DEZ']);
    const songs = opened.songs();
    if (list.stderr) {
      assert.equal(songs.ok, false);
      assert.equal(songs.message, nativeMessage(list.stderr));
    } else {
      const rows = JSON.parse(list.stdout).songs.map((s) => ({number: s.number, title: s.title || '', length: s.length || '', error: s.error || ''}));
      assert.equal(songs.ok, true);
      assert.deepEqual(songs.songs, rows);
    }

    const verify = run(['verify', 'DADEDA00.DEZ', 'SongList.txt']);
    const report = opened.verify(new Uint8Array(songList), 'SongList.txt');
    assert.equal(report.report, verify.stdout.toString());
    assert.equal(report.sound, verify.status === 0);

    const count = songs.ok ? songs.songs.length : 1;
    for (let number = 1; number <= count + 1; ++number) {
      const lyrics = opened.lyrics(number);
      const printed = run(['lyrics', 'DADEDA00.DEZ', String(number)]);
      if (printed.status !== 0) {
        assert.equal(lyrics.ok, false, `song ${number}`);
        assert.equal(lyrics.message, nativeMessage(printed.stderr).replace(/ \(try --raw\)$/, ''));
        continue;
      }
      assert.equal(lyrics.listing, printed.stdout.toString(), `song ${number}`);
      assert.deepEqual(Buffer.from(lyrics.lrc), run(['lyrics', '--lrc', 'DADEDA00.DEZ', String(number)]).stdout);
      assert.deepEqual(Buffer.from(lyrics.ass), run(['lyrics', '--ass', 'DADEDA00.DEZ', String(number)]).stdout);
    }
    return {songs, report};
  });
}

before(async () => {
  core = await createRequire(import.meta.url)(corePath)({wasmBinary: readFileSync(corePath.replace(/\.js$/, '.wasm'))});
  folder = mkdtempSync(join(tmpdir(), 'zmr-image-check-'));
  const built = join(folder, 'built');
  const build = spawnSync(native, ['build', '-o', built, 'examples'], {cwd: root});
  assert.equal(build.status, 0, build.stderr.toString());
  examples = {image: readFileSync(join(built, 'DADEDA00.DEZ')), songList: readFileSync(join(built, 'SongList.txt'))};
});

after(() => rmSync(folder, {recursive: true, force: true}));

describe('an image opened in the core reads as the native commands read it', () => {
  test('the examples: every song listed, verified sound, lyrics, LRC and ASS', () => {
    const {songs, report} = compareWithNative(examples.image, examples.songList);
    assert.equal(songs.songs.length, 6);
    assert.ok(songs.songs.every((song) => song.title && !song.error));
    assert.equal(report.sound, true);
  });

  test('an image cut short', () => {
    for (const [image, songList] of [[examples.image.subarray(0, examples.image.length >> 1), examples.songList],
      [examples.image.subarray(0, 100), examples.songList], [Buffer.alloc(0), Buffer.alloc(0)]]) {
      const {songs, report} = compareWithNative(image, songList);
      assert.equal(songs.ok, false);
      assert.equal(report.sound, false);
    }
  });

  test('a huge length field in a song record', () => {
    const listed = JSON.parse(run(['list', '--json', join(folder, 'built', 'DADEDA00.DEZ')]).stdout).songs;
    const offsets = listed.map((s) => s.offset);
    // Song 1's text and song 2's events: each section's uncompressed length, after its compressed length.
    for (const [song, word] of [[1, 4], [2, 12 + listed[1].text.compressed + 4]]) {
      const image = Buffer.from(examples.image);
      image.writeUInt32BE(0x7ffffff0, offsets[song - 1] + word);
      const {songs, report} = compareWithNative(image, examples.songList);
      assert.equal(report.sound, false);
      assert.ok(!songs.ok || songs.songs.some((row) => row.error), `song ${song}`);
    }
  });

  test('a song list that does not match', () => {
    const lines = examples.songList.toString('latin1').split('\r\n');
    const renamed = Buffer.from([lines[0], lines[1].replace(/\t/, 'x\t'), ...lines.slice(2)].join('\r\n'), 'latin1');
    for (const songList of [renamed, Buffer.from(lines.slice(0, 3).join('\r\n') + '\r\n', 'latin1')]) {
      assert.equal(compareWithNative(examples.image, songList).report.sound, false);
    }
  });
});

// The channel messages of the first track of a Standard MIDI File, each as
// "tick:bytes".
function midiTrackMessages(file) {
  let at = 14;  // past the header chunk
  assert.equal(file.toString('latin1', at, at + 4), 'MTrk');
  const end = at + 8 + file.readUInt32BE(at + 4);
  at += 8;
  const number = () => {
    let value = 0;
    for (;;) {
      const byte = file[at++];
      value = (value << 7) | (byte & 0x7f);
      if (byte < 0x80) return value;
    }
  };
  const messages = [];
  let tick = 0;
  let status = 0;
  while (at < end) {
    tick += number();
    if (file[at] >= 0x80) status = file[at++];
    if (status === 0xf0 || status === 0xf7 || status === 0xff) {
      if (status === 0xff) at += 1;  // the meta event's type
      const length = number();
      at += length;
    } else {
      const size = (status & 0xe0) === 0xc0 ? 1 : 2;
      messages.push(`${tick}:${[status, ...file.subarray(at, at + size)].join(',')}`);
      at += size;
    }
  }
  return messages;
}

describe('a song previewed in the core sends the messages that play sends', () => {
  test('every song of the examples, stepped unit by unit, against zmrimage extract', () => {
    const opened = new core.OpenedImage(examples.image, 'DADEDA00.DEZ');
    try {
      const count = opened.songs().songs.length;
      for (let number = 1; number <= count; ++number) {
        const extracted = join(folder, `song${number}.mid`);
        const run = spawnSync(native, ['extract', '-o', extracted, join(folder, 'built', 'DADEDA00.DEZ'), String(number)]);
        assert.equal(run.status, 0, run.stderr.toString());
        const streams = opened.streams(number);
        const preview = new core.SongPreview(number, streams.text, streams.events);
        const sent = [];
        assert.deepEqual([...preview.jumpTo(0)], [0, 0, 0, 0]);  // a reset, and nothing before the first message
        for (let units = 0; units * 17 <= preview.lengthMs(); ++units) {
          const due = preview.playUntil(units * 17);
          for (let at = 0; at < due.length; at += 4) sent.push(`${units}:${[...due.subarray(at + 1, at + 1 + due[at])].join(',')}`);
        }
        preview.delete();
        assert.deepEqual(sent, midiTrackMessages(readFileSync(extracted)), `song ${number}`);
      }
    } finally {
      opened.delete();
    }
  });
});
