// What the page needs of the browser; a browser without one of them is told
// which, instead of failing half-way through a build.
const NEEDS = [
  ['WebAssembly', () => typeof WebAssembly === 'object'],
  ['Web Workers', () => typeof Worker === 'function'],
  ['reading files (Blob.arrayBuffer)', () => typeof Blob === 'function' && typeof Blob.prototype.arrayBuffer === 'function'],
  ['the Windows-1258 text decoder', () => {
    try {
      return new TextDecoder('windows-1258').encoding === 'windows-1258';
    } catch {
      return false;
    }
  }],
  ['Vietnamese sorting (Intl.Collator)', () => typeof Intl === 'object' && Intl.Collator.supportedLocalesOf(['vi']).length > 0],
  ['object URLs for downloads', () => typeof URL.createObjectURL === 'function'],
];

// The names of what is missing, empty when nothing is.
export function missingFeatures() {
  return NEEDS.filter(([, present]) => !present()).map(([name]) => name);
}
