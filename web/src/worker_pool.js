// The Web Workers that scan and convert songs, each with its own core: one per
// core of the machine (at least 1, at most 8), each given at most 4 requests at a
// time so that every worker stays busy while none holds many songs' bytes.

const MAX_WORKERS = 8;
export const REQUESTS_PER_WORKER = 4;

export function workerCount() {
  const cores = Number(navigator.hardwareConcurrency) || 1;
  return Math.min(MAX_WORKERS, Math.max(1, cores));
}

export class WorkerPool {
  constructor(url, count = workerCount()) {
    this.url = url;
    this.count = count;
    this.workers = [];
    this.queue = [];  // requests waiting for room in a worker, oldest first
    this.nextId = 1;
  }

  get size() {
    return this.count;
  }

  // Resolves to the worker's result; rejects with its error as an Error.
  request(message, transfer = []) {
    return new Promise((resolve, reject) => {
      this.queue.push({message: {...message, id: this.nextId++}, transfer, resolve, reject});
      this.dispatch();
    });
  }

  start() {
    while (this.workers.length < this.count) {
      const worker = new Worker(this.url);
      const entry = {worker, pending: new Map()};
      worker.onmessage = (event) => this.settle(entry, event.data);
      worker.onerror = (event) => {
        event.preventDefault();
        this.fail(entry, new Error(`a worker stopped: ${event.message || 'it could not be started'}`));
      };
      this.workers.push(entry);
    }
  }

  dispatch() {
    this.start();
    while (this.queue.length) {
      let freest = null;
      for (const entry of this.workers) {
        if (entry.pending.size < REQUESTS_PER_WORKER && (!freest || entry.pending.size < freest.pending.size)) {
          freest = entry;
        }
      }
      if (!freest) return;
      const job = this.queue.shift();
      freest.pending.set(job.message.id, job);
      freest.worker.postMessage(job.message, job.transfer);
    }
  }

  settle(entry, {id, result, error}) {
    const job = entry.pending.get(id);
    if (!job) return;
    entry.pending.delete(id);
    if (error === undefined) job.resolve(result);
    else job.reject(new Error(error));
    this.dispatch();
  }

  // A worker that failed as a whole fails its requests and is replaced.
  fail(entry, error) {
    entry.worker.terminate();
    this.workers = this.workers.filter((other) => other !== entry);
    for (const job of entry.pending.values()) job.reject(error);
    entry.pending.clear();
    this.dispatch();
  }
}
