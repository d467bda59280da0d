// SPDX-License-Identifier: GPL-3.0-or-later
// Runs first on the page. Registers the page's service worker (which adds the
// isolation headers when the host does not send them, and keeps the site for
// offline use) and, when the page is not yet isolated, reloads it once under
// that worker. window.brixIsolation resolves to {isolated, reason}; while the
// page is about to reload it never resolves.
'use strict';

window.brixIsolation = new Promise((resolve) => {
  const flag = 'brix-isolation-reload';
  const done = (reason) => {
    sessionStorage.removeItem(flag);
    resolve({isolated: window.crossOriginIsolated === true, reason});
  };
  if (!('serviceWorker' in navigator)) {
    done(window.isSecureContext
      ? 'this browser has no service workers, or they are turned off'
      : 'service workers need a secure address (https, or localhost)');
    return;
  }
  navigator.serviceWorker.register('sw.js').then(
    () => {
      if (window.crossOriginIsolated) {
        done('');
        return;
      }
      if (sessionStorage.getItem(flag)) {
        done('the page stayed unisolated under its service worker');
        return;
      }
      const reload = () => {
        sessionStorage.setItem(flag, '1');
        window.location.reload();
      };
      if (navigator.serviceWorker.controller) reload();
      else navigator.serviceWorker.addEventListener('controllerchange', reload);
      // A worker that never takes control (blocked by the browser) must not
      // leave the page waiting for ever.
      setTimeout(() => {
        if (!navigator.serviceWorker.controller) done('the service worker did not take control of the page');
      }, 5000);
    },
    (error) => done('the service worker could not be registered (' + error.message + ')'));
});
