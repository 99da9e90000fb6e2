// The page's synthesizer: spessasynth_lib's SoundFont synthesizer in an
// AudioWorklet (its processor is a file of this site), fed the messages the
// core's sequencer sends. An AnalyserNode between it and the speakers gives
// the sound level the page shows. Loaded only when a song is previewed.
import {WorkletSynthesizer} from 'spessasynth_lib';

const PROCESSOR = 'spessasynth_processor.min.js';

export class Synthesizer {
  // Resolves once the SoundFont's bytes are loaded; rejects with the reason
  // the browser or the synthesizer gives.
  static async start(soundFont) {
    const context = new AudioContext();
    try {
      await context.audioWorklet.addModule(PROCESSOR);
      const synth = new WorkletSynthesizer(context);
      await synth.soundBankManager.addSoundBank(soundFont, 'main');
      await synth.isReady;
      const analyser = context.createAnalyser();
      analyser.fftSize = 2048;
      synth.connect(analyser);
      analyser.connect(context.destination);
      return new Synthesizer(context, synth, analyser);
    } catch (error) {
      await context.close();
      throw error;
    }
  }

  constructor(context, synth, analyser) {
    this.context = context;
    this.synth = synth;
    this.analyser = analyser;
    this.samples = new Float32Array(analyser.fftSize);
  }

  // The audio clock, in milliseconds.
  now() {
    return this.context.currentTime * 1000;
  }

  resume() {
    return this.context.resume();
  }

  // The core's messages, four bytes each (length, then the bytes); a length
  // of 0 resets the synthesizer.
  send(packed) {
    for (let at = 0; at + 4 <= packed.length; at += 4) {
      const size = packed[at];
      if (size === 0) {
        this.synth.stopAll(true);
        this.synth.reset();
      } else {
        this.synth.sendMessage(packed.subarray(at + 1, at + 1 + size));
      }
    }
  }

  // The root mean square of what is heard now, 0 to 1.
  level() {
    this.analyser.getFloatTimeDomainData(this.samples);
    let sum = 0;
    for (const sample of this.samples) sum += sample * sample;
    return Math.sqrt(sum / this.samples.length);
  }

  close() {
    this.synth.stopAll(true);
    this.synth.destroy();
    return this.context.close();
  }
}
