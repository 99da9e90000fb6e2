// The song list on the page: one row per song, numbered in image order, with a
// checkbox to select it for "Remove" (Delete on a focused checkbox removes its
// song) and what the scan found. Rows are kept by path so that a scan result
// updates its own row instead of redrawing thousands.

const LYRIC_SOURCES = {'lyric-events': '', 'text-events': ', Soft Karaoke text', 'none': ', no lyrics'};

export function describeScan(song) {
  if (song.scanError) return {length: '-', text: '-', found: song.scanError};
  const scan = song.scan;
  if (!scan) return {length: '', text: '', found: 'scanning...'};
  if (!scan.read) return {length: '-', text: '-', found: scan.message.trim()};
  const findings = [];
  if (scan.outcome === 'lenient') findings.push(`only with Lenient: ${scan.message.trim()}`);
  else if (scan.outcome === 'fails') findings.push(scan.message.trim());
  if (scan.uncoded > 0) findings.push(`${scan.uncoded} character${scan.uncoded === 1 ? '' : 's'} without a code`);
  return {
    length: scan.length,
    text: scan.encoding + (LYRIC_SOURCES[scan.lyrics] ?? ''),
    found: findings.length ? findings.join('; ') : 'compiles',
  };
}

export class SongTable {
  constructor(body, onRemove) {
    this.body = body;
    this.rows = new Map();  // path -> row
    this.onRemove = onRemove;
    body.addEventListener('keydown', (event) => {
      if (event.key !== 'Delete' || !event.target.matches('input[type=checkbox]')) return;
      event.preventDefault();
      this.onRemove([event.target.closest('tr').dataset.path]);
    });
  }

  render(songs) {
    const rows = new Map();
    const fragment = document.createDocumentFragment();
    songs.forEach((song, index) => {
      const row = this.rows.get(song.path) || this.makeRow(song);
      row.cells[0].textContent = String(index + 1);
      rows.set(song.path, row);
      fragment.append(row);
    });
    this.rows = rows;
    this.body.replaceChildren(fragment);
  }

  makeRow(song) {
    const row = document.createElement('tr');
    row.dataset.path = song.path;
    const cells = ['td', 'td', 'th', 'td', 'td', 'td'].map((tag) => row.appendChild(document.createElement(tag)));
    cells[2].scope = 'row';
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.setAttribute('aria-label', `Select ${song.path}`);
    cells[1].append(box);
    cells[2].textContent = song.path;
    this.fill(row, song);
    return row;
  }

  update(song) {
    const row = this.rows.get(song.path);
    if (row) this.fill(row, song);
  }

  fill(row, song) {
    const {length, text, found} = describeScan(song);
    row.cells[3].textContent = length;
    row.cells[4].textContent = text;
    row.cells[5].textContent = found;
    row.classList.toggle('bad', Boolean(song.scanError || (song.scan && song.scan.outcome === 'fails')));
  }

  selected() {
    return [...this.rows.values()].filter((row) => row.cells[1].firstChild.checked).map((row) => row.dataset.path);
  }

  selectAll() {
    for (const row of this.rows.values()) row.cells[1].firstChild.checked = true;
  }

  // After a removal, the keyboard goes on at the row now in the first removed one's place.
  focusAt(index) {
    const rows = [...this.rows.values()];
    const row = rows[Math.min(index, rows.length - 1)];
    if (row) row.cells[1].firstChild.focus();
    return Boolean(row);
  }

  firstIndexOf(paths) {
    const wanted = new Set(paths);
    let index = 0;
    for (const path of this.rows.keys()) {
      if (wanted.has(path)) return index;
      ++index;
    }
    return -1;
  }
}
