#!/usr/bin/python3
"""Edits fixture files into the awkward shapes real files come in (odd
chunks, odd tags, cut short, damaged), for make-fixtures.sh."""
import random
import struct
import sys


def syncsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3_tag(version, text, padding=0, footer=False):
    body = text.encode("latin-1")
    if version == 4:
        frame = b"TIT2" + syncsafe(len(body) + 1) + b"\0\0" + b"\0" + body
    else:
        frame = b"TIT2" + struct.pack(">I", len(body) + 1) + b"\0\0" + b"\0" + body
    payload = frame + b"\0" * padding
    flags = 0x10 if footer else 0
    tag = b"ID3" + bytes([version, 0, flags]) + syncsafe(len(payload)) + payload
    if footer:
        tag += b"3DI" + bytes([version, 0, flags]) + syncsafe(len(payload))
    return tag


def id3_end(data):
    if data[:3] != b"ID3":
        return 0
    size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]
    return 10 + size + (10 if data[5] & 0x10 else 0)


def wav_chunk(data, name):
    pos = 12
    while pos + 8 <= len(data):
        size = struct.unpack_from("<I", data, pos + 4)[0]
        if data[pos:pos + 4] == name:
            return pos
        pos += 8 + size + (size & 1)
    raise SystemExit("no %r chunk" % name)


def main():
    command, path = sys.argv[1], sys.argv[2]
    args = sys.argv[3:]
    try:
        data = bytearray(open(path, "rb").read())
    except FileNotFoundError:
        data = bytearray()

    if command == "odd-chunk":
        at = wav_chunk(data, b"data")
        data[at:at] = b"junk" + struct.pack("<I", 5) + b"odd!!" + b"\0"
        struct.pack_into("<I", data, 4, len(data) - 8)
    elif command == "wav-data-size":
        at = wav_chunk(data, b"data")
        struct.pack_into("<I", data, at + 4, int(args[0], 0))
    elif command == "cut":
        n = int(len(data) * float(args[0]))
        n -= n % 4
        data = data[: n + int(args[1])]
    elif command == "id3-footer":
        data[0:0] = id3_tag(4, "Footer tag", padding=300, footer=True)
    elif command == "id3-twice":
        data[0:0] = id3_tag(3, "First tag", padding=100) + id3_tag(4, "Second tag", padding=50)
    elif command == "ape-tail":
        item = struct.pack("<II", 6, 0) + b"Artist\0" + b"Nobody"
        footer = lambda flags: b"APETAGEX" + struct.pack("<IIII", 2000, len(item) + 32, 1, flags) + b"\0" * 8
        data += footer(0xA0000000) + item + footer(0x80000000)
    elif command == "junk-front":
        at = id3_end(data)
        data[at:at] = bytes((i * 7 + 1) % 200 for i in range(777))
    elif command == "xing-no-frames":
        at = data.index(b"Xing", id3_end(data))
        flags = struct.unpack_from(">I", data, at + 4)[0]
        assert flags & 1
        struct.pack_into(">I", data, at + 4, flags & ~1)
        # Shift what followed the frame count back by four bytes, within the frame.
        start = id3_end(data)
        bitrates = [0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320]
        rates = [44100, 48000, 32000]
        b = data[start + 2]
        end = start + 144 * bitrates[b >> 4] * 1000 // rates[(b >> 2) & 3] + ((b >> 1) & 1)
        data[at + 8:end] = data[at + 12:end] + b"\0\0\0\0"
    elif command == "random":
        rng = random.Random(int(args[1]))
        data = bytearray(rng.getrandbits(8) for _ in range(int(args[0])))
        data[0] = 0x2A  # never a known signature by chance
    elif command == "id3-only":
        data = bytearray(id3_tag(3, "No audio here", padding=2048))
    elif command == "id3-absurd":
        data = bytearray(b"ID3\x03\x00\x00\x7f\x7f\x7f\x7f") + bytearray(4000)
    elif command == "header-only":
        fmt = struct.pack("<HHIIHH", 1, 2, 44100, 176400, 4, 16)
        data = bytearray(b"RIFF" + struct.pack("<I", 36) + b"WAVE" + b"fmt " +
                         struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", 0))
    else:
        raise SystemExit("unknown edit " + command)
    open(path, "wb").write(data)


main()
