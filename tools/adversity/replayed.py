#!/usr/bin/env python3
"""Reads a raw capture (s16le, stereo, 44100 Hz) of the null sink around one
stall of the frame loop, and checks that the stall was heard as silence, not
as old sound: while nothing new is mixed the output ring would play again
what it played one turn (one second) earlier, unless what the device has
played is cleared behind it.

    replayed.py CAPTURE STALL_MS STALL_AFTER_MS CLOSE_AFTER_MS

The game's music starts with the first sound; the stall of STALL_MS comes
STALL_AFTER_MS after it and the close CLOSE_AFTER_MS after the stall.

Replayed sound: the 50 ms blocks of the capture that are not silent and
repeat, byte for byte, sound from 0.5 to 1.5 s before them (searched in that
span: the recorder loses a few samples now and then, which shifts the
capture).  There must be none until 0.5 s before the close can come.  The
close is not judged: Wine takes about 2 s to destroy the window while the
device goes on playing, and for a frame loop held more than a lap the ring
plays the window last mixed again each lap.

The stall: the first run of silent frames of at least 100 ms from the
stall's earliest start on (the device still plays the window mixed ahead
first, more of it on a loaded machine; a slow frame earlier can be heard as
a shorter silence).  It must not outlast the stall by more than 200 ms:
fresh sound follows as soon as the loop runs again.  Exit code 0 when all
of this holds."""
import sys

FRAME = 4
RATE = 44100
BLOCK = 50 * RATE // 1000 * FRAME
LAP = RATE * FRAME


def ms(offset):
    return offset * 1000 // LAP


def repeated_blocks(data):
    """Where (ms) the sounding 50 ms blocks lie that were heard 0.5-1.5 s before."""
    found = []
    for at in range(0, len(data) - BLOCK + 1, BLOCK):
        block = data[at:at + BLOCK]
        if block.count(0) == BLOCK:
            continue
        earliest = max(0, at - 3 * LAP // 2)
        latest = at - LAP // 2
        if latest > earliest and data.find(block, earliest, latest + BLOCK) >= 0:
            found.append(ms(at))
    return found


def silences(data):
    """(start ms, length ms) of the runs of silent frames of 100 ms or more
    between the first and the last sound."""
    frames = memoryview(data)[:len(data) // FRAME * FRAME].cast('I')
    sounding = [i for i in range(len(frames)) if frames[i]]
    runs = []
    for before, after in zip(sounding, sounding[1:]):
        if after - before > RATE // 10:
            runs.append((ms((before + 1) * FRAME), ms((after - before - 1) * FRAME)))
    return runs


def main():
    path = sys.argv[1]
    stall_ms, stall_after_ms, close_after_ms = (int(a) for a in sys.argv[2:5])
    with open(path, 'rb') as f:
        data = f.read()
    quiet = silences(data)
    repeats = repeated_blocks(data)
    print(f"capture {ms(len(data))} ms; silences of 100 ms or more (start ms, length ms): {quiet}")
    print(f"50 ms blocks that repeat the sound of 0.5-1.5 s before, at ms: {repeats}")
    frames = memoryview(data)[:len(data) // FRAME * FRAME].cast('I')
    first = next((i for i in range(len(frames)) if frames[i]), None)
    if first is None:
        print("FAILED the capture is silent")
        return 1
    music = ms(first * FRAME)
    # The stall's sound is heard no sooner than its key's frame, which comes
    # about a window later than the first sound.
    stall_from = music + stall_after_ms - 100
    judged_end = music + stall_after_ms + stall_ms + close_after_ms - 500
    replayed = [at for at in repeats if at < judged_end]
    print(f"before the close: {len(replayed)} repeated blocks")
    failed = 0
    if replayed:
        print("FAILED the device replayed old sound")
        failed = 1
    stall = next(((start, length) for start, length in quiet if stall_from <= start < judged_end), None)
    if stall is None:
        print("FAILED no silence: the stall did not hold the frame loop")
        failed = 1
    elif stall[1] > stall_ms + 200:
        print(f"FAILED the silence at ms {stall[0]} outlasted the stall by {stall[1] - stall_ms} ms")
        failed = 1
    return failed


sys.exit(main())
