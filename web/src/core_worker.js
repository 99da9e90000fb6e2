// A Web Worker with its own copy of the core: it scans and converts songs and
// makes the song book, so the page never waits on the core. Each request is
// {id, type, ...}; each answer {id, result} or {id, error}.
/* global importScripts, createZmrCore */

// An image (or a song list) larger than any disc is refused before it is
// read: the worker holds it twice while it moves into the module.
const MAX_IMAGE_BYTES = 1024 * 1024 * 1024;

let corePromise;
let converter;  // keeps its buffers from song to song
function loadCore() {
  if (!corePromise) {
    corePromise = (async () => {
      try {
        importScripts('zmrcore.js');
      } catch (error) {
        throw new Error(`zmrcore.js could not be loaded (${error.message})`);
      }
      return createZmrCore();
    })();
  }
  return corePromise;
}

async function readSong(file) {
  try {
    return new Uint8Array(await file.arrayBuffer());
  } catch (error) {
    throw new Error(`${file.name}: the browser could not read the file (${error.message})`);
  }
}

// The image and the song list are read where they are (Blobs mounted with
// WORKERFS), so a large image is not copied into the module's memory.
function songBook(core, {image, songList, volumeId}) {
  const folder = '/book';
  try {
    core.FS.mkdir(folder);
  } catch {
    // made by an earlier book of this worker
  }
  core.FS.mount(core.WORKERFS || core.FS.filesystems.WORKERFS, {blobs: [{name: 'DADEDA00.DEZ', data: image}, {name: 'SongList.txt', data: songList}]},
    folder);
  try {
    return core.songBookHtml(`${folder}/DADEDA00.DEZ`, `${folder}/SongList.txt`, volumeId);
  } finally {
    core.FS.unmount(folder);
  }
}

// The image the page has open, held by this worker (the page gives it a
// worker of its own): read once, then asked for its songs, its verification,
// a song's lyrics and a song's preview.
let opened = null;

async function openImage(core, {image, name}) {
  if (image.size > MAX_IMAGE_BYTES) {
    return {ok: false, message: `${name}: ${image.size} bytes, more than a disc holds; the page opens images of at most 1 GiB`};
  }
  let bytes;
  try {
    bytes = new Uint8Array(await image.arrayBuffer());
  } catch (error) {
    return {ok: false, message: `${name}: the browser could not read the file (${error.message})`};
  }
  if (opened) opened.delete();
  opened = null;
  opened = new core.OpenedImage(bytes, name);
  return {ok: true};
}

async function verifyImage({songList, songListName}) {
  let bytes = null;
  if (songList) {
    if (songList.size > MAX_IMAGE_BYTES) {
      return {sound: false, report: `${songListName}: ${songList.size} bytes, more than any song list; the page reads at most 1 GiB\n`};
    }
    try {
      bytes = new Uint8Array(await songList.arrayBuffer());
    } catch (error) {
      return {sound: false, report: `${songListName}: the browser could not read the file (${error.message})\n`};
    }
  }
  return opened.verify(bytes, songListName || '');
}

function openedImage() {
  if (!opened) throw new Error('no image is open');
  return opened;
}

async function answer(request) {
  const core = await loadCore();
  switch (request.type) {
    case 'scan':
      return {result: core.scanSong(request.path, await readSong(request.file))};
    case 'convert': {
      converter ??= new core.SongConverter();
      const result = converter.convert(request.path, await readSong(request.file), request.options);
      const transfer = [result.record, result.name].filter((bytes) => bytes && bytes.buffer).map((bytes) => bytes.buffer);
      return {result, transfer};
    }
    case 'songbook':
      return {result: songBook(core, request)};
    case 'openImage':
      return {result: await openImage(core, request)};
    case 'imageSongs':
      return {result: openedImage().songs()};
    case 'verifyImage':
      openedImage();
      return {result: await verifyImage(request)};
    case 'songLyrics': {
      const result = openedImage().lyrics(request.number);
      return {result, transfer: result.ok ? [result.lrc.buffer, result.ass.buffer] : []};
    }
    case 'songStreams': {
      const result = openedImage().streams(request.number);
      return {result, transfer: result.ok ? [result.text.buffer, result.events.buffer] : []};
    }
    default:
      throw new Error(`unknown request ${request.type}`);
  }
}

self.onmessage = async (event) => {
  const {id} = event.data;
  try {
    const {result, transfer = []} = await answer(event.data);
    self.postMessage({id, result}, transfer);
  } catch (error) {
    self.postMessage({id, error: String(error && error.message ? error.message : error)});
  }
};
