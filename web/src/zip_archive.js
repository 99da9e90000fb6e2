// The image and the song list as one zip, stored without compression (the image
// is compressed already) and dated 1980-01-01 00:00, the earliest date a zip can
// hold, so the same files always give the same zip. The files are read and the
// zip is kept in pieces, so a large image is never held whole in memory.
import {Zip, ZipPassThrough} from 'fflate';

const PIECE = 1 << 20;
const FIXED_TIME = new Date(1980, 0, 1, 0, 0, 0);  // local fields, as zip dates are

// files: [{name, blob}] in the zip's order; resolves to a Blob.
export async function zipFiles(files) {
  const parts = [];  // Blobs of up to 32 pieces, which the browser may keep on disk
  let pieces = [];
  let failure = null;
  const zip = new Zip((error, chunk) => {
    if (error) failure = error;
    else pieces.push(chunk);
    if (pieces.length >= 32) {
      parts.push(new Blob(pieces));
      pieces = [];
    }
  });
  for (const {name, blob} of files) {
    const entry = new ZipPassThrough(name);
    entry.mtime = FIXED_TIME;
    zip.add(entry);
    for (let at = 0; at < blob.size || at === 0; at += PIECE) {
      const end = Math.min(blob.size, at + PIECE);
      entry.push(new Uint8Array(await blob.slice(at, end).arrayBuffer()), end === blob.size);
      if (failure) throw failure;
    }
  }
  zip.end();
  if (failure) throw failure;
  return new Blob([...parts, ...pieces], {type: 'application/zip'});
}
