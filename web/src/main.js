// The page: gathers songs, scans them, proposes the reading options, builds
// the image in Web Workers and offers the two files, their zip and the song
// book. The core runs on this thread too, for what is quick: song order, the
// advice of the scans, and writing the image in order (web/src/image_build.js).
/* global createZmrCore */
import {missingFeatures} from './browser_support.js';
import {Downloads} from './downloads.js';
import {buildImage} from './image_build.js';
import {ImageCheck} from './image_check.js';
import {keepForOffline} from './offline.js';
import {ReadingOptions} from './reading_options.js';
import {makeSongBook, openBlankTab, showInTab, volumeIdOf} from './song_book.js';
import {SongCollection} from './song_collection.js';
import {SongPreviewPlayer} from './song_preview.js';
import {SoundSetup} from './sound_setup.js';
import {fromDrop, fromInput} from './song_gathering.js';
import {SongTable} from './song_table.js';
import {REQUESTS_PER_WORKER, WorkerPool} from './worker_pool.js';
import {zipFiles} from './zip_archive.js';

const TITLE = 'ZMR Disc Image Tool';
const LISTED_PATHS = 5;  // paths named in an advice line, as the command line's scan lists them
const $ = (id) => document.getElementById(id);

function showProblem(text) {
  $('problem').textContent = text;
  $('problem').hidden = false;
}

function plural(count, word) {
  return `${count.toLocaleString('en')} ${word}${count === 1 ? '' : 's'}`;
}

function pathsLine(heading, paths) {
  if (!paths.length) return '';
  const named = paths.slice(0, LISTED_PATHS).join(', ');
  const more = paths.length > LISTED_PATHS ? ` and ${paths.length - LISTED_PATHS} more` : '';
  return `${heading} (${paths.length}): ${named}${more}.`;
}

class Page {
  constructor(core) {
    this.core = core;
    this.songs = new SongCollection(core);
    this.table = new SongTable($('song-rows'), (paths) => this.remove(paths));
    this.options = new ReadingOptions(core, {encoding: $('text-encoding'), karText: $('kar-text'),
      lenient: $('lenient'), skipBad: $('skip-bad')});
    this.pool = new WorkerPool('core_worker.js');
    this.downloads = new Downloads();
    // The open image stays in a worker of its own, apart from the builders.
    this.imageWorker = new WorkerPool('core_worker.js', 1);
    this.check = new ImageCheck(this.imageWorker, new Downloads(), (number) => this.preview(number));
    this.sound = new SoundSetup(() => this.player.pause());
    this.player = new SongPreviewPlayer(() => this.sound.synthesizer());
    this.built = null;  // {image, songList} of the last build
    this.zip = null;
    this.busy = false;
    this.scansPending = 0;
    this.adviceDue = false;
    this.discTimer = 0;
    this.scanTimer = 0;
    this.scannedSongs = new Set();  // scanned since their rows were last updated
  }

  start() {
    $('version').textContent = this.core.version;
    $('add-files-button').addEventListener('click', () => $('add-files').click());
    $('add-folder-button').addEventListener('click', () => $('add-folder').click());
    for (const input of [$('add-files'), $('add-folder')]) {
      input.addEventListener('change', () => {
        const {songs, skipped} = fromInput(input.files, (name) => this.core.hasSongExtension(name));
        this.add(songs, skipped && `${plural(skipped, 'song')} of subfolders left out: a folder gives its own songs only.`);
        input.value = '';
      });
    }
    document.addEventListener('dragover', (event) => {
      event.preventDefault();
      $('drop-zone').classList.add('dropping');
    });
    document.addEventListener('dragleave', () => $('drop-zone').classList.remove('dropping'));
    document.addEventListener('drop', (event) => this.drop(event));
    $('remove').addEventListener('click', () => this.remove(this.table.selected()));
    $('select-all').addEventListener('click', () => this.table.selectAll());
    $('create-image').addEventListener('click', () => this.create());
    $('download-zip').addEventListener('click', () => this.saveZip());
    $('song-book').addEventListener('click', () => this.openSongBook());
    this.check.start();
    this.player.start();
    this.sound.start();
    this.refresh();
  }

  async drop(event) {
    event.preventDefault();
    $('drop-zone').classList.remove('dropping');
    if (this.busy || !event.dataTransfer) return;
    try {
      const {songs, skipped} = await fromDrop(event.dataTransfer, (name) => this.core.hasSongExtension(name));
      this.add(songs, skipped && `${plural(skipped, 'subfolder')} left out: a folder gives its own songs only.`);
    } catch (error) {
      this.say(`The dropped songs could not be read: ${error.message}`);
    }
  }

