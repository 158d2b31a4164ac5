// The page around the game: the canvas, the loading bar, the messages that
// stand in for a canvas that cannot work, recordings in and out.
//   index.html                      plays, recording the game (the Save button)
//   index.html?replay=URL           watches a recording
//   index.html?replay=URL&fast=1    checks it without drawing; the report goes
//                                   to the console and into #report
//   index.html?without=/img/x.png   starts without one data file (a check
//                                   that the game copes, as natively)
//   index.html?demo=SHOTS           the demo player's first SHOTS pictures,
//                                   for the browser tests (a build's own,
//                                   not in the web zip)
'use strict';
(function () {
  var params = new URLSearchParams(location.search);
  var replay = params.get('replay');
  var fast = replay && params.get('fast') === '1';
  var canvas = document.getElementById('canvas');
  var loading = document.getElementById('loading');
  var progress = document.getElementById('progress');
  var report = document.getElementById('report');
  var save = document.getElementById('save');
  var without = params.get('without');
  var demo = params.get('demo');
  var SHOTS = '/shots';
  var RECORDING = '/game.rec';
  var REPLAYED = '/replayed.rec';

  function show_message(text) {
    var box = document.getElementById('message');
    box.textContent = text;
    box.hidden = false;
    loading.hidden = true;
  }

  function log_line(text) {
    console.log(text);
    if (fast) report.textContent += text + '\n';
  }

  // The page's timing marks, for the tests and the benchmarks.
  var opened = performance.now();
  window.fathomer = { opened: opened, ready: null, firstFrame: null, lines: [], ended: false };

  if (!fast && !document.createElement('canvas').getContext('webgl2')) {
    show_message('This game needs WebGL 2, which this browser does not offer (or has switched off).');
    window.fathomer.ended = true;
    return;
  }

  // The display's refresh rate from a few animation frames, for the frame pacing.
  function measure_refresh(done) {
    var times = [];
    function step(t) {
      times.push(t);
      if (times.length < 12) return requestAnimationFrame(step);
      var gaps = [];
      for (var i = 1; i < times.length; i++) gaps.push(times[i] - times[i - 1]);
      gaps.sort(function (a, b) { return a - b; });
      var median = gaps[gaps.length >> 1];
      done(median > 0 ? 1000 / median : 0);
    }
    requestAnimationFrame(step);
  }

  var args = demo ? [SHOTS, demo] : replay ? ['--replay', REPLAYED].concat(fast ? ['--fast'] : [])
                                           : ['--record', RECORDING];
  var Module = {
    canvas: canvas,
    arguments: args,
    refreshRate: 0,
    print: function (text) {
      window.fathomer.lines.push(text);
      log_line(text);
      if (/^Ready: /.test(text)) {
        window.fathomer.ready = performance.now();
        loading.hidden = true;
        canvas.focus();
        if (!replay) save.disabled = false;
      }
      if (/^Cannot replay /.test(text) && !fast) show_message(text);
      if (/^(Replayed \d+ frames|Cannot replay|Recorded \d+ frames)/.test(text)) window.fathomer.ended = true;
      if (/^(No frame differs|First differing frame|Cannot replay)/.test(text)) window.fathomer.ended = true;
    },
    printErr: function (text) { console.error(text); },
    setStatus: function (text) {
      // "Downloading data... (loaded/total)"
      var m = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
      if (m) progress.value = Number(m[1]) / Number(m[2]);
    },
    preRun: [function () {
      if (demo) Module.FS.mkdir(SHOTS);
      Module.addRunDependency('refresh rate');
      measure_refresh(function (rate) {
        Module.refreshRate = rate;
        Module.removeRunDependency('refresh rate');
      });
      if (!replay) return;
      Module.addRunDependency('recording');
      fetch(replay).then(function (r) {
        if (!r.ok) throw new Error(r.status + ' ' + r.statusText);
        return r.arrayBuffer();
      }).then(function (bytes) {
        Module.FS.writeFile(REPLAYED, new Uint8Array(bytes));
      }).catch(function (e) {
        // The game then says the file cannot be read, as it would natively.
        console.error('The recording ' + replay + ' could not be fetched: ' + e.message);
      }).finally(function () {
        Module.removeRunDependency('recording');
      });
    }],
    // After the data has arrived, before the program starts.
    onRuntimeInitialized: function () {
      if (!without) return;
      try {
        Module.FS.unlink(without);
        console.log('Started without ' + without);
      } catch (e) {
        console.error('There is no ' + without + ' to start without');
      }
    },
    onAbort: function (what) {
      show_message('The game stopped: ' + what);
      window.fathomer.ended = true;
    },
  };
  // The canvas holds a GL context when the game draws: the first frame's
  // pixels can only be seen then.
  // main has returned here: with the frame loop running, or having failed to
  // start (the log says why).
  Module.postRun = [function () {
    if (demo) {
      window.fathomer.shots = Module.FS.readdir(SHOTS).filter(function (f) { return /\.png$/.test(f); });
      window.fathomer.ended = true;
      return;
    }
    if (!fast && !window.fathomer.ready && !window.fathomer.ended) {
      show_message('The game could not start in this browser; its console says why.');
      window.fathomer.ended = true;
      return;
    }
    requestAnimationFrame(function () { window.fathomer.firstFrame = performance.now(); });
  }];
  window.Module = Module;

  canvas.addEventListener('contextmenu', function (e) { e.preventDefault(); });
  canvas.addEventListener('mousedown', function () { canvas.focus(); });

  // The page's fullscreen, which the game follows (Alt+Enter in the game does
  // the same; Escape leaves it).
  var fullscreen = document.getElementById('fullscreen');
  fullscreen.hidden = !document.getElementById('stage').requestFullscreen;
  fullscreen.addEventListener('click', function () {
    document.getElementById('stage').requestFullscreen().catch(function () {});
    canvas.focus();
  });

  save.addEventListener('click', function () {
    var bytes;
    try {
      bytes = Module.FS.readFile(RECORDING);
    } catch (e) {
      return;
    }
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    var stamp = new Date().toISOString().replace(/[:T]/g, '-').slice(0, 19);
    link.download = 'fathomer-' + stamp + '.rec';
    document.body.appendChild(link);
    link.click();
    link.remove();
    canvas.focus();
  });

  var script = document.createElement('script');
  script.src = demo ? 'fathomer_demo.js' : 'fathomer.js';
  script.onerror = function () { show_message('The game could not be loaded from this server.'); };
  document.body.appendChild(script);
  // Emscripten reports a data file that cannot be fetched by throwing from
  // its loader; before the game is ready any such error means the game cannot
  // start, and the page says so instead of leaving the canvas blank.
  window.addEventListener('error', function (e) {
    if (window.fathomer.ready) return;
    show_message('The game\'s data could not be loaded (' + String(e.message).replace(/^Uncaught (Error: )?/, '') +
                 '). Reload the page to try again.');
    window.fathomer.ended = true;
  });
})();
