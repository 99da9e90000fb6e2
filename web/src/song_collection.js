// The songs of the image: each path once, in the core's song order, which is
// the order of the image and of its song list, with what the scan found.

export class SongCollection {
  constructor(core) {
    this.core = core;
    this.songs = new Map();  // path -> {path, file, scan, scanError}
    this.order = [];
  }

  get size() {
    return this.order.length;
  }

  // Adds the songs whose paths are not in the list yet; returns those added.
  add(songs) {
    const added = [];
    for (const {path, file} of songs) {
      if (this.songs.has(path)) continue;
      const song = {path, file, scan: null, scanError: null};
      this.songs.set(path, song);
      added.push(song);
    }
    if (added.length) this.order = this.core.sortSongPaths([...this.songs.keys()]);
    return added;
  }

  remove(paths) {
    for (const path of paths) this.songs.delete(path);
    this.order = this.order.filter((path) => this.songs.has(path));
  }

  get(path) {
    return this.songs.get(path);
  }

  inOrder() {
    return this.order.map((path) => this.songs.get(path));
  }

  scanned() {
    return this.inOrder().filter((song) => song.scan).map(({path, scan}) => ({path, scan}));
  }

  allScanned() {
    return this.order.every((path) => {
      const song = this.songs.get(path);
      return song.scan || song.scanError;
    });
  }
}
