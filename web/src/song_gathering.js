// The songs a user hands the page: chosen files, a chosen folder, or files and
// folders dropped on it. Each becomes {path, file}, the path being what the list
// shows and the image's song list is made from: the bare name of a chosen file,
// "folder/name" for a folder's file. As the command line does with a folder, a
// folder gives its own songs and not those of its subfolders.

// Returns {songs, skipped}: skipped counts the songs of subfolders left out.
export function fromInput(files, isSong) {
  const songs = [];
  let skipped = 0;
  for (const file of files) {
    if (!isSong(file.name)) continue;
    const path = file.webkitRelativePath || file.name;
    if (path.split('/').length > 2) ++skipped;
    else songs.push({path, file});
  }
  return {songs, skipped};
}

// A folder's entries come in batches; readEntries gives an empty one at the end.
function readAllEntries(directory) {
  const reader = directory.createReader();
  const entries = [];
  return new Promise((resolve, reject) => {
    const next = () => reader.readEntries((batch) => {
      if (!batch.length) return resolve(entries);
      entries.push(...batch);
      next();
    }, reject);
    next();
  });
}

function entryFile(entry) {
  return new Promise((resolve, reject) => entry.file(resolve, reject));
}

// Resolves to {songs, skipped}: skipped counts the subfolders left out.
export async function fromDrop(dataTransfer, isSong) {
  const songs = [];
  let skipped = 0;
  // Entries must be taken while the drop event runs; they are read afterwards.
  const items = Array.from(dataTransfer.items || []).filter((item) => item.kind === 'file');
  const dropped = items.map((item) => ({entry: item.webkitGetAsEntry ? item.webkitGetAsEntry() : null,
    file: item.getAsFile()}));
  if (!items.length) {
    for (const file of dataTransfer.files || []) dropped.push({entry: null, file});
  }
  for (const {entry, file} of dropped) {
    if (entry && entry.isDirectory) {
      for (const child of await readAllEntries(entry)) {
        if (child.isDirectory) ++skipped;
        else if (isSong(child.name)) songs.push({path: `${entry.name}/${child.name}`, file: await entryFile(child)});
      }
    } else if (file && isSong(file.name)) {
      songs.push({path: file.name, file});
    }
  }
  return {songs, skipped};
}
