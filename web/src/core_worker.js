// A Web Worker with its own copy of the core: it scans and converts songs and
// makes the song book, so the page never waits on the core. Each request is
// {id, type, ...}; each answer {id, result} or {id, error}.
/* global importScripts, createZmrCore */

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
