// The reading options and "Skip bad songs", as the command line's
// --text-encoding, --kar-text, --lenient and --skip-bad; the scan's advice sets
// them, and the user may change them afterwards.

export class ReadingOptions {
  constructor(core, {encoding, karText, lenient, skipBad}) {
    this.controls = {encoding, karText, lenient, skipBad};
    for (const name of core.readingEncodings()) encoding.add(new Option(name, name));
  }

  // The options object that SongConverter.convert takes.
  read() {
    const {encoding, karText, lenient} = this.controls;
    return {textEncoding: encoding.value, karText: karText.checked, lenient: lenient.checked};
  }

  get skipBad() {
    return this.controls.skipBad.checked;
  }

  apply(advice) {
    const {encoding, karText, lenient, skipBad} = this.controls;
    encoding.value = advice.textEncoding;
    karText.checked = advice.karText;
    lenient.checked = advice.lenient;
    skipBad.checked = advice.skipBad;
  }

  // The advice in the command line's words.
  static describe(advice) {
    const options = [`Text encoding ${advice.textEncoding}`];
    if (advice.karText) options.push('Soft Karaoke text');
    if (advice.lenient) options.push('Lenient');
    if (advice.skipBad) options.push('Skip bad songs');
    return options.join(', ');
  }

  setDisabled(disabled) {
    for (const control of Object.values(this.controls)) control.disabled = disabled;
  }
}
