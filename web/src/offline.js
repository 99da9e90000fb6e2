// Registers the service worker that keeps the site for use offline. Without
// one (a file: page, or a browser that offers none) the page still works while
// online, and says so.
export async function keepForOffline() {
  if (!('serviceWorker' in navigator)) return 'This browser keeps no copy of the page: it works only while the site can be reached.';
  try {
    await navigator.serviceWorker.register('service_worker.js');
    return '';
  } catch (error) {
    return `The page could not be kept for use offline (${error.message}).`;
  }
}
