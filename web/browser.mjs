// Debian's own browsers for the page's tests, without a download: Chromium
// through the DevTools protocol, Firefox ESR through WebDriver BiDi.
import puppeteer from 'puppeteer-core';

// Chromium as root needs --no-sandbox; the other flags keep it from calling
// out to a network there is none of.
const chromiumFlags = [
  '--disable-gpu', '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--no-first-run', '--disable-default-apps', '--disable-dev-shm-usage',
  ...(process.getuid?.() === 0 ? ['--no-sandbox'] : []),
];

export function launch(name) {
  return name === 'firefox'
    ? puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: true })
    : puppeteer.launch({ executablePath: '/usr/bin/chromium', headless: true, args: chromiumFlags });
}
