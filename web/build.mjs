// Makes the static site from web/ and the WebAssembly core: everything a web
// server needs in one folder, with relative URLs only, the same bytes on every
// run (the release zips it).
//
//   node web/build.mjs [CORE [SITE]]
//
// CORE  the Emscripten build folder of the core, which holds zmrcore.js and
//       zmrcore.wasm (default build/web/core)
// SITE  the site's folder, made anew (default build/web/site)
import {execFileSync} from 'node:child_process';
import {createHash} from 'node:crypto';
import {copyFileSync, existsSync, mkdirSync, readFileSync, readdirSync, rmSync, statSync, writeFileSync} from 'node:fs';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {build} from 'esbuild';

const web = dirname(fileURLToPath(import.meta.url));
const root = resolve(web, '..');
const [coreArgument, siteArgument] = process.argv.slice(2);
const coreBuild = resolve(coreArgument || join(root, 'build/web/core'));
const coreDir = coreBuild;
const site = resolve(siteArgument || join(root, 'build/web/site'));

function fail(message) {
  console.error(`build.mjs: ${message}`);
  process.exit(1);
}

for (const name of ['zmrcore.js', 'zmrcore.wasm']) {
  if (!existsSync(join(coreDir, name))) fail(`${join(coreDir, name)} is missing: build the core first (scripts/build-web.sh)`);
}
const version = /project\(zmrimage VERSION ([0-9.]+)/.exec(readFileSync(join(root, 'CMakeLists.txt'), 'utf8'))?.[1];
if (!version) fail('no project version in CMakeLists.txt');

rmSync(site, {recursive: true, force: true});
mkdirSync(site, {recursive: true});

// Browsers of the last few years; no transforms beyond what they lack.
const common = {bundle: true, minify: true, sourcemap: false, legalComments: 'none', charset: 'utf8',
  target: ['chrome100', 'firefox100', 'safari15', 'edge100'], logLevel: 'warning'};
// The synthesizer is a module of its own, loaded when a song is first played.
await build({...common, entryPoints: [join(web, 'src/main.js')], format: 'esm', outfile: join(site, 'main.js'),
  external: ['./synthesizer.js']});
await build({...common, entryPoints: [join(web, 'src/synthesizer.js')], format: 'esm', outfile: join(site, 'synthesizer.js')});
// Workers load the core with importScripts, which only classic scripts have.
await build({...common, entryPoints: [join(web, 'src/core_worker.js')], format: 'iife', outfile: join(site, 'core_worker.js')});
await build({...common, entryPoints: [join(web, 'src/page.css')], outfile: join(site, 'page.css')});

copyFileSync(join(web, 'index.html'), join(site, 'index.html'));
copyFileSync(join(web, 'manifest.webmanifest'), join(site, 'manifest.webmanifest'));
for (const name of ['zmrcore.js', 'zmrcore.wasm']) copyFileSync(join(coreDir, name), join(site, name));
// The synthesizer's AudioWorklet processor, which must be a file of the site.
copyFileSync(join(web, 'node_modules/spessasynth_lib/dist/spessasynth_processor.min.js'), join(site, 'spessasynth_processor.min.js'));
// The synthesizer's code is under the Apache License 2.0, which asks that its
// licence go with every copy; the bundles keep no licence comments.
writeFileSync(join(site, 'LICENSE-spessasynth.txt'), ['spessasynth_lib', 'spessasynth_core'].map((name) =>
  `${name} ${JSON.parse(readFileSync(join(web, 'node_modules', name, 'package.json'), 'utf8')).version}\n\n` +
  readFileSync(join(web, 'node_modules', name, 'LICENSE'), 'utf8')).join('\n'));

// The icons, drawn from the dialog's pictures (app/icons/) by the program that
// draws the desktop's icons.
const tools = join(root, 'build/web/tools');
const drawer = join(tools, 'make_icon_png');
const drawerSource = join(root, 'packaging/linux/make_icon_png.cpp');
if (!existsSync(drawer) || statSync(drawer).mtimeMs < statSync(drawerSource).mtimeMs) {
  mkdirSync(tools, {recursive: true});
  execFileSync('g++', ['-std=c++20', '-O1', `-I${root}`, drawerSource, '-o', drawer], {stdio: 'inherit'});
}
for (const size of [32, 192, 512]) execFileSync(drawer, [String(size), join(site, `icon-${size}.png`)]);

// The service worker caches every file above; its cache is named after the
// version and the files' bytes, so any change makes browsers fetch the site anew.
const files = readdirSync(site).sort();
const hash = createHash('sha256');
for (const name of files) hash.update(name).update('\0').update(readFileSync(join(site, name)));
const cacheName = `zmrimage-${version}-${hash.digest('hex').slice(0, 12)}`;
await build({...common, entryPoints: [join(web, 'src/service_worker.js')], format: 'iife',
  outfile: join(site, 'service_worker.js'),
  define: {SITE_FILES: JSON.stringify(files), CACHE_NAME: JSON.stringify(cacheName)}});

const bytes = readdirSync(site).reduce((sum, name) => sum + statSync(join(site, name)).size, 0);
console.log(`web site: ${site} (${readdirSync(site).length} files, ${bytes} bytes, cache ${cacheName})`);
