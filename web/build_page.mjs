// Writes the page from the window's own description: partitionen.html, one
// file with everything inside, and site/, the same page as an installable web
// app with a manifest, a service worker and icons.
//   node build_page.mjs <form1.ui> <partitionen_core.js> <fonts folder> <icons folder> <out folder>
// The fonts folder holds LiberationSerif-Regular.woff2, LiberationSans-Bold.woff2
// and the fonts' licence; the icons folder partitionen-192.png and -512.png.
import { readFileSync, writeFileSync, mkdirSync, copyFileSync } from 'node:fs';
import { join, dirname } from 'node:path';
import { fileURLToPath } from 'node:url';

const [uiFile, coreFile, fontDir, iconDir, outDir] = process.argv.slice(2);
const here = dirname(fileURLToPath(import.meta.url));
const read = (file) => readFileSync(file, 'utf8');

const escapeHtml = (text) =>
  text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;').replace(/"/g, '&quot;');
const unescapeXml = (text) =>
  text.replace(/&lt;/g, '<').replace(/&gt;/g, '>').replace(/&quot;/g, '"').replace(/&amp;/g, '&');

// The window: every control with its class, place and texts, the tab order
// and the style sheet.
function readForm(ui) {
  const property = (block, name) => {
    const match = block.match(new RegExp(`<property name="${name}">\\s*<(?:string|set|enum|bool|number)[^>]*>([^<]*)<`));
    return match ? unescapeXml(match[1]) : undefined;
  };
  const widgets = new Map();
  for (const match of ui.matchAll(/\n  <widget class="(\w+)" name="(\w+)">([\s\S]*?)\n  <\/widget>/g)) {
    const [, cls, name, block] = match;
    const rect = block.match(/<x>(\d+)<\/x>\s*<y>(\d+)<\/y>\s*<width>(\d+)<\/width>\s*<height>(\d+)<\/height>/);
    widgets.set(name, {
      cls, name, block,
      place: rect.slice(1).map(Number),
      text: property(block, 'text') ?? property(block, 'plainText') ?? '',
      accessibleName: property(block, 'accessibleName'),
      alignment: property(block, 'alignment') ?? '',
    });
  }
  const tabOrder = [...ui.matchAll(/<tabstop>(\w+)<\/tabstop>/g)].map((m) => m[1]);
  const title = property(ui, 'windowTitle');
  const styleSheet = property(ui, 'styleSheet');
  const size = ui.match(/<width>(\d+)<\/width>\s*<height>(\d+)<\/height>/).slice(1).map(Number);
  return { widgets, tabOrder, title, styleSheet, size };
}

// The labels read before the control they name, in the one-column layout too.
const labelsBefore = {
  Text1: ['Label1'],
  Text2: ['Label4', 'Label2'],
  Text3: ['Label6'],
  Command1: ['Label5'],
  Text4: ['Label8'],
};

function controlHtml(widget) {
  const { cls, name, text, accessibleName, alignment } = widget;
  const label = accessibleName ? ` aria-label="${escapeHtml(accessibleName)}"` : '';
  const align = /AlignCenter|AlignHCenter/.test(alignment) ? ' center' : /AlignRight/.test(alignment) ? ' right' : '';
  switch (cls) {
    case 'NumberBox':
      return `<input id="${name}" class="box${align}" type="text" value="${escapeHtml(text)}"${label}` +
        ' autocomplete="off" autocapitalize="off" spellcheck="false">';
    case 'ListBox':
      return `<div id="${name}" class="box list" role="textbox" aria-multiline="true"${label} tabindex="0"` +
        ' contenteditable="plaintext-only" spellcheck="false"></div>';
    case 'Notice':
      return `<div id="${name}" class="notice" role="alert"></div>`;
    case 'QProgressBar':
      return `<div id="${name}" class="progress" role="progressbar"${label} aria-valuemin="0"` +
        ' aria-valuemax="100" hidden><div class="bar"></div><span class="text"></span></div>';
    case 'QCheckBox':
      return `<div id="${name}Box" class="check"><input id="${name}" type="checkbox">` +
        `<label for="${name}">${escapeHtml(text)}</label></div>`;
    case 'QPushButton':
    case 'WrappingButton':
      return `<button id="${name}" type="button"${label}>${escapeHtml(text)}</button>`;
    case 'QLabel': {
      const target = Object.entries(labelsBefore).find(([, labels]) => labels.includes(name));
      const tag = target && !target[0].startsWith('Command') ? 'label' : 'div';
      const forAttribute = tag === 'label' ? ` for="${target[0]}"` : '';
      return `<${tag} id="${name}" class="label${align}"${forAttribute}>${escapeHtml(text)}</${tag}>`;
    }
    case 'QFrame':
      return `<hr id="${name}">`;
    default:
      throw new Error(`no HTML for a ${cls} (${name})`);
  }
}

