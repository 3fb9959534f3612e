// site/ served from a local port in Chromium: installable as an app (no
// installability errors), and back again with the server stopped.
//   node site_test.mjs <site folder>
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { join, extname, normalize } from 'node:path';
import assert from 'node:assert/strict';
import test from 'node:test';
import { launch } from './browser.mjs';

const [site] = process.argv.slice(2);
const types = { '.html': 'text/html', '.js': 'text/javascript', '.png': 'image/png', '.webmanifest': 'application/manifest+json' };
const server = createServer(async (request, response) => {
  const path = normalize(new URL(request.url, 'http://localhost').pathname).replace(/^(\.\.[/\\])+/, '');
  try {
    const body = await readFile(join(site, path.endsWith('/') ? `${path}index.html` : path));
    response.writeHead(200, { 'Content-Type': types[extname(path) || '.html'] ?? 'application/octet-stream' });
    response.end(body);
  } catch {
    response.writeHead(404).end();
  }
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const address = `http://127.0.0.1:${server.address().port}/`;
const browser = await launch('chrome');
test.after(() => browser.close());

test('Chromium can install the site as an app, and it opens without the server', async () => {
  const page = await browser.newPage();
  await page.goto(address);
  await page.waitForSelector('#Form1:not([hidden])');
  await page.evaluate(() => navigator.serviceWorker.ready);
  const session = await page.createCDPSession();
  const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);

  await new Promise((resolve) => server.close(resolve));
  server.closeAllConnections?.();
  await page.reload();
  await page.waitForSelector('#Form1:not([hidden])');
  await page.click('#Command2');
  await page.waitForFunction(() => document.getElementById('Text3').textContent.startsWith('Summanden von 1 bis  4\n'));
});
