// The General MIDI SoundFont the user chose, kept in the browser's Cache
// Storage so that the next visit plays without choosing it again. Its cache
// is not one of the site's (those are named zmrimage-...), so a new version
// of the site keeps it.

const CACHE = 'user-soundfont';
const KEY = new URL('soundfont.sf2', self.location.href).href;

export async function keptSoundFont() {
  if (!self.caches) return null;
  try {
    const response = await (await caches.open(CACHE)).match(KEY);
    if (!response) return null;
    return {name: decodeURIComponent(response.headers.get('X-Name') || 'SoundFont'), bytes: await response.arrayBuffer()};
  } catch {
    return null;  // storage refused (private mode): the user chooses again
  }
}

// Keeps `file`; resolves to whether the browser kept it.
export async function keepSoundFont(file) {
  if (!self.caches) return false;
  try {
    const headers = {'Content-Type': 'application/octet-stream', 'X-Name': encodeURIComponent(file.name)};
    await (await caches.open(CACHE)).put(KEY, new Response(file, {headers}));
    return true;
  } catch {
    return false;
  }
}
