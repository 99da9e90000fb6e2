// A static web server for the built site on 127.0.0.1, at a free port, with
// the MIME types browsers check (application/wasm for the core).
import {existsSync, readFileSync, statSync} from 'node:fs';
import {createServer} from 'node:http';
import {extname, join, normalize} from 'node:path';

const TYPES = {'.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png', '.webmanifest': 'application/manifest+json'};

// Resolves to {origin, close()}.
export function serveSite(site) {
  const server = createServer((request, response) => {
    const name = normalize(decodeURIComponent(new URL(request.url, 'http://host').pathname)).slice(1) || 'index.html';
    const path = join(site, name);
    if (name.startsWith('..') || !existsSync(path) || !statSync(path).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {'Content-Type': TYPES[extname(name)] || 'application/octet-stream'});
    response.end(readFileSync(path));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve({
    origin: `http://127.0.0.1:${server.address().port}`,
    close: () => new Promise((done) => server.close(done)),
  })));
}
