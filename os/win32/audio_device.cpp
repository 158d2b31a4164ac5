// The sound device through DirectSound: one looping one-second secondary
// buffer is the ring.
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <dsound.h>

#include "os/audio.h"
#include "os/backend.h"
#include "os/log.h"
#include "os/win32/audio_device.h"
#include "os/window.h"

static_assert(sizeof(DSBUFFERDESC) == 40, "buffer description size");

struct DsErrorName {
    u32 code;
    const char *name;
};

static const DsErrorName DS_ERROR_NAMES[] = {
    {0x0878000A, "DS_NO_VIRTUALIZATION"},   {0x08780014, "DS_INCOMPLETE"},
    {0x80004001, "DSERR_UNSUPPORTED"},      {0x80004002, "DSERR_NOINTERFACE"},
    {0x80004005, "DSERR_GENERIC"},          {0x80040110, "DSERR_NOAGGREGATION"},
    {0x80070005, "DSERR_ACCESSDENIED"},     {0x8007000E, "DSERR_OUTOFMEMORY"},
    {0x80070057, "DSERR_INVALIDPARAM"},     {0x8878000A, "DSERR_ALLOCATED"},
    {0x8878001E, "DSERR_CONTROLUNAVAIL"},   {0x88780032, "DSERR_INVALIDCALL"},
    {0x88780046, "DSERR_PRIOLEVELNEEDED"},  {0x88780064, "DSERR_BADFORMAT"},
    {0x88780078, "DSERR_NODRIVER"},         {0x88780082, "DSERR_ALREADYINITIALIZED"},
    {0x88780096, "DSERR_BUFFERLOST"},       {0x887800A0, "DSERR_OTHERAPPHASPRIO"},
    {0x887800AA, "DSERR_UNINITIALIZED"},    {0x887800B4, "DSERR_BUFFERTOOSMALL"},
    {0x887800BE, "DSERR_DS8_REQUIRED"},     {0x887800C8, "DSERR_SENDLOOP"},
    {0x887800D2, "DSERR_BADSENDBUFFERGUID"}, {0x887800DC, "DSERR_FXUNAVAILABLE"},
    {0x88781161, "DSERR_OBJECTNOTFOUND"},
};

const char *dsound_error_name(u32 code) {
    for (const DsErrorName &e : DS_ERROR_NAMES)
        if (e.code == code) return e.name;
    return "???";
}

static void report_failure(const char *step, HRESULT result) {
    os_printf("FAILED %s %s\n", step, dsound_error_name((u32)result));
}

// Release gives the remaining reference count; it is read as a result code.
static void release(IUnknown *object, const char *step) {
    HRESULT result = (HRESULT)object->Release();
    if (FAILED(result)) report_failure(step, result);
}

bool backend_audio_open(Window *window) {
    IDirectSound *device = nullptr;
    HRESULT result = DirectSoundCreate(nullptr, &device, nullptr);
    if (FAILED(result)) {
        report_failure("DirectSoundCreate()", result);
        return false;
    }

    WAVEFORMATEX format = {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = AUDIO_FRAMES_PER_SECOND;
    format.nAvgBytesPerSec = AUDIO_BYTES_PER_SECOND;
    format.nBlockAlign = AUDIO_BYTES_PER_FRAME;
    format.wBitsPerSample = 16;
    format.cbSize = 0;

    DSBUFFERDESC primary_desc = {};
    primary_desc.dwSize = sizeof primary_desc;
    primary_desc.dwFlags = DSBCAPS_PRIMARYBUFFER;

    DSBUFFERDESC ring_desc = {};
    ring_desc.dwSize = sizeof ring_desc;
    ring_desc.dwFlags = DSBCAPS_GLOBALFOCUS;
    ring_desc.dwBufferBytes = AUDIO_RING_SIZE;
    ring_desc.lpwfxFormat = &format;

    HWND hwnd = window ? (HWND)window->hwnd : nullptr;
    IDirectSoundBuffer *primary = nullptr;
    IDirectSoundBuffer *ring = nullptr;
    const char *failed_step = nullptr;
    if (FAILED(result = device->SetCooperativeLevel(hwnd, DSSCL_PRIORITY)))
        failed_step = "IDirectSound_SetCooperativeLevel()";
    else if (FAILED(result = device->CreateSoundBuffer(&primary_desc, &primary, nullptr)))
        failed_step = "IDirectSound_CreateSoundBuffer()";
    else if (FAILED(result = primary->SetFormat(&format)))
        failed_step = "IDirectSoundBuffer_SetFormat()";
    else if (FAILED(result = device->CreateSoundBuffer(&ring_desc, &ring, nullptr)))
        failed_step = "IDirectSound_CreateSoundBuffer()";
    else if (FAILED(result = ring->Play(0, 0, DSBPLAY_LOOPING)))
        failed_step = "IDirectSoundBuffer_Play()";
    if (failed_step) {
        report_failure(failed_step, result);
        // The device takes its buffers with it.
        release(device, "IDirectSound_Release()");
        return false;
    }

    audio_device.device = device;
    audio_device.buffer = ring;
    return true;
}

bool backend_audio_cursors(u32 *play_cursor, u32 *write_cursor) {
    IDirectSoundBuffer *ring = (IDirectSoundBuffer *)audio_device.buffer;
    DWORD play = 0, write = 0;
    HRESULT result = ring->GetCurrentPosition(&play, &write);
    if (FAILED(result)) {
        report_failure("IDirectSoundBuffer_GetCurrentPosition()", result);
        return false;
    }
    *play_cursor = play;
    *write_cursor = write;
    return true;
}

bool backend_audio_lock(u32 offset, u32 length, AudioRingPieces *pieces) {
    IDirectSoundBuffer *ring = (IDirectSoundBuffer *)audio_device.buffer;
    DWORD length1 = 0, length2 = 0;
    HRESULT result = ring->Lock(offset, length, &pieces->memory[0], &length1, &pieces->memory[1], &length2, 0);
    if (FAILED(result)) {
        report_failure("IDirectSoundBuffer_Lock()", result);
        *pieces = AudioRingPieces{};
        return false;
    }
    pieces->length[0] = length1;
    pieces->length[1] = length2;
    return true;
}

void backend_audio_unlock(const AudioRingPieces *pieces) {
    IDirectSoundBuffer *ring = (IDirectSoundBuffer *)audio_device.buffer;
    HRESULT result = ring->Unlock(pieces->memory[0], pieces->length[0], pieces->memory[1], pieces->length[1]);
    if (FAILED(result)) report_failure("IDirectSoundBuffer_Unlock()", result);
}

void backend_audio_close(void) {
    IDirectSoundBuffer *ring = (IDirectSoundBuffer *)audio_device.buffer;
    HRESULT result = ring->Stop();
    if (FAILED(result)) report_failure("IDirectSoundBuffer_Stop()", result);
    release(ring, "IDirectSoundBuffer_Release()");
    release((IDirectSound *)audio_device.device, "IDirectSound_Release()");
}
