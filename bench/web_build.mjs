// The web page's build without the page: every song of a folder converted by
// the WebAssembly core on one thread (as one of the page's workers does) and
// laid out by the page's own driver. For bench/speed.sh, against
// `zmrimage build --jobs 1`; prints the image's size so a wrong build shows.
//
//   node bench/web_build.mjs CORE_JS FOLDER [OUTPUT_FOLDER]
//
// With OUTPUT_FOLDER it writes DADEDA00.DEZ and SongList.txt there, to compare.
import {readFileSync, readdirSync, writeFileSync} from 'node:fs';
import {createRequire} from 'node:module';
import {join, resolve} from 'node:path';

import {buildImage} from '../web/src/image_build.js';

const [coreArgument, folder, output] = process.argv.slice(2);
const corePath = resolve(coreArgument);
const core = await createRequire(import.meta.url)(corePath)({wasmBinary: readFileSync(corePath.replace(/\.js$/, '.wasm'))});
const paths = core.sortSongPaths(readdirSync(folder).filter((name) => core.hasSongExtension(name)).map((name) => join(folder, name)));
const options = {textEncoding: 'viqr-vni', karText: false, lenient: false};
const converter = new core.SongConverter();
const result = await buildImage({core, paths, convert: async (index) => converter.convert(paths[index], readFileSync(paths[index]), options)});
if (!result.ok) {
  console.error(`web_build: ${result.message}`);
  process.exit(2);
}
if (output) {
  writeFileSync(join(output, 'DADEDA00.DEZ'), new Uint8Array(await result.image.arrayBuffer()));
  writeFileSync(join(output, 'SongList.txt'), new Uint8Array(await result.songList.arrayBuffer()));
}
console.log(`${result.summary.songsWritten} songs, image ${result.image.size} bytes`);
