// The browser's sound check: serves the check page (tools/web_audio_check/)
// on 127.0.0.1 and opens it in headless Chromium, which plays known sounds
// through the web sound device and hears its output in the page.
//   mix      every sample heard equals the mixer's, and the mixer's equal
//            the native mixer's;
//            (without Web Audio or AudioWorklet the device fails with its
//            line);
//   counter  through three stalls of the frame loop (as a hidden tab gets no
//            frames) every frame heard is the sound's next one, with silence
//            during each stall and no sound heard twice;
//   steady   without the autoplay switch the page is silent, its sound's
//            clock running, until a key is pressed; then it is heard;
//   key      and a sound the key starts is heard from its first frame.
// Usage: node audio_check.mjs PAGE_DIR
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { createRequire } from "node:module";
import { extname, join } from "node:path";

const require = createRequire(import.meta.url);
const { chromium } = require("playwright-core");

const dir = process.argv[2];
if (!dir) {
  console.error("usage: node audio_check.mjs PAGE_DIR");
  process.exit(2);
}

const TYPES = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm" };
const server = createServer(async (req, res) => {
  const path = new URL(req.url, "http://127.0.0.1").pathname;
  try {
    const body = await readFile(join(dir, path === "/" ? "index.html" : path));
    res.writeHead(200, { "Content-Type": TYPES[extname(path)] || "application/octet-stream" });
    res.end(body);
  } catch {
    res.writeHead(404);
    res.end();
  }
});
await new Promise((done) => server.listen(0, "127.0.0.1", done));
const base = `http://127.0.0.1:${server.address().port}/index.html`;

const FRAMES_PER_SECOND = 44100;
// The stalls of the counter run (tools/web_audio_check/audio_check.cpp), in seconds.
const STALLS = [0.5, 1.05, 2.05];

async function run(browser, scenario, during, query = "") {
  // A context of its own: a gesture on one page lets the next ones play.
  const context = await browser.newContext();
  const page = await context.newPage();
  const lines = [];
  page.on("console", (m) => lines.push(m.text()));
  page.on("pageerror", (e) => lines.push("page error: " + e.message));
  await page.goto(`${base}?scenario=${scenario}${query}`);
  if (during) await during(page);
  let result;
  try {
    await page.waitForFunction(() => window.checkResult, null, { timeout: 30000 });
    result = await page.evaluate(() => window.checkResult);
  } catch (e) {
    result = { problems: ["the page gave no result: " + e.message] };
  }
  await context.close();
  result.log = lines;
  return result;
}

function judge_counter(r, stalls) {
  if (!r.runs) return;
  if (r.runs.length !== stalls.length + 1) {
    r.problems.push(`heard ${r.runs.length} stretches of sound, not ${stalls.length + 1}`);
    return;
  }
  // The device goes on through the window mixed ahead (under 0.15 s), then
  // is silent for the rest of the stall.  The silence is counted in the
  // audio thread's frames, which a busy machine makes fewer than the page's
  // milliseconds.
  stalls.forEach((s, i) => {
    const silence = r.runs[i + 1].silence_before / FRAMES_PER_SECOND;
    if (silence < s / 2 || silence > s + 0.1)
      r.problems.push(`a stall of ${s} s was heard as ${silence.toFixed(3)} s of silence`);
  });
}

const problems = [];
function report(name, r) {
  const summary = { ...r };
  delete summary.log;
  if (summary.runs) summary.runs = summary.runs.map((x) => `${x.frames} frames from ${x.first} after ${x.silence_before} silent`);
  console.log(`${name}: ${JSON.stringify(summary)}`);
  for (const line of r.log) console.log(`  page: ${line}`);
  for (const p of r.problems) problems.push(`${name}: ${p}`);
}

