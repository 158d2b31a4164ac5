// The page in headless Chromium, driven as a player drives it: real key
// presses on the focused canvas.  Serves the page's directory on 127.0.0.1 by
// itself.  Usage: node check_page.js PAGE_DIR CHECK [ARGS...] (checks below);
// exit code 0 when the check held.  Pictures go to $CHECK_OUT (default
// PAGE_DIR/checks/).
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');
const { spawnSync } = require('child_process');
const { chromium } = require('playwright-core');

const [pageArg, check, ...args] = process.argv.slice(2);
const pageDir = path.resolve(pageArg);
const outDir = process.env.CHECK_OUT || path.join(pageDir, 'checks');
fs.mkdirSync(outDir, { recursive: true });

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };

// The native game's pictures, served under /reference/ for comparisons.
const REFERENCE_DIR = path.resolve(__dirname, '../../docs/screenshots');

function serve(dir) {
  const server = http.createServer((req, res) => {
    const url = new URL(req.url, 'http://x');
    const name = decodeURIComponent(url.pathname);
    const root = name.startsWith('/reference/') ? REFERENCE_DIR : path.resolve(dir);
    const file = path.join(root, name.startsWith('/reference/') ? name.slice('/reference/'.length) : name);
    if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      res.writeHead(404);
      return res.end();
    }
    res.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function fail(why) {
  console.log('FAILED: ' + why);
  process.exitCode = 1;
}

async function open(base, query, extraArgs = []) {
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'].concat(extraArgs),
  });
  const page = await browser.newPage({ viewport: { width: 1400, height: 1000 }, deviceScaleFactor: 1 });
  const log = [];
  page.on('console', (m) => log.push(m.text()));
  page.on('pageerror', (e) => log.push('pageerror: ' + e.message));
  await page.goto(base + '/index.html' + (query || ''));
  return { browser, page, log };
}

async function wait_for(page, test, ms, what) {
  try {
    await page.waitForFunction(test, null, { timeout: ms, polling: 50 });
    return true;
  } catch (e) {
    fail(what + ' within ' + ms + ' ms');
    return false;
  }
}

// The canvas's pixels as a PNG (the GL canvas keeps no drawing buffer, but
// the screenshot reads what is shown).
async function shot(page, name) {
  const file = path.join(outDir, name + '.png');
  await page.locator('#canvas').screenshot({ path: file });
  return fs.readFileSync(file);
}

const pause = (page, ms) => page.waitForTimeout(ms);

// Compares a picture of the canvas with one of the native game's (ImageMagick;
// the browser would colour-manage the files): the share of pixels that differ
// by more than 19 % of the range, and the mean difference per channel (0-255).
// SwiftShader and llvmpipe round rotated and blended edges apart: a demo
// picture may have this share of its pixels far off, and this mean difference.
const DEMO_FAR_SHARE = 0.001;
const DEMO_MEAN = 0.5;

function compare_with_native(file, reference) { return compare_with(file, path.join(REFERENCE_DIR, reference)); }

function compare_with(file, other) {
  const run = (metric, fuzz) => {
    const r = spawnSync('compare', ['-metric', metric].concat(fuzz ? ['-fuzz', fuzz] : [])
      .concat([file, other, 'null:']), { encoding: 'utf8' });
    return parseFloat(r.stderr);
  };
  const size = spawnSync('identify', ['-format', '%w %h', file], { encoding: 'utf8' }).stdout;
  const native = spawnSync('identify', ['-format', '%w %h', other], { encoding: 'utf8' }).stdout;
  if (size !== native) return { size: size + ' against ' + native };
  const [w, h] = size.split(' ').map(Number);
  return { far: run('AE', '19%') / (w * h), mean: run('MAE') / 257 };
}

function no_errors(log) {
  const errors = log.filter((l) => /^pageerror|^GL_|Aborted|RuntimeError/.test(l));
  if (errors.length) fail('the page reported errors:\n  ' + errors.join('\n  '));
}

// The bytes a player downloads: the page and everything it loads.
function download_bytes(dir) {
  return ['index.html', 'page.js', 'page.css', 'fathomer.js', 'fathomer.wasm', 'fathomer.data']
    .reduce((n, f) => n + fs.statSync(path.join(dir, f)).size, 0);
}

