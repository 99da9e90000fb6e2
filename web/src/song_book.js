// The song book of the built image: a worker's core reads the two files and
// writes the book's HTML, which opens in a new tab to read or print.

// The disc name as the disc holds it: letters raised; null when it holds
// anything but A-Z, 0-9 and '_' or is longer than 32 characters.
export function volumeIdOf(text) {
  const name = text.trim().toUpperCase() || 'KARAOKE';
  return /^[A-Z0-9_]{1,32}$/.test(name) ? name : null;
}

// Resolves to {ok, message, html, warnings} as the core gives it.
export function makeSongBook(pool, image, songList, volumeId) {
  return pool.request({type: 'songbook', image, songList, volumeId});
}

// The tab is opened before the book is made, while the click still counts as
// the user's, so that no popup blocker stops it.
export function openBlankTab() {
  return window.open('', '_blank');
}

export function showInTab(tab, url) {
  tab.location.href = url;
}
