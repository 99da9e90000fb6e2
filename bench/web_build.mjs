// The web page's build without the page: every song of a folder converted by
// the WebAssembly core on one thread (as one of the page's workers does) and
// laid out by the page's own driver. For bench/speed.sh, against
// `zmrimage build --jobs 1`; prints the image's size so a wrong build shows.
//
//   node bench/web_build.mjs CORE_JS FOLDER
import {readFileSync, readdirSync} from 'node:fs';
import {createRequire} from 'node:module';
import {join} from 'node:path';

import {buildImage} from '../web/src/image_build.js';

const [corePath, folder] = process.argv.slice(2);
const core = await createRequire(import.meta.url)(corePath)({wasmBinary: readFileSync(corePath.replace(/\.js$/, '.wasm'))});
const paths = core.sortSongPaths(readdirSync(folder).filter((name) => core.hasSongExtension(name)).map((name) => join(folder, name)));
const options = {textEncoding: 'viqr-vni', karText: false, lenient: false};
const result = await buildImage({core, paths, convert: async (index) => core.convertSong(paths[index], readFileSync(paths[index]), options)});
if (!result.ok) {
  console.error(`web_build: ${result.message}`);
  process.exit(2);
}
console.log(`${result.summary.songsWritten} songs, image ${result.image.size} bytes`);