const CHECKS = {
  // The benchmark rows (tools/bench.sh): the page opened to the title drawn,
  // the median of three fresh opens, and the download's size.
  async bench(base) {
    const times = [];
    for (let i = 0; i < 3; i++) {
      const { browser, page } = await open(base);
      if (await wait_for(page, () => window.fathomer.firstFrame, 30000, 'the title'))
        times.push(await page.evaluate(() => window.fathomer.firstFrame - window.fathomer.opened));
      await browser.close();
    }
    times.sort((a, b) => a - b);
    if (times.length) console.log('result page_title_ms ' + times[times.length >> 1].toFixed(0));
    console.log('result download_bytes ' + download_bytes(pageDir));
  },


  // Opens to the title; reports how long until its first frame was drawn.
  async title(base) {
    const { browser, page, log } = await open(base);
    const ready = await wait_for(page, () => window.fathomer && window.fathomer.firstFrame, 20000, 'the title');
    if (ready) {
      const t = await page.evaluate(() => window.fathomer.firstFrame - window.fathomer.opened);
      console.log('Page opened to the title drawn: ' + Math.round(t) + ' ms');
      await pause(page, 500);
      await shot(page, 'title');
      // The same picture as the native game's title (SwiftShader against llvmpipe).
      const d = compare_with_native(path.join(outDir, 'title.png'), 'title.png');
      console.log('Against the native title: ' + JSON.stringify(d));
      if (d.size) fail('the title is ' + d.size);
      else if (!(d.far <= 0.001 && d.mean <= 1.0)) fail('the title differs from the native one');
      const focused = await page.evaluate(() => document.activeElement && document.activeElement.id);
      if (focused !== 'canvas') fail('the canvas does not have the keyboard focus (' + focused + ')');
    }
    no_errors(log);
    await browser.close();
  },

  // Real key presses: the opening (X), skipped (X), the waiting diver,
  // the fall (X), + and - through the hope stages.  Each step must change
  // the picture, and the page must not scroll.
  async play(base) {
    const { browser, page, log } = await open(base);
    if (await wait_for(page, () => window.fathomer.firstFrame, 20000, 'the title')) {
      await pause(page, 300);
      const pictures = [['title', await shot(page, 'play-0-title')]];
      const step = async (name, keys, wait) => {
        for (const k of keys) {
          await page.keyboard.press(k);
          await pause(page, 150);
        }
        await pause(page, wait);
        pictures.push([name, await shot(page, 'play-' + pictures.length + '-' + name)]);
        const [before, after] = pictures.slice(-2);
        if (before[1].equals(after[1])) fail(name + ': the picture did not change after ' + keys.join(' '));
      };
      await step('opening', ['x'], 1200);
      await step('waiting', ['x'], 800);
      await step('fall', ['x'], 1500);
      await step('hope-up', ['Equal', 'Equal', 'Equal', 'Equal', 'Equal', 'Equal', 'Equal', 'Equal'], 1500);
      await step('hope-down', Array(16).fill('Minus'), 1500);
      await page.keyboard.down('d');
      await page.keyboard.press('Space');
      await pause(page, 500);
      await page.keyboard.up('d');
      const scrolled = await page.evaluate(() => window.scrollY);
      if (scrolled !== 0) fail('the page scrolled by ' + scrolled + ' px under the game\'s keys');
    }
    no_errors(log);
    await browser.close();
  },

  // A game played in the page and saved with the button: the download is
  // the recording so far.  Usage: save FILE
  async save(base, file) {
    const { browser, page, log } = await open(base);
    if (await wait_for(page, () => window.fathomer.firstFrame, 20000, 'the title')) {
      for (const [key, wait] of [['x', 1200], ['x', 800], ['x', 1000], ['d', 300], ['Equal', 600], ['a', 300]]) {
        await page.keyboard.press(key);
        await pause(page, wait);
      }
      // The writer hands its frames to the file in batches: a second more.
      await pause(page, 1500);
      const [download] = await Promise.all([page.waitForEvent('download'), page.click('#save')]);
      await download.saveAs(file);
      console.log('Saved ' + download.suggestedFilename() + ': ' + fs.statSync(file).size + ' bytes');
      const focused = await page.evaluate(() => document.activeElement && document.activeElement.id);
      if (focused !== 'canvas') fail('the canvas did not get the keys back after the button');
    }
    no_errors(log);
    await browser.close();
  },

  // The demo player's pictures in the page and natively (SwiftShader against
  // llvmpipe), the same moments of the same script on the same clock: each
  // within a small tolerance.  Usage: demo NATIVE_DEMO SHOTS
  async demo(base, nativeDemo, shots) {
    const webDir = path.join(outDir, 'demo-web');
    const nativeDir = path.join(outDir, 'demo-native');
    for (const d of [webDir, nativeDir]) {
      fs.rmSync(d, { recursive: true, force: true });
      fs.mkdirSync(d, { recursive: true });
    }
    const native = spawnSync(nativeDemo, [nativeDir, shots], {
      encoding: 'utf8',
      env: Object.assign({}, process.env, { SDL_VIDEODRIVER: 'offscreen', SDL_AUDIODRIVER: 'dummy',
        LSAN_OPTIONS: 'suppressions=' + path.resolve(__dirname, '../lsan_suppressions.txt') }),
    });
    if (native.status !== 0) return fail('the native demo failed: ' + native.stdout + native.stderr);
    const { browser, page, log } = await open(base, '?demo=' + shots);
    if (await wait_for(page, () => window.fathomer.ended, 170000, 'the demo\'s pictures')) {
      const names = await page.evaluate(() => window.fathomer.shots || []);
      if (names.length !== Number(shots)) fail(names.length + ' pictures in the page, expected ' + shots);
      for (const name of names) {
        const bytes = await page.evaluate((n) => Array.from(Module.FS.readFile('/shots/' + n)), name);
        const file = path.join(webDir, name);
        fs.writeFileSync(file, Buffer.from(bytes));
        if (!fs.existsSync(path.join(nativeDir, name))) {
          fail('no native ' + name);
          continue;
        }
        const d = compare_with(file, path.join(nativeDir, name));
        console.log(name + ': ' + (100 * d.far).toFixed(3) + ' % of the pixels far off, mean difference ' +
                    d.mean.toFixed(2));
        if (d.size) fail(name + ' is ' + d.size);
        else if (!(d.far <= DEMO_FAR_SHARE && d.mean <= DEMO_MEAN)) fail(name + ' differs from the native picture');
      }
    }
    no_errors(log);
    await browser.close();
  },

  // A pad through the Gamepad API (a stand-in pad of the standard layout that
  // the page's navigator hands out) and the page's fullscreen: south through
  // the title, the opening and the waiting diver, start pausing and going on;
  // the page's button and then the game's Alt+Enter in and out of fullscreen.
  async pad(base) {
    const browser = await chromium.launch({
      executablePath: '/usr/bin/chromium',
      args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
    });
    const page = await browser.newPage({ viewport: { width: 1400, height: 1000 }, deviceScaleFactor: 1 });
    const log = [];
    page.on('console', (m) => log.push(m.text()));
    page.on('pageerror', (e) => log.push('pageerror: ' + e.message));
    await page.addInitScript(() => {
      const button = (down) => ({ pressed: down, touched: down, value: down ? 1 : 0 });
      const pad = { id: 'stand-in pad', index: 0, connected: true, mapping: 'standard', timestamp: 0,
                    axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => button(false)) };
      window.standInPad = {
        set(b, down) { pad.buttons[b] = button(down); pad.timestamp++; },
        axis(a, v) { pad.axes[a] = v; pad.timestamp++; },
      };
      Object.defineProperty(Navigator.prototype, 'getGamepads', { value: () => [pad, null, null, null] });
    });
    await page.goto(base + '/index.html');
    const PAD_SOUTH = 0, PAD_START = 9;
    const tap = async (b) => {
      await page.evaluate((b) => window.standInPad.set(b, true), b);
      await pause(page, 150);
      await page.evaluate((b) => window.standInPad.set(b, false), b);
      await pause(page, 150);
    };
    if (await wait_for(page, () => window.fathomer.firstFrame, 20000, 'the title')) {
      await pause(page, 300);
      let before = await shot(page, 'pad-0-title');
      for (const [i, name] of [[1, 'opening'], [2, 'waiting'], [3, 'fall']]) {
        await tap(PAD_SOUTH);
        await pause(page, 800);
        const after = await shot(page, 'pad-' + i + '-' + name);
        if (before.equals(after)) fail(name + ': the picture did not change after the south button');
        before = after;
      }
      await page.evaluate(() => window.standInPad.axis(0, -1));
      await pause(page, 500);
      await page.evaluate(() => window.standInPad.axis(0, 0));
      await tap(PAD_START);
      const paused = [await shot(page, 'pad-4-paused'), (await pause(page, 700), await shot(page, 'pad-5-paused'))];
      if (!paused[0].equals(paused[1])) fail('the picture moved on while paused by start');
      // The game's last picture stays under the line: far more than the few
      // colours of an empty view.
      const colours = Number(spawnSync('convert', [path.join(outDir, 'pad-5-paused.png'), '-crop', '1280x300+0+0',
                                                   '-format', '%k', 'info:'], { encoding: 'utf8' }).stdout);
      if (!(colours > 100)) fail('the paused picture is empty (' + colours + ' colours above the line)');
      await tap(PAD_START);
      await pause(page, 500);
      if (paused[1].equals(await shot(page, 'pad-6-going-on'))) fail('start again did not go on');

      const fullscreen = () => page.evaluate(() => document.fullscreenElement && document.fullscreenElement.id);
      await page.click('#fullscreen');
      await pause(page, 500);
      if ((await fullscreen()) !== 'stage') fail('the page\'s button did not make the stage fullscreen');
      await page.keyboard.press('Alt+Enter');
      await pause(page, 500);
      if (await fullscreen()) fail('Alt+Enter in the game did not leave fullscreen');
      await page.keyboard.press('Alt+Enter');
      await pause(page, 500);
      if ((await fullscreen()) !== 'stage') fail('Alt+Enter in the game did not go fullscreen');
    }
    no_errors(log);
    await browser.close();
  },

  // WebGL switched off: the message instead of a blank canvas.
  async no_webgl(base) {
    const { browser, page } = await open(base, '', ['--disable-webgl']);
    await pause(page, 1500);
    const text = await page.evaluate(() => {
      const m = document.getElementById('message');
      return m.hidden ? '' : m.textContent;
    });
    if (!/This game needs WebGL 2/.test(text)) fail('no WebGL 2 message (shown: "' + text + '")');
    else console.log('Shown: ' + text);
    await browser.close();
  },

  // The data cannot be fetched: a message instead of a blank canvas.
  async no_data(base) {
    const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
    const page = await browser.newPage();
    await page.route('**/fathomer.data', (route) => route.fulfill({ status: 404, body: '' }));
    await page.goto(base + '/index.html');
    const shown = await wait_for(page, () => !document.getElementById('message').hidden, 20000, 'a message');
    if (shown) {
      const text = await page.evaluate(() => document.getElementById('message').textContent);
      console.log('Shown: ' + text);
      if (!/could not be loaded/.test(text)) fail('not the data message');
    }
    await browser.close();
  },

  // A recording that cannot be fetched: the game's own refusal, shown.
  async bad_replay(base) {
    const { browser, page } = await open(base, '?replay=checks/no_such.rec');
    const shown = await wait_for(page, () => !document.getElementById('message').hidden, 30000, 'a message');
    if (shown) {
      const text = await page.evaluate(() => document.getElementById('message').textContent);
      console.log('Shown: ' + text);
      if (!/^Cannot replay .*: the file cannot be read/.test(text)) fail('not the game\'s refusal');
    }
    await browser.close();
  },

  // A recording checked with fast=1: the report lines in #report, and the
  // final hash the one given.  Usage: replay URL HASH
  async replay(base, url, hash) {
    const { browser, page, log } = await open(base, '?replay=' + encodeURIComponent(url) + '&fast=1');
    const t0 = Date.now();
    if (await wait_for(page, () => window.fathomer.ended, 120000, 'the replay\'s report')) {
      const report = await page.evaluate(() => document.getElementById('report').textContent);
      console.log('The page\'s report (' + (Date.now() - t0) + ' ms):\n' + report);
      const m = /final hash ([0-9A-F]{16})/.exec(report);
      if (!m) fail('no final hash in the report');
      else if (m[1] !== hash) fail('final hash ' + m[1] + ', natively ' + hash);
      if (!/No frame differs/.test(report)) fail('a frame differs');
      const consoleLines = log.filter((l) => /^Replayed /.test(l));
      if (!consoleLines.length) fail('the report did not reach the console');
    }
    no_errors(log);
    await browser.close();
  },

  // A data file taken away before the program starts: it starts, plays and
  // goes on drawing, as the native game does without it.  Usage: missing FILE
  async missing(base, file) {
    const { browser, page, log } = await open(base, '?without=' + encodeURIComponent(file));
    if (await wait_for(page, () => window.fathomer.firstFrame, 20000, 'the title')) {
      const ready = log.find((l) => /^Ready: /.test(l));
      console.log(ready);
      await pause(page, 300);
      const before = await shot(page, 'missing-0');
      await page.keyboard.press('x');
      await pause(page, 1500);
      const after = await shot(page, 'missing-1');
      if (before.equals(after)) fail('the game did not go on after X');
      const running = await page.evaluate(() => !window.fathomer.ended);
      if (!running) fail('the game stopped');
    }
    no_errors(log);
    await browser.close();
  },
};

(async () => {
  const server = await serve(pageDir);
  const base = 'http://127.0.0.1:' + server.address().port;
  try {
    if (!CHECKS[check]) throw new Error('no check named ' + check);
    await CHECKS[check](base, ...args);
  } catch (e) {
    fail(e.message);
  }
  server.close();
})();
