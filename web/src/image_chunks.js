// The image as the core writes it: appended pieces, some of them patched
// later (the group table near the start, and each group's index block once
// its 256 songs are in). A patch never reaches back past the open group's
// index block, except into the first sector, so every piece between the
// first sector and the latest patch is final: it is sealed into a Blob, which
// the browser may keep on disk, and the image is never held whole in memory.

const kFirstSector = 2048;

export class ImageChunks {
  constructor() {
    this.head = [];    // pieces that start in the first sector: the header and the group table
    this.sealed = [];  // Blobs of final pieces, in order
    this.live = [];    // {offset, bytes} still open to patches
    this.size = 0;
  }

  // `writes` as a step of the core's ImageAssembler gives them: offset -1 appends.
  apply(writes) {
    for (const write of writes) {
      if (write.offset < 0) this.append(write.bytes);
      else this.patch(write.offset, write.bytes);
    }
  }

  append(bytes) {
    const piece = {offset: this.size, bytes};
    (this.size < kFirstSector ? this.head : this.live).push(piece);
    this.size += bytes.length;
  }

  patch(offset, bytes) {
    const end = offset + bytes.length;
    let written = 0;
    for (const piece of [...this.head, ...this.live]) {
      const pieceEnd = piece.offset + piece.bytes.length;
      if (pieceEnd <= offset || piece.offset >= end) continue;
      const from = Math.max(offset, piece.offset);
      const to = Math.min(end, pieceEnd);
      piece.bytes.set(bytes.subarray(from - offset, to - offset), from - piece.offset);
      written += to - from;
    }
    if (written !== bytes.length) throw new Error(`the image was patched at ${offset} after that part was sealed`);
    if (offset >= kFirstSector) this.sealBefore(offset);
  }

  sealBefore(offset) {
    let count = 0;
    while (count < this.live.length && this.live[count].offset + this.live[count].bytes.length <= offset) ++count;
    if (count === 0) return;
    this.sealed.push(new Blob(this.live.splice(0, count).map((piece) => piece.bytes)));
  }

  blob() {
    const parts = [...this.head.map((piece) => piece.bytes), ...this.sealed, ...this.live.map((piece) => piece.bytes)];
    return new Blob(parts, {type: 'application/octet-stream'});
  }
}
