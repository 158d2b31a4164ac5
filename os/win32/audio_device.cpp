// Sound output through DirectSound: one looping one-second ring, refilled
// ahead of the device's write cursor once per frame.
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <dsound.h>

#include "os/audio.h"
#include "os/log.h"
#include "os/win32/audio_device.h"
#include "os/window.h"
#include "sound/mixer.h"

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

AudioState *os_init_audio(Window *window) {
    if (audio_state.initialised) return &audio_state;
    audio_state.ring_size = AUDIO_RING_SIZE;
    if (!audio_create_tables()) return nullptr;

    IDirectSound *device = nullptr;
    HRESULT result = DirectSoundCreate(nullptr, &device, nullptr);
    if (FAILED(result)) {
        report_failure("DirectSoundCreate()", result);
        return nullptr;
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
        return nullptr;
    }

    audio_state.device = device;
    audio_state.buffer = ring;
    audio_state.initialised = true;
    return &audio_state;
}

void os_update_audio(void) {
    if (!audio_state.initialised) return;
    IDirectSoundBuffer *ring = (IDirectSoundBuffer *)audio_state.buffer;
    DWORD play_cursor, write_cursor;
    HRESULT result = ring->GetCurrentPosition(&play_cursor, &write_cursor);
    if (FAILED(result)) {
        report_failure("IDirectSoundBuffer_GetCurrentPosition()", result);
        return;
    }
    void *piece1, *piece2;
    DWORD length1, length2;
    result = ring->Lock(write_cursor, AUDIO_UPDATE_WINDOW, &piece1, &length1, &piece2, &length2, 0);
    if (FAILED(result)) {
        report_failure("IDirectSoundBuffer_Lock()", result);
        os_printf("?is this expected? maybe if you lock too late or something\n");
        return;
    }
    if (length1) audio_mix_region(write_cursor, length1, piece1);
    if (length2) audio_mix_region(0, length2, piece2);
    result = ring->Unlock(piece1, length1, piece2, length2);
    if (FAILED(result)) report_failure("IDirectSoundBuffer_Unlock()", result);
    audio_trim_voices();
}

void os_shutdown_audio(void) {
    if (!audio_state.initialised) return;
    IDirectSoundBuffer *ring = (IDirectSoundBuffer *)audio_state.buffer;
    HRESULT result = ring->Stop();
    if (FAILED(result)) report_failure("IDirectSoundBuffer_Stop()", result);
    release(ring, "IDirectSoundBuffer_Release()");
    release((IDirectSound *)audio_state.device, "IDirectSound_Release()");
    audio_release_tables();
    audio_state.device = nullptr;
    audio_state.buffer = nullptr;
    audio_state.initialised = false;
    audio_state.written_end = 0;
}
