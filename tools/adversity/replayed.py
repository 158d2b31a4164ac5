#!/usr/bin/env python3
"""Reads a raw capture (s16le, stereo, 44100 Hz) of the null sink around one
stall of the frame loop, and measures how long the device replayed old sound
afterwards: while nothing new is mixed, the output ring plays again what it
played one turn (one second) earlier.

    replayed.py CAPTURE [STALL_MS]

The capture loses a few samples now and then, so a replayed stretch is found
by searching for each 10 ms block, byte for byte, 0.5 to 3 s earlier.  The
replayed spans within 2.5 s of the first one (the stall; the closing window
comes 3 s after it) must add up to at least 100 ms (the frame loop was held;
how much of the stall the device still fills with new sound depends on how
far ahead of its play cursor it writes, more on a loaded machine) and to no
more than the stall and 300 ms: sound moves on as soon as the stall ends
instead of the ring's old second playing on.  Exit code 0 when both hold."""
import sys

FRAME = 4
RATE = 44100
BLOCK = 441 * FRAME  # 10 ms


def replayed_spans(data):
    """(start_ms, length_ms) of runs of blocks that repeat earlier sound."""
    spans = []
    start = last = None
    for at in range(0, len(data) - BLOCK, BLOCK):
        block = data[at:at + BLOCK]
        if block.count(0) == BLOCK:
            continue
        earliest = max(0, at - 3 * RATE * FRAME)
        latest = at - RATE * FRAME // 2
        if latest <= earliest or data.find(block, earliest, latest + BLOCK) < 0:
            continue
        ms = at * 1000 // (RATE * FRAME)
        if start is not None and ms - last <= 40:
            last = ms
            continue
        if start is not None:
            spans.append((start, last + 10 - start))
        start = last = ms
    if start is not None:
        spans.append((start, last + 10 - start))
    return spans


def main():
    stall_ms = int(sys.argv[2]) if len(sys.argv) > 2 else 600
    with open(sys.argv[1], 'rb') as f:
        data = f.read()
    spans = [s for s in replayed_spans(data) if s[1] >= 100]
    print(f"capture {len(data) // (FRAME * RATE // 1000)} ms; replayed spans (start ms, length ms): {spans}")
    replayed = sum(length for start, length in spans if start - spans[0][0] < 2500) if spans else 0
    print(f"replayed around the stall: {replayed} ms")
    if replayed < 100:
        print("FAILED no replay: the stall did not hold the frame loop")
        return 1
    if replayed > stall_ms + 300:
        print(f"FAILED the old sound went on {replayed - stall_ms} ms past the stall")
        return 1
    return 0


sys.exit(main())