function formHtml(form) {
  const order = [];
  for (const name of form.tabOrder) {
    order.push(...(labelsBefore[name] ?? []), name);
  }
  order.push(...[...form.widgets.keys()].filter((name) => !order.includes(name)));
  return order.map((name) => controlHtml(form.widgets.get(name))).join('\n');
}

// The style sheet of the window as CSS, and every control's place, for pages
// at least as wide as the window.
function formCss(form) {
  const sheet = form.styleSheet
    .replace(/\bQWidget\b/g, '#Form1')
    .replace(/:pressed/g, ':active:enabled');
  const places = [...form.widgets.values()]
    .map(({ cls, name, place: [x, y, w, h] }) =>
      `#${name}${cls === 'QCheckBox' ? 'Box' : ''}{left:${x}px;top:${y}px;width:${w}px;height:${h}px}`)
    .join('\n');
  const [width, height] = form.size;
  return `${sheet}\n@media (min-width: ${width + 4}px) {\n#Form1{width:${width}px;height:${height}px}\n${places}\n}`;
}

// The page's style sheet, with its one-column layout for pages narrower than
// the window taken a second time for a page of any width whose texts would
// not fit the window's places (the user's own text spacing or font size):
// there each of its rules applies under html.spaced.
function pageCss() {
  const css = read(join(here, 'page.css'));
  const start = css.indexOf('@media (max-width: 799px) {');
  let depth = 0;
  let end = start;
  for (let i = css.indexOf('{', start); i < css.length; ++i) {
    depth += css[i] === '{' ? 1 : css[i] === '}' ? -1 : 0;
    if (depth === 0) {
      end = i;
      break;
    }
  }
  const rules = css.slice(css.indexOf('{', start) + 1, end).replace(/\/\*[\s\S]*?\*\//g, '');
  const spaced = [...rules.matchAll(/([^{}]+)\{([^{}]*)\}/g)]
    .map(([, selectors, body]) =>
      `${selectors.split(',').map((selector) => `html.spaced ${selector.trim()}`).join(', ')} {${body}}`)
    .join('\n');
  return `${css}\n/* The one-column layout where the window's places are too small for the texts. */\n${spaced}`;
}

function fontCss() {
  const face = (family, file, weight) => {
    const data = readFileSync(join(fontDir, file)).toString('base64');
    return `@font-face{font-family:"${family}";font-weight:${weight};font-display:block;` +
      `src:url(data:font/woff2;base64,${data}) format("woff2")}`;
  };
  return [
    face('Times New Roman', 'LiberationSerif-Regular.woff2', 400),
    face('MS Sans Serif', 'LiberationSans-Bold.woff2', 700),
  ].join('\n');
}

const form = readForm(read(uiFile));
const core = read(coreFile);
const template = read(join(here, 'page.html'));
// The single page carries the core; the site's page names its file.
const page = (head, coreFile) =>
  template
    .replace('<!-- head -->', head)
    .replace('<script id="core-source" type="text/plain">', () =>
      coreFile ? `<script id="core-source" type="text/plain" data-src="${coreFile}">` : '<script id="core-source" type="text/plain">')
    .replaceAll('<!-- title -->', escapeHtml(form.title))
    .replace('/* fonts */', () => fontCss())
    .replace('/* page */', () => pageCss())
    .replace('/* form */', () => formCss(form))
    .replace('<!-- form -->', () => formHtml(form))
    .replace('<!-- font licence -->', () => escapeHtml(read(join(fontDir, 'LICENSE'))).replace(/--/g, '- -'))
    .replace('/* core */', () => (coreFile ? '' : core.replace(/<\/script/gi, '<\\/script')))
    .replace('/* worker */', () => read(join(here, 'worker.js')))
    .replace('/* main */', () => read(join(here, 'page.js')));

mkdirSync(join(outDir, 'site'), { recursive: true });
writeFileSync(join(outDir, 'partitionen.html'), page(''));
writeFileSync(join(outDir, 'site', 'index.html'),
  page('<link rel="manifest" href="manifest.webmanifest"><link rel="icon" href="icon-192.png">', 'core.js'));
writeFileSync(join(outDir, 'site', 'core.js'), core);
for (const size of [192, 512]) {
  copyFileSync(join(iconDir, `partitionen-${size}.png`), join(outDir, 'site', `icon-${size}.png`));
}
writeFileSync(join(outDir, 'site', 'manifest.webmanifest'), JSON.stringify({
  name: 'Partitionen',
  short_name: 'Partitionen',
  description: form.title,
  lang: 'de',
  start_url: './',
  scope: './',
  display: 'standalone',
  background_color: '#F0F0F0',
  theme_color: '#F0F0F0',
  icons: [192, 512].map((size) => ({ src: `icon-${size}.png`, sizes: `${size}x${size}`, type: 'image/png' })),
}, null, 2));
writeFileSync(join(outDir, 'site', 'sw.js'), read(join(here, 'sw.js')));
