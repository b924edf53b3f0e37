#!/usr/bin/env python3
"""Writes seed settings files for the settings-reader fuzzer: a few valid
records and damaged variants (cut short, a length running past the end)."""
import struct
import sys
from pathlib import Path


def text(s: bytes) -> bytes:
    return struct.pack("<H", len(s)) + s


def settings(recent, last_dir=b"/home/user/", flags=(-1, 0, -1), tail=(0, -1)) -> bytes:
    out = struct.pack("<i", 20000)
    for i in range(11):
        name, path = recent[i] if i < len(recent) else (b"", b"")
        out += text(name) + text(path)
    out += struct.pack("<ii", 0, 6) + struct.pack("<hhh", *flags)
    out += text(b"") + text(last_dir) + struct.pack("<hh", *tail)
    return out


def main() -> None:
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    valid = {
        "empty-recent": settings([]),
        "three-recent": settings([(b"Site %d" % i, b"/srv/p%d.Kestrum" % i) for i in range(3)]),
        "full-recent": settings([(b"\xe9t\xe9 %d" % i, b"/p/%d.Kestrum" % i) for i in range(11)],
                                flags=(0, -1, 0), tail=(-1, -1)),
    }
    for name, data in valid.items():
        (folder / f"{name}.set").write_bytes(data)
    full = valid["full-recent"]
    (folder / "cut-short.set").write_bytes(full[: len(full) // 2])
    (folder / "length-past-end.set").write_bytes(full[:4] + b"\xff\xff" + full[6:40])


if __name__ == "__main__":
    main()