  add(found, leftOut) {
    if (this.busy) return;
    const added = this.songs.add(found);
    const notes = [`${plural(added.length, 'song')} added.`];
    if (found.length > added.length) notes.push(`${plural(found.length - added.length, 'song')} already in the list.`);
    if (leftOut) notes.push(leftOut);
    this.say(notes.join(' '));
    this.table.render(this.songs.inOrder());
    if (added.length) this.adviceDue = true;
    for (const song of added) this.scan(song);
    this.refresh();
  }

  async scan(song) {
    ++this.scansPending;
    try {
      song.scan = await this.pool.request({type: 'scan', path: song.path, file: song.file});
    } catch (error) {
      song.scanError = error.message;
    }
    --this.scansPending;
    this.scannedSongs.add(song);
    // Each change to a row of a long table costs the browser a layout of the whole table at the
    // next frame; the rows of the songs scanned meanwhile are updated together, less often the
    // longer the list, so that thousands of scans do not keep the page busy laying it out.
    if (!this.scanTimer) {
      const delay = this.scansPending ? Math.min(1000, 50 + this.songs.size / 20) : 0;
      this.scanTimer = setTimeout(() => this.showScans(), delay);
    }
  }

  showScans() {
    this.scanTimer = 0;
    for (const song of this.scannedSongs) this.table.update(song);
    this.scannedSongs.clear();
    this.refresh();
  }

  remove(paths) {
    if (this.busy || !paths.length) return;
    const first = this.table.firstIndexOf(paths);
    this.songs.remove(paths);
    this.table.render(this.songs.inOrder());
    this.say(`${plural(paths.length, 'song')} removed.`);
    if (!this.table.focusAt(first)) $('add-files-button').focus();
    this.refresh();
  }

  // The count, the disc use and, once every song is scanned, the advice.
  refresh() {
    const count = this.songs.size;
    $('remove').disabled = this.busy || !count;
    $('select-all').disabled = this.busy || !count;
    $('create-image').disabled = this.busy;
    for (const id of ['add-files-button', 'add-folder-button']) $(id).disabled = this.busy;
    this.options.setDisabled(this.busy);
    const scanning = this.scansPending ? `, ${this.scansPending.toLocaleString('en')} being scanned` : '';
    let countLine = count ? `${plural(count, 'song')}${scanning}.` : 'No songs yet.';
    if (count > this.core.maxSongs) countLine += ` An image holds at most ${this.core.maxSongs.toLocaleString('en')} songs.`;
    $('song-count').textContent = countLine;
    // The scan advice over thousands of songs is not redone for every song scanned: while songs
    // are being scanned, at most every half second, and less often the longer the list.
    if (!this.discTimer) {
      const delay = this.scansPending ? Math.max(500, this.songs.size / 4) : 0;
      this.discTimer = setTimeout(() => this.showAdvice(), delay);
    }
  }

  showAdvice() {
    this.discTimer = 0;
    const scanned = this.songs.scanned();
    if (!scanned.length) {
      $('disc-use').textContent = '';
      if (!this.songs.size) $('advice').textContent = '';
      return;
    }
    const advice = this.core.scanAdvice(scanned);
    const estimate = scanned.length < this.songs.size ? ` (from the ${plural(scanned.length, 'song')} scanned so far)` : '';
    let disc = `Disc: ${advice.disc}${estimate}.`;
    if (!advice.fits) disc += ` Too big: the first ${advice.songsThatFit} of its ${advice.songsOnDisc} songs would fit.`;
    $('disc-use').textContent = disc;
    // Options change only between builds, so that the page shows those a build ran with.
    if (!this.adviceDue || this.scansPending || this.busy) return;
    this.adviceDue = false;
    this.options.apply(advice);
    $('advice').textContent = [`Set as the scan advises: ${ReadingOptions.describe(advice)}.`,
      pathsLine('Without lyrics on the disc', advice.withoutLyrics),
      pathsLine('In Windows-1258, to build apart with text encoding cp1258', advice.cp1258Apart)]
      .filter(Boolean).join(' ');
  }

  say(text) {
    $('status').textContent = text;
  }

  setBusy(busy) {
    this.busy = busy;
    this.refresh();
  }

  async create() {
    if (this.busy) return;
    this.setBusy(true);
    document.title = `${TITLE} - Compiling...`;
    this.downloads.release();
    this.built = null;
    this.zip = null;
    $('results').hidden = true;
    $('messages').replaceChildren();
    $('progress').value = 0;
    const songs = this.songs.inOrder();
    const paths = songs.map((song) => song.path);
    const options = this.options.read();
    this.say(`Compiling ${plural(paths.length, 'song')}...`);
    let shown = 0;
    try {
      const result = await buildImage({
        core: this.core,
        paths,
        convert: (index) => this.pool.request({type: 'convert', path: paths[index], file: songs[index].file, options}),
        skipBad: this.options.skipBad,
        window: this.pool.size * REQUESTS_PER_WORKER,
        onProgress: (done, count, path) => {
          $('progress').value = count ? Math.floor((100 * done) / count) : 100;
          // Redrawing the line for each of thousands of songs would slow the build.
          const now = performance.now();
          if (now - shown > 100 || done === count) {
            shown = now;
            this.say(`${done.toLocaleString('en')} of ${count.toLocaleString('en')}: ${path}`);
          }
        },
        onMessage: ({kind, text}) => this.message(kind, text),
      });
      this.finish(result);
    } catch (error) {
      this.say(`The image was not made: ${error.message}`);
    } finally {
      document.title = `${TITLE} - Done`;
      this.setBusy(false);
    }
  }

