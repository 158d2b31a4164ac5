// The browser's side of the sound device: a Web Audio graph that plays
// blocks of the ring at the device frames they belong to, and the device's
// clock.  Written in JavaScript (os/web/audio_playback.cpp); the ring and its
// cursors are os/web/audio_device.cpp's.
#pragma once

#include "os/types.h"

// Frames ahead of the play cursor where the write cursor lies: what a block
// posted now needs to reach the audio thread before its time comes, with
// room for the browser rendering ahead of what it reports.
#define WEB_AUDIO_LEAD_FRAMES 2048u

// Makes the audio context and starts loading the player.  False, with the
// failing step and its reason written to failure (NUL-terminated), when the
// browser has no Web Audio at 44100 frames per second or the page may load no
// AudioWorklet.
bool web_audio_start(char *failure, u32 failure_size);
// Device frames since the start: the audio context's own time while it
// runs, the page's clock while the browser holds sound back (before the
// first key or click) or the player is still loading, so the ring turns in
// real time either way.  Never goes back.
u64 web_audio_clock(void);
// Hands frames of 16-bit stereo to the player, to be heard from device frame
// at on; frames whose time has passed when they arrive are dropped.  False,
// with nothing taken, while nothing is heard (the player is not running).
bool web_audio_post(const i16 *samples, u32 frames, u64 at);
void web_audio_stop(void);
