// A song previewed as the desktop's preview window shows it: play, pause,
// stop and a position slider; the current line and the next in a large
// font, the sung characters highlighted. The core's SongPreview says what
// shows at a position and which messages are due; this only keeps the
// clock and hands the messages to the synthesizer, when there is one.

const $ = (id) => document.getElementById(id);
const TURN_MS = 10;      // how often the position moves on while playing
const RING_OUT_MS = 1500;  // after the last note, before the song counts as ended

function minutesSeconds(ms) {
  const seconds = Math.floor(ms / 1000);
  return `${String(Math.floor(seconds / 60)).padStart(2, '0')}:${String(seconds % 60).padStart(2, '0')}`;
}

export class SongPreviewPlayer {
  // `synthesizer()` resolves to the page's Synthesizer, or null without a SoundFont.
  constructor(synthesizer) {
    this.synthesizer = synthesizer;
    this.preview = null;
    this.synth = null;
    this.timer = 0;
    this.position = 0;    // ms, while paused
    this.startedAt = 0;   // performance.now() at position 0, while playing
    this.playing = false;
    this.shown = '';
  }

  start() {
    $('preview-play').addEventListener('click', () => this.play());
    $('preview-pause').addEventListener('click', () => this.pause());
    $('preview-stop').addEventListener('click', () => this.stop());
    $('preview-position').addEventListener('input', () => this.seek(Number($('preview-position').value)));
    // Leaving the page stops the song.
    window.addEventListener('pagehide', () => this.unload());
  }

  // `preview` is the core's SongPreview of the song; the player owns it.
  load(preview) {
    this.unload();
    this.preview = preview;
    this.lines = preview.lines();
    this.length = preview.lengthMs();
    $('preview-title').textContent = preview.title();
    $('preview-position').max = String(Math.ceil(this.length));
    $('preview').hidden = false;
    this.position = 0;
    this.shown = '';
    this.show(0);
    this.buttons();
  }

  unload() {
    this.pause();
    if (this.preview) this.preview.delete();
    this.preview = null;
    $('preview').hidden = true;
  }

  now() {
    return this.playing ? performance.now() - this.startedAt : this.position;
  }

  async play() {
    if (!this.preview || this.playing) return;
    const preview = this.preview;
    this.synth = await this.synthesizer();
    if (preview !== this.preview || this.playing) return;  // another song, or another click, came first
    if (this.position >= this.length) this.position = 0;
    if (this.synth) {
      await this.synth.resume();
      if (preview !== this.preview || this.playing) return;
      this.synth.send(preview.jumpTo(this.position));
    } else {
      preview.jumpTo(this.position);
    }
    this.playing = true;
    this.startedAt = performance.now() - this.position;
    this.timer = setInterval(() => this.turn(), TURN_MS);
    this.buttons();
  }

  pause() {
    if (!this.playing) return;
    this.position = this.now();
    this.playing = false;
    clearInterval(this.timer);
    if (this.synth) this.synth.send(this.preview.silence());
    this.buttons();
  }

  stop() {
    this.pause();
    this.position = 0;
    if (this.preview) this.show(0);
  }

  seek(ms) {
    if (!this.preview) return;
    const playing = this.playing;
    this.pause();
    this.position = Math.min(Math.max(ms, 0), this.length);
    this.show(this.position);
    if (playing) this.play();
  }

  turn() {
    const at = this.now();
    const due = this.preview.playUntil(at);
    if (this.synth) {
      this.synth.send(due);
      $('sound-level').value = this.synth.level();
    }
    if (at >= this.length + RING_OUT_MS) {
      this.stop();
      return;
    }
    this.show(Math.min(at, this.length));
  }

  buttons() {
    $('preview-play').disabled = !this.preview || this.playing;
    $('preview-pause').disabled = !this.playing;
    $('preview-stop').disabled = !this.preview;
  }

  show(at) {
    $('preview-position').value = String(Math.round(at));
    $('preview-time').textContent = `${minutesSeconds(at)} / ${minutesSeconds(this.length)}`;
    const view = this.preview.at(at);
    const key = `${view.line}/${view.sung}/${view.next}`;
    if (key === this.shown) return;  // redrawn only when something changed
    this.shown = key;
    const line = view.line >= 0 ? this.lines[view.line] : [];
    $('sung').textContent = line.slice(0, view.sung).join('');
    $('unsung').textContent = line.slice(view.sung).join('');
    $('next-line').textContent = view.next >= 0 ? this.lines[view.next].join('') : '';
  }
}