  message(kind, text) {
    const item = document.createElement('li');
    item.className = kind;
    item.textContent = text;
    $('messages').append(item);
  }

  // A build that ended at a bad song still gives the songs before it, as the
  // command line writes them; the page offers whatever image the build made.
  finish(result) {
    $('progress').value = 100;
    const lines = result.summary ? result.summary.lines : [];
    this.say(['Done.', result.ok ? '' : result.message, ...lines].filter(Boolean).join('\n'));
    if (!result.image) return;
    this.built = {image: result.image, songList: result.songList};
    this.downloads.offer($('download-image'), result.image, 'DADEDA00.DEZ');
    this.downloads.offer($('download-list'), result.songList, 'SongList.txt');
    $('image-size').textContent = `(${result.image.size.toLocaleString('en')} bytes)`;
    $('results').hidden = false;
    this.check.open(result.image, 'DADEDA00.DEZ', result.songList, 'SongList.txt');
  }

  // Song `number` of the open image into the preview; null leaves the song.
  async preview(number) {
    this.player.unload();
    $('preview-problem').hidden = true;
    const asked = this.previewAsked = (this.previewAsked || 0) + 1;  // a later song, or none, drops this one
    if (number === null) return;
    const streams = await this.imageWorker.request({type: 'songStreams', number})
      .catch((error) => ({ok: false, message: error.message}));
    if (asked !== this.previewAsked) return;
    if (!streams.ok) {
      $('preview-problem').textContent = streams.message;
      $('preview-problem').hidden = false;
      return;
    }
    this.player.load(new this.core.SongPreview(number, streams.text, streams.events));
  }

  async saveZip() {
    if (!this.built) return;
    $('download-zip').disabled = true;
    try {
      if (!this.zip) {
        this.say('Making zmrimage.zip...');
        this.zip = await zipFiles([{name: 'DADEDA00.DEZ', blob: this.built.image},
          {name: 'SongList.txt', blob: this.built.songList}]);
      }
      this.downloads.save(this.zip, 'zmrimage.zip');
      this.say(`zmrimage.zip: ${this.zip.size.toLocaleString('en')} bytes.`);
    } catch (error) {
      this.say(`zmrimage.zip could not be made: ${error.message}`);
    } finally {
      $('download-zip').disabled = false;
    }
  }

  async openSongBook() {
    if (!this.built) return;
    const volumeId = volumeIdOf($('volume-id').value);
    if (!volumeId) {
      this.say('The disc name may hold only the letters A to Z, the digits 0 to 9 and _, at most 32 of them.');
      $('volume-id').focus();
      return;
    }
    const tab = openBlankTab();
    $('song-book').disabled = true;
    try {
      const book = await makeSongBook(this.pool, this.built.image, this.built.songList, volumeId);
      for (const warning of book.warnings || []) this.message('warning', warning);
      if (!book.ok) throw new Error(book.message);
      const url = this.downloads.url(new Blob([book.html], {type: 'text/html;charset=utf-8'}));
      if (tab) {
        showInTab(tab, url);
        this.say('The song book is open in a new tab; print it from there.');
      } else {
        this.say('The browser blocked the new tab; allow pop-ups for this page to see the song book.');
      }
    } catch (error) {
      if (tab) tab.close();
      this.say(`The song book could not be made: ${error.message}`);
    } finally {
      $('song-book').disabled = false;
    }
  }
}

async function main() {
  const missing = missingFeatures();
  if (missing.length) {
    showProblem(`This browser lacks what the page needs: ${missing.join(', ')}. Open it in a current Chrome, Edge, Firefox or Safari.`);
    $('tool').inert = true;
    return;
  }
  if (typeof createZmrCore !== 'function') {
    showProblem('zmrcore.js, the conversion core, could not be loaded: reload the page, or check that the site has every file.');
    $('tool').inert = true;
    return;
  }
  let core;
  try {
    core = await createZmrCore();
  } catch (error) {
    showProblem(`The conversion core (zmrcore.wasm) could not be started: ${error.message || error}`);
    $('tool').inert = true;
    return;
  }
  new Page(core).start();
  const offline = await keepForOffline();
  if (offline) $('offline-note').textContent = offline;
}

main();
