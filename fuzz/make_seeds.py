"""Writes a few small archives as seeds for the reader's fuzz target: compressed and stored blocks,
an empty file, the file-ID list, a volume switch inside a file, names a restore must refuse."""
import struct
import sys
import zlib
from pathlib import Path


def i32(value):
    return struct.pack("<i", value)


def counted(data):
    return i32(len(data)) + data


def segment(data, level=1, stored=False):
    out = b"EC2\0"
    for at in range(0, len(data), 16384):
        block = data[at:at + 16384]
        out += i32(-len(block)) + block if stored else counted(zlib.compress(block, level))
    return out + i32(0)


def archive(title, entries, count=None):
    total = sum(len(data) for _, data in entries)
    body = b"".join(counted(name) + i32(0x582B7000) + segment(data) for name, data in entries)
    return counted(title) + i32(total) + i32(count if count is not None else len(entries)) + body + i32(0)


def main(folder):
    out = Path(folder)
    out.mkdir(parents=True, exist_ok=True)
    text = b"1\t01:31:000\r\n" * 40
    seeds = {
        "plain": archive(b"z\xe1loha", [(b"/data/stav.ini", text), (b"/data/empty", b"")]),
        "windows": archive(b"", [(b"c:\\prog\\vysledky\\kara1", text)]),
        "hostile": archive(b"x", [(b"c:\\..\\etc\\x", b"a"), (b"/data/../../x", b"b"), (b"//etc/y", b"c")]),
        "filelist": archive(b"s", [(b"FILE:LIST", b"/data/a\t1478619136=3\r\n"), (b"/data/a", b"abc")], 1),
    }
    stored = counted(b"t") + i32(20) + i32(1) + counted(b"/data/s") + i32(0) + segment(b"q" * 20, stored=True) + i32(0)
    seeds["stored"] = stored
    switched = (counted(b"v") + i32(6) + i32(1) + counted(b"/data/v") + i32(0) + segment(b"abc")
                + counted(b"NEXT:DISK002") + segment(b"def") + i32(0))
    seeds["volumes"] = switched
    for name, data in seeds.items():
        (out / name).write_bytes(data)


if __name__ == "__main__":
    main(sys.argv[1])
