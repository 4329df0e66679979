// SPDX-License-Identifier: GPL-3.0-or-later
// Reports the address of the active tab of the focused browser window to TockWork's native host
// (app.tockwork.browser), which hands it to the tray app on this computer. Nothing else is read,
// stored or sent anywhere.
"use strict";

const api = globalThis.browser ?? globalThis.chrome;
const HOST = "app.tockwork.browser";
const MAX_URL = 8192;

let port = null;
let lastSent = null;

function connect() {
  if (port) return port;
  try {
    port = api.runtime.connectNative(HOST);
  } catch (e) {
    port = null;
    return null;
  }
  // An open port also keeps the service worker alive, so reports are not delayed by its restart.
  port.onDisconnect.addListener(() => {
    port = null;
    lastSent = null;
  });
  return port;
}

function send(url) {
  const text = (url || "").slice(0, MAX_URL);
  if (text === lastSent && port) return;
  const p = connect();
  if (!p) return;
  try {
    p.postMessage({ url: text });
    lastSent = text;
  } catch (e) {
    port = null;
    lastSent = null;
  }
}

async function reportFocused() {
  try {
    const win = await api.windows.getLastFocused({ populate: false });
    if (!win || win.id === api.windows.WINDOW_ID_NONE) return;
    const [tab] = await api.tabs.query({ active: true, windowId: win.id });
    if (tab) send(tab.url);
  } catch (e) {
    // A window closing while it is asked about: the next event reports again.
  }
}

api.tabs.onActivated.addListener(reportFocused);
api.tabs.onUpdated.addListener((tabId, change, tab) => {
  if (change.url && tab.active) reportFocused();
});
api.windows.onFocusChanged.addListener((windowId) => {
  // Focus leaving the browser keeps the last address: TockWork asks only while a browser window
  // is in front, and then about the one that has focus.
  if (windowId !== api.windows.WINDOW_ID_NONE) reportFocused();
});
api.runtime.onStartup.addListener(reportFocused);
api.runtime.onInstalled.addListener(reportFocused);
reportFocused();
