// One "Create Image" in the page: songs converted ahead of their turn (by the
// page's workers, or by anything that gives a SongConverter's result for a song),
// laid out in list order by the core's ImageAssembler, exactly as
// `zmrimage build` lays them out. The same code runs in the tests under Node.

import {ImageChunks} from './image_chunks.js';

// `convert(index)` resolves to a SongConverter's result for paths[index]; it
// may reject (a worker that died), which fails that song with the reason.
// Up to `window` songs are asked for ahead of the one being laid out.
export async function buildImage({core, paths, convert, skipBad = false, window = 8, onProgress = () => {}, onMessage = () => {}}) {
  const assembler = new core.ImageAssembler(paths.length, skipBad);
  const image = new ImageChunks();
  const songList = [];
  const take = (step) => {
    image.apply(step.writes);
    if (step.songList.length > 0) songList.push(step.songList);
    for (const message of step.messages) onMessage(message);
    return step;
  };
  const failed = (step) => ({ok: false, message: step.message, image: null, songList: null, summary: null});

  try {
    const started = take(assembler.begin());
    if (!started.ok) return failed(started);

    const pending = new Map();
    let asked = 0;
    for (let index = 0; index < paths.length; ++index) {
      for (; asked < paths.length && asked <= index + window; ++asked) {
        const songIndex = asked;
        const result = Promise.resolve().then(() => convert(songIndex));
        result.catch(() => {});  // a song not reached after a stop is never awaited
        pending.set(asked, result);
      }
      const result = await pending.get(index).catch((error) => ({ok: false, message: reasonOf(error)}));
      pending.delete(index);
      const step = take(assembler.addSong(paths[index], result));
      onProgress(index + 1, paths.length, paths[index]);
      if (!step.ok) return failed(step);
      if (step.stopped) break;
    }

    const finished = take(assembler.finish());
    if (!finished.ok) return failed(finished);
    return {
      ok: true,
      message: '',
      image: image.blob(),
      songList: new Blob(songList, {type: 'text/plain'}),
      summary: finished.summary,
    };
  } finally {
    assembler.delete();
  }
}

function reasonOf(error) {
  return error instanceof Error ? error.message : String(error);
}
