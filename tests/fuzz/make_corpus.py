#!/usr/bin/env python3
"""Writes the seed inputs of the cassette fuzz targets into corpus/table/ and corpus/open/.

Each seed is a small hand-made cassette (or sidecar) that reaches one path of the readers:
a blank tape, messages with deleted entries and notes, a recovery entry, a damaged table, an
interrupted recording with its sidecar. Run it again after changing it; it rewrites the seeds.

fuzz_open inputs start with three control bytes: flags (bit 0 = a sidecar follows) and the
sidecar's length (16-bit little-endian); the sidecar is the input's tail.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
CLOCK = b"255%05.12.2026|65280%14:03:59"
OPEN_END = 0xFDFDFDFD


def name_field(text: bytes) -> bytes:
    text = text[:123]
    return text + b"\r" + b" " * (124 - len(text) - 1) + b"\xfc" * 4


def entry(number: int, start: int, end: int, text: bytes = CLOCK) -> bytes:
    return struct.pack("<III", number, start, end) + name_field(text)


def table(rate: int = 11025) -> bytes:
    return b"\xfe" * 4 + struct.pack("<I", rate)


def cassette(messages, rate: int = 11025) -> bytes:
    """messages: (number, length, fill byte, name text)."""
    sound = b"".join(bytes([fill]) * length for _, length, fill, _ in messages)
    out, start = [table(rate)], 0
    for number, length, _, text in messages:
        out.append(entry(number, start, start + length, text))
        start += length
    return sound + b"".join(out)


def open_input(cassette_bytes: bytes, sidecar: bytes = None) -> bytes:
    if sidecar is None:
        return b"\x00\x00\x00" + cassette_bytes
    return b"\x01" + struct.pack("<H", len(sidecar)) + cassette_bytes + sidecar


def main() -> None:
    noted = CLOCK + b"|255%Meeting"
    blank = table()
    messages = cassette([(1, 300, 0x80, CLOCK), (65535, 100, 0x40, CLOCK), (2, 200, 0x90, noted)])
    all_deleted = cassette([(65535, 50, 0x10, CLOCK), (65535, 60, 0x20, noted)], rate=22050)
    recovered = cassette([(1, 120, 0x80, CLOCK), (2, 80, 0x81, CLOCK)]) + entry(100000, 0, 0)
    no_cr = struct.pack("<III", 1, 0, 0xFFFFFFF0) + b"q" * 124 + b"\xfc" * 4
    damaged = b"\x11" * 64 + table() + no_cr + entry(2, 90, 10) + b"\x20" * 50
    bad_rate = b"\x33" * 40 + table(8000) + entry(1, 0, 40)

    old = cassette([(1, 100, 0x11, CLOCK)])
    old_table = old[100:]
    sidecar = old_table + entry(2, 100, OPEN_END)
    crashed = old[:100] + b"\x22" * 400
    write_back_cut = crashed + old_table[:60]

    seeds = {
        "table": {
            "blank": blank,
            "messages": messages,
            "all_deleted": all_deleted,
            "recovered": recovered,
            "damaged": damaged,
            "bad_rate": bad_rate,
            "sidecar": sidecar,
        },
        "open": {
            "blank": open_input(blank),
            "messages": open_input(messages),
            "recovered": open_input(recovered),
            "damaged": open_input(damaged),
            "bad_rate": open_input(bad_rate),
            "crashed_with_sidecar": open_input(crashed, sidecar),
            "write_back_cut": open_input(write_back_cut, sidecar),
            "stale_sidecar": open_input(old, sidecar),
        },
    }
    for target, files in seeds.items():
        folder = HERE / "corpus" / target
        folder.mkdir(parents=True, exist_ok=True)
        for name, data in files.items():
            (folder / f"{name}.bin").write_bytes(data)


if __name__ == "__main__":
    main()
