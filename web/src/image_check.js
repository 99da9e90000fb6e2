// An opened image: a build's, or a DADEDA00.DEZ chosen or dropped with its
// SongList.txt. Its songs as `zmrimage list` gives them, `zmrimage verify`'s
// report, and a chosen song's lyrics as `zmrimage lyrics` prints them with
// its LRC and ASS files. Everything is read by the image worker's core; the
// page only shows what it answers.

const $ = (id) => document.getElementById(id);

// The image and its song list among the chosen or dropped files: the
// DADEDA00.DEZ (any .dez) and SongList.txt (else any .txt), in any letter case.
export function imageFiles(files) {
  const list = [...files];
  const image = list.find((file) => /\.dez$/i.test(file.name));
  const songList = list.find((file) => /^songlist\.txt$/i.test(file.name)) || list.find((file) => /\.txt$/i.test(file.name));
  return {image, songList};
}

// A song's title as a file name on every system.
export function fileNameOf(number, title) {
  const safe = title.replace(/[\u0000-\u001f\u007f/\\:*?"<>|]/g, '_').trim();
  return `${String(number).padStart(2, '0')} ${safe || 'song'}`;
}

export class ImageCheck {
  // `worker` is a WorkerPool of one worker, which keeps the open image;
  // `downloads` offers the LRC and ASS files; `onSong(number, title)` is
  // told which song is chosen (null when none).
  constructor(worker, downloads, onSong = () => {}) {
    this.worker = worker;
    this.downloads = downloads;
    this.onSong = onSong;
    this.opening = 0;  // each open counts up, so that a late answer of an older one is dropped
    this.songs = [];
  }

  start() {
    $('open-image-button').addEventListener('click', () => $('open-image').click());
    $('open-image').addEventListener('change', () => {
      const files = $('open-image').files;
      if (files.length) this.openFiles(files);
      $('open-image').value = '';
    });
    const zone = $('image-drop-zone');
    zone.addEventListener('dragover', (event) => {
      event.preventDefault();
      event.stopPropagation();
      zone.classList.add('dropping');
    });
    zone.addEventListener('dragleave', () => zone.classList.remove('dropping'));
    zone.addEventListener('drop', (event) => {
      event.preventDefault();
      event.stopPropagation();
      zone.classList.remove('dropping');
      if (event.dataTransfer.files.length) this.openFiles(event.dataTransfer.files);
    });
    $('image-songs').addEventListener('click', (event) => {
      const button = event.target.closest('button[data-song]');
      if (button) this.showSong(Number(button.dataset.song));
    });
  }

  openFiles(files) {
    const {image, songList} = imageFiles(files);
    if (!image) {
      this.say('Choose the image DADEDA00.DEZ, with its SongList.txt to check it against.');
      return;
    }
    this.open(image, image.name, songList || null, songList ? songList.name : '');
  }

  say(text) {
    $('image-status').textContent = text;
  }

  clear() {
    this.songs = [];
    this.downloads.release();
    $('image-songs-rows').replaceChildren();
    $('verify-report').textContent = '';
    $('verify-report').className = '';
    $('song-view').hidden = true;
    this.onSong(null);
  }

  async open(image, name, songList, songListName) {
    const opening = ++this.opening;
    this.clear();
    this.say(`Reading ${name}...`);
    const current = () => opening === this.opening;
    try {
      const read = await this.worker.request({type: 'openImage', image, name});
      if (!current()) return;
      if (!read.ok) {
        this.say(read.message);
        return;
      }
      const [songs, verified] = await Promise.all([this.worker.request({type: 'imageSongs'}),
        this.worker.request({type: 'verifyImage', songList, songListName})]);
      if (!current()) return;
      $('verify-report').textContent = verified.report;
      $('verify-report').className = verified.sound ? 'sound' : 'not-sound';
      if (!songs.ok) {
        this.say(songs.message);
        return;
      }
      this.songs = songs.songs;
      this.showSongs();
      this.say(`${name}${songList ? ` with ${songListName}` : ', without a song list'}: ` +
        `${songs.songs.length} song${songs.songs.length === 1 ? '' : 's'}.`);
    } catch (error) {
      if (current()) this.say(`${name} could not be read: ${error.message}`);
    }
  }

  showSongs() {
    const rows = this.songs.map((song) => {
      const row = document.createElement('tr');
      const number = document.createElement('td');
      number.textContent = String(song.number);
      const title = document.createElement('th');
      title.scope = 'row';
      const length = document.createElement('td');
      // A song that cannot be read whole is still chosen: its lyrics may read, and its preview says why not.
      const button = document.createElement('button');
      button.type = 'button';
      button.className = 'link';
      button.dataset.song = String(song.number);
      button.textContent = song.error ? `(unreadable: ${song.error})` : song.title;
      title.append(button);
      length.textContent = song.length;
      if (song.error) row.className = 'bad';
      row.append(number, title, length);
      return row;
    });
    $('image-songs-rows').replaceChildren(...rows);
  }

  async showSong(number) {
    const song = this.songs[number - 1];
    const opening = this.opening;
    const lyrics = await this.worker.request({type: 'songLyrics', number}).catch((error) => ({ok: false, message: error.message}));
    if (opening !== this.opening) return;
    $('song-view').hidden = false;
    $('song-heading').textContent = `${number}. ${song.title || '(unreadable)'}`;
    if (!lyrics.ok) {
      $('lyrics-listing').textContent = lyrics.message;
      $('lyrics-downloads').hidden = true;
    } else {
      $('lyrics-listing').textContent = lyrics.listing;
      const name = fileNameOf(number, song.title);
      this.downloads.offer($('download-lrc'), new Blob([lyrics.lrc], {type: 'text/plain'}), `${name}.lrc`);
      this.downloads.offer($('download-ass'), new Blob([lyrics.ass], {type: 'text/plain'}), `${name}.ass`);
      $('lyrics-downloads').hidden = false;
    }
    this.onSong(number, song.title);
  }
}