// The window mixed ahead and the player's lead (os/web/audio_playback.h):
// a frame longer than this leaves the device nothing to play, a gap no device
// could fill.  A run with such a frame outside its planned stalls is run
// again, at most twice.
const BUSY_FRAME_MS = ((4096 + 2048) * 1000) / FRAMES_PER_SECOND - 10;

async function attempt(name, play) {
  for (let tries = 1; ; tries++) {
    const r = await play();
    report(name, r);
    if (!r.problems.length) return;
    if (tries === 3 || !(r.longest_frame_ms > BUSY_FRAME_MS)) break;
    console.log(`${name}: a frame took ${r.longest_frame_ms} ms: the machine is busy, again`);
    problems.length -= r.problems.length;
  }
}

const args = ["--no-sandbox", "--mute-audio"];
let browser = await chromium.launch({
  executablePath: "/usr/bin/chromium",
  args: [...args, "--autoplay-policy=no-user-gesture-required"],
});
try {
  await attempt("mix", () => run(browser, "mix"));
  // Without Web Audio, or where the page may load no AudioWorklet, the
  // device fails with its line and the program goes on silently.
  const failures = {
    audio: "FAILED new AudioContext() this browser has no Web Audio",
    worklet: "FAILED AudioContext.audioWorklet this page may load no AudioWorklet (it is not served from a secure origin)",
  };
  for (const [without, failure] of Object.entries(failures)) {
    await attempt(`no ${without}`, async () => {
      const r = await run(browser, "steady", null, `&without=${without}`);
      r.problems = r.problems.filter((p) => p !== "the sound device did not open");
      for (const line of [failure, "the sound device did not open"])
        if (!r.log.includes(line)) r.problems.push(`the page did not say "${line}"`);
      return r;
    });
  }
  await attempt("counter", async () => {
    const r = await run(browser, "counter");
    judge_counter(r, STALLS);
    if (r.runs && r.runs.length && r.runs[0].first !== 0)
      r.problems.push(`the sound was first heard from its frame ${r.runs[0].first}`);
    return r;
  });
} finally {
  await browser.close();
}

// A browser that wants a gesture: the sound is held back until the key.
browser = await chromium.launch({ executablePath: "/usr/bin/chromium", args });
try {
  const WAIT = 0.6;
  const after_key = async (scenario, judge, query) => {
    let before;
    const r = await run(browser, scenario, async (page) => {
      await page.waitForFunction(() => Module.fathomerAudio && Module.fathomerAudio.node);
      await page.waitForTimeout(WAIT * 1000);
      before = await page.evaluate(() => ({ state: Module.fathomerAudio.ctx.state, heard: heard.length }));
      await page.keyboard.press("x");
    }, query);
    r.before_key = before;
    if (!before || before.state === "running") r.problems.push(`sound ran before any gesture (${before && before.state})`);
    else if (before.heard) r.problems.push("something was heard before any gesture");
    if (r.state !== "running") r.problems.push(`the key did not start the sound (${r.state})`);
    judge_counter(r, []);
    if (r.runs && r.runs.length) judge(r, r.runs[0].first);
    return r;
  };
  // Silent but not stopped: a sound started before the key went on in the
  // page's time.
  await attempt("before the key", () =>
    after_key("steady", (r, first) => {
      if (first < WAIT * FRAMES_PER_SECOND * 0.8)
        r.problems.push(`the first frame heard is frame ${first} of the sound: it waited for the key`);
    })
  );
  // A sound the key starts (the music of the key that leaves the title) is
  // heard from its first frame, also where the sound takes a moment to start.
  await attempt("started by the key", () =>
    after_key("key", (r, first) => {
      if (first !== 0) r.problems.push(`the sound the key started was first heard from its frame ${first}`);
    }, "&slow_start=1")
  );
} finally {
  await browser.close();
  server.close();
}

if (problems.length) {
  for (const p of problems) console.log(`FAILED ${p}`);
  process.exit(1);
}
console.log("the sound heard in the page is the mixer's, sample for sample");
