#!/usr/bin/env python3
"""Damages data files of game copies in named ways.

    damage.py FILE KIND [FILE KIND]...

Kinds: missing, empty, truncated (the first half), random (as many random
bytes, the same for every run), bomb (a PNG of 16000 x 16000 whose pixel data
inflates to 64 MB from a few kilobytes), wide (a valid PNG of 2100 x 16:
wider than any place in the texture array and than a font's column),
huge_data (a WAV whose data chunk claims 4 GB), garbage (text that is no
shader), no_main (a shader that compiles but cannot link: it has no main)."""
import os
import random
import struct
import sys
import zlib


def chunk(kind, body):
    return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF)


def png(width, height, packed):
    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', packed) + chunk(b'IEND', b'')


def bomb():
    z = zlib.compressobj(9)
    row = bytes(1 + 16000 * 4)
    packed = b''.join(z.compress(row) for _ in range(1000)) + z.flush()
    return png(16000, 16000, packed)


def wide():
    row = b'\x00' + bytes([255, 255, 255, 255]) * 2100
    return png(2100, 16, zlib.compress(row * 16))


def damage(path, kind, bomb_bytes):
    if kind == 'missing':
        os.remove(path)
        return
    with open(path, 'rb') as f:
        original = f.read()
    if kind == 'empty':
        data = b''
    elif kind == 'truncated':
        data = original[:len(original) // 2]
    elif kind == 'random':
        data = random.Random(len(original)).randbytes(len(original))
    elif kind == 'bomb':
        data = bomb_bytes
    elif kind == 'wide':
        data = wide()
    elif kind == 'huge_data':
        fmt = struct.pack('<HHIIHH', 1, 2, 44100, 176400, 4, 16)
        data = b'RIFF' + struct.pack('<I', 0xFFFFFFFF) + b'WAVE' + b'fmt ' + struct.pack('<I', 16) + fmt
        data += b'data' + struct.pack('<I', 0xFFFFFFF0) + original[44:44 + 4096]
    elif kind == 'garbage':
        data = b'this is { not a shader ;;\n\x00\xff'
    elif kind == 'no_main':
        data = b'#version 330 core\nfloat helper(float x) { return x * 2.0; }\n'
    else:
        sys.exit('unknown kind ' + kind)
    with open(path, 'wb') as f:
        f.write(data)


def main():
    pairs = list(zip(sys.argv[1::2], sys.argv[2::2]))
    # Made once: compressing 64 MB is the slow part.
    bomb_bytes = bomb() if any(kind == 'bomb' for _, kind in pairs) else b''
    for path, kind in pairs:
        damage(path, kind, bomb_bytes)


main()
