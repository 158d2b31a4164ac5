// The Web Audio graph under the sound device: an AudioWorklet playing posted
// blocks of the ring at their device frames, silence wherever none has
// arrived, and the device's clock.  Where the page may load no AudioWorklet
// (one not served from a secure origin) there is no device: a
// ScriptProcessor, made on the main thread, is played again by the browser
// whenever the main thread is late, and sound must never be heard twice.
// The state lives in Module.fathomerAudio (late: frames that reached the
// player after their time).  Browsers start sound only after a gesture: the
// first key, click or touch on the page resumes the context; until then the
// clock runs on the page's time and nothing is heard.  A page that wants to
// hear the output itself may set Module.audioTap(context), a promise of a
// node the player also feeds, before the program starts.
#include <emscripten.h>

#include "os/web/audio_playback.h"

// The player's rule, run on the audio thread in the worklet: blocks arrive in
// frame order; each output frame takes the block sample stamped with it, else
// silence.  rendered is the context frame up to which it has made its output.
EM_JS(void, web_audio_define_player, (void), {
    function FathomerRingPlayer() {
        this.blocks = [];
        this.late = 0;
        this.rendered = 0;
    }
    FathomerRingPlayer.prototype.take = function(block) {
        var frames = block.samples.length / 2;
        var now = this.rendered;
        if (block.at < now) this.late += Math.min(frames, now - block.at);
        if (block.at + frames > now) this.blocks.push(block);
    };
    FathomerRingPlayer.prototype.render = function(start, left, right) {
        var n = left.length;
        left.fill(0);
        right.fill(0);
        while (this.blocks.length && this.blocks[0].at + this.blocks[0].samples.length / 2 <= start)
            this.blocks.shift();
        for (var k = 0; k < this.blocks.length; k++) {
            var b = this.blocks[k];
            if (b.at >= start + n) break;
            var from = Math.max(b.at, start);
            var to = Math.min(b.at + b.samples.length / 2, start + n);
            for (var f = from; f < to; f++) {
                var i = (f - b.at) * 2;
                left[f - start] = b.samples[i] / 32768;
                right[f - start] = b.samples[i + 1] / 32768;
            }
        }
        this.rendered = start + n;
    };
    Module.fathomerRingPlayer = FathomerRingPlayer;
});

EM_JS(int, web_audio_start_js, (char *failure, int failure_size), {
    var fail = function(step, why) {
        stringToUTF8(step + " " + why, failure, failure_size);
        return 0;
    };
    var Context = globalThis.AudioContext || globalThis.webkitAudioContext;
    if (!Context) return fail("new AudioContext()", "this browser has no Web Audio");
    var ctx;
    try {
        ctx = new Context({sampleRate : 44100, latencyHint : "interactive"});
    } catch (e) {
        return fail("new AudioContext()", String(e));
    }
    if (ctx.sampleRate != 44100) {
        ctx.close();
        return fail("new AudioContext()", "runs at " + ctx.sampleRate + " frames per second, not 44100");
    }
    if (!ctx.audioWorklet) {
        ctx.close();
        return fail("AudioContext.audioWorklet", "this page may load no AudioWorklet (it is not served from a secure origin)");
    }
    var a = {
        ctx : ctx,
        node : null,
        port : null,
        frame : 0,
        origin_wall : performance.now(),
        origin_frame : 0,
        synced : false,
        base : 0,
        late : 0,
        asked_at : null,
        gestures : [ "keydown", "mousedown", "pointerdown", "touchend" ],
        resume : null
    };
    Module.fathomerAudio = a;
    a.resume = function() {
        // Refused when the browser does not count the event as a gesture;
        // the next one asks again.
        if (ctx.state == "running" || ctx.state == "closed") return;
        if (a.asked_at === null) a.asked_at = performance.now();
        ctx.resume().catch(function() {});
    };
    var forget_gestures = function() {
        for (var i = 0; i < a.gestures.length; i++) document.removeEventListener(a.gestures[i], a.resume, true);
    };
    if (ctx.state != "running" && typeof document != "undefined") {
        for (var i = 0; i < a.gestures.length; i++) document.addEventListener(a.gestures[i], a.resume, true);
        ctx.addEventListener("statechange", function() {
            if (ctx.state == "running" || ctx.state == "closed") forget_gestures();
        });
    }
    a.forget_gestures = forget_gestures;
    var Player = Module.fathomerRingPlayer;
    var tapped = Module.audioTap ? Promise.resolve(Module.audioTap(ctx)) : Promise.resolve(null);
    var source = "var FathomerRingPlayer = " + Player.toString() + ";\n" +
                 "FathomerRingPlayer.prototype.take = " + Player.prototype.take.toString() + ";\n" +
                 "FathomerRingPlayer.prototype.render = " + Player.prototype.render.toString() + ";\n" +
                 "registerProcessor(\"fathomer-ring\", class extends AudioWorkletProcessor {\n" +
                 "  constructor() { super(); this.player = new FathomerRingPlayer(); var self = this; var told = 0;\n" +
                 "    this.port.onmessage = function(e) {\n" +
                 "      if (e.data.flush) { self.player.blocks = []; return; }\n" +
                 "      self.player.take(e.data);\n" +
                 "      if (self.player.late != told) { told = self.player.late; self.port.postMessage(told); }\n" +
                 "    };\n" +
                 "  }\n" +
                 "  process(inputs, outputs) { var o = outputs[0]; this.player.render(currentFrame, o[0], o[1]); return true; }\n" +
                 "});\n";
    var url = URL.createObjectURL(new Blob([ source ], {type : "application/javascript"}));
    Promise.all([ ctx.audioWorklet.addModule(url), tapped ])
        .then(function(made) {
            if (ctx.state == "closed") return;
            var node = new AudioWorkletNode(ctx, "fathomer-ring",
                                            {numberOfInputs : 0, numberOfOutputs : 1, outputChannelCount : [2]});
            node.port.onmessage = function(e) { a.late = e.data; };
            node.connect(ctx.destination);
            if (made[1]) node.connect(made[1]);
            a.port = node.port;
            a.node = node;
        })
        .catch(function(e) { out("FAILED audioWorklet.addModule() " + e); });
    return 1;
});

