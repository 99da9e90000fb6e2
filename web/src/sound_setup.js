// Which SoundFont the preview plays with: the one the user chose, kept in the
// browser for the next visit. The synthesizer starts at the first song played
// (browsers let sound start only then), and again after another SoundFont is
// chosen. Without a SoundFont the songs play silent, and the page says why.
import {keepSoundFont, keptSoundFont} from './sound_font_store.js';

const $ = (id) => document.getElementById(id);

export class SoundSetup {
  constructor(beforeChange = () => {}) {
    this.beforeChange = beforeChange;  // stops a song playing with the old synthesizer
    this.font = null;  // {name, bytes}
    this.running = null;  // a promise of the Synthesizer, or of null
    this.problem = '';
  }

  async start() {
    $('choose-soundfont').addEventListener('click', () => $('soundfont-file').click());
    $('soundfont-file').addEventListener('change', () => {
      const file = $('soundfont-file').files[0];
      $('soundfont-file').value = '';
      if (file) this.choose(file);
    });
    this.font = await keptSoundFont();
    this.describe();
  }

  async choose(file) {
    this.beforeChange();
    await this.close();
    try {
      this.font = {name: file.name, bytes: await file.arrayBuffer()};
    } catch (error) {
      this.problem = `${file.name}: the browser could not read the file (${error.message})`;
      this.describe();
      return;
    }
    this.problem = '';
    this.kept = await keepSoundFont(file);
    this.describe();
  }

  describe() {
    let text;
    if (this.problem) text = `${this.problem}. The lyrics play without music.`;
    else if (!this.font) text = 'No SoundFont chosen: the lyrics play without music. Choose a General MIDI SoundFont (.sf2) to hear the songs.';
    else text = `SoundFont: ${this.font.name}${this.kept === false ? ' (this browser would not keep it for the next visit)' : ''}.`;
    $('sound-status').textContent = text;
    $('sound-status').className = this.font && !this.problem ? '' : 'missing';
  }

  // Resolves to the running Synthesizer, or null without one.
  synthesizer() {
    if (!this.font) return Promise.resolve(null);
    if (!this.running) {
      const font = this.font;
      this.running = import('./synthesizer.js')
        .then(({Synthesizer}) => Synthesizer.start(font.bytes.slice(0)))
        .catch((error) => {
          this.problem = `${font.name}: the synthesizer could not start (${error.message || error})`;
          this.describe();
          return null;
        });
    }
    return this.running;
  }

  async close() {
    const running = this.running;
    this.running = null;
    const synth = running && await running;
    if (synth) await synth.close();
  }
}
