// Offering Blobs as downloads through object URLs, which are let go when the
// next build replaces them so that old images do not stay in memory.

export class Downloads {
  constructor() {
    this.urls = [];
  }

  url(blob) {
    const url = URL.createObjectURL(blob);
    this.urls.push(url);
    return url;
  }

  // Sets a link to download the Blob under the name.
  offer(link, blob, name) {
    link.href = this.url(blob);
    link.download = name;
  }

  // Starts the download at once, as a click on such a link would.
  save(blob, name) {
    const link = document.createElement('a');
    this.offer(link, blob, name);
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
  }

  release() {
    for (const url of this.urls) URL.revokeObjectURL(url);
    this.urls = [];
  }
}