bool web_audio_start(char *failure, u32 failure_size) {
    web_audio_define_player();
    return web_audio_start_js(failure, (int)failure_size) != 0;
}

// The context's frames are the device's while it runs; on the way in, the
// context's frame now is tied to the device frame the page's clock reached,
// and blocks posted before a pause are forgotten.
EM_JS(double, web_audio_clock_js, (void), {
    var a = Module.fathomerAudio;
    var wall = performance.now();
    if (a.node && a.ctx.state == "running") {
        var cf = Math.round(a.ctx.currentTime * 44100);
        if (!a.synced) {
            a.frame = Math.max(a.frame, a.origin_frame + Math.floor((wall - a.origin_wall) * 44.1));
            a.base = a.frame - cf;
            a.synced = true;
            a.port.postMessage({flush : true});
        }
        a.frame = Math.max(a.frame, cf + a.base);
    } else {
        // From the gesture until the context runs (a moment, but at most
        // half a second) the clock waits: the sound the gesture starts, such
        // as the music of the key that leaves the title, is mixed once it can
        // be heard, from its first frame.
        var waiting = a.asked_at !== null && wall - a.asked_at < 500;
        if (a.synced || waiting) {
            a.origin_wall = wall;
            a.origin_frame = a.frame;
            a.synced = false;
        }
        a.frame = Math.max(a.frame, a.origin_frame + Math.floor((wall - a.origin_wall) * 44.1));
    }
    return a.frame;
});

u64 web_audio_clock(void) { return (u64)web_audio_clock_js(); }

EM_JS(int, web_audio_post_js, (const i16 *samples, int frames, double at), {
    var a = Module.fathomerAudio;
    if (!a.synced || a.ctx.state != "running") return 0;
    var block = {at : at - a.base, samples : HEAP16.slice(samples >> 1, (samples >> 1) + frames * 2)};
    a.port.postMessage(block, [block.samples.buffer]);
    return 1;
});

bool web_audio_post(const i16 *samples, u32 frames, u64 at) { return web_audio_post_js(samples, (int)frames, (double)at) != 0; }

EM_JS(void, web_audio_stop_js, (void), {
    var a = Module.fathomerAudio;
    if (!a) return;
    a.forget_gestures();
    if (a.node) a.node.disconnect();
    a.ctx.close();
    Module.fathomerAudio = null;
});

void web_audio_stop(void) { web_audio_stop_js(); }
