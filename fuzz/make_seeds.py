#!/usr/bin/env python3
"""Writes the fuzz targets' seed inputs from a built tree: make_seeds.py BUILD_DIR.

The seeds are small real inputs of each kind: lesson and index records of the book,
their decoded streams, resource files and the entries in them, bitmaps, settings
files, socket messages and book sources. Run it again after a format changes.
"""
import pathlib
import struct
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
FUZZ = ROOT / "fuzz"


def write(target, name, data):
    """Adds a seed to the target's folder unless one with the same bytes is there."""
    folder = FUZZ / target / "seeds"
    folder.mkdir(parents=True, exist_ok=True)
    if any(seed.read_bytes() == data for seed in folder.iterdir()):
        return
    (folder / name).write_bytes(data)


def decode_record(record):
    """The record's data decoded as the program's decoder does (PalmDoc)."""
    compressed, decompressed = struct.unpack(">HH", record[6:10])
    data, out = record[10:10 + compressed], bytearray()
    i = 0
    while len(out) < decompressed and i < len(data):
        c = data[i]
        i += 1
        if 1 <= c <= 8:
            out += data[i:i + c]
            i += c
        elif c < 0x80:
            out.append(c)
        elif c < 0xC0:
            pair = c << 8 | data[i]
            i += 1
            distance, count = (pair >> 3) & 0x7FF, (pair & 7) + 3
            for _ in range(count):
                out.append(out[-distance])
        else:
            out += bytes([0x20, c ^ 0x80])
    return bytes(out[:decompressed])


def read_name(data, at):
    if data[at:at + 2] == b"\xff\xff":
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def res_entries(data):
    """(type, name, header bytes, data bytes) of each entry of a .res file."""
    at = 0
    while at + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, at)
        kind, after = read_name(data, at + 8)
        name, _ = read_name(data, after)
        body = data[at + header:at + header + size]
        yield kind, name, data[at:at + header], body
        at = (at + header + size + 3) & ~3


def res_file(entries):
    out = bytearray()
    for _, _, header, body in entries:
        out += header + body
        out += b"\0" * (-len(out) % 4)
    return bytes(out)


def book_seeds(build):
    book = build / "resources" / "book"
    for n in (1, 2, 100, 267):
        record = (book / f"lesson{n:03}.bin").read_bytes()
        write("content/decode_record", f"lesson{n:03}", record)
        # View size (two bytes) and font choice, then the decoded stream.
        write("view/article_layout", f"lesson{n:03}", bytes([120, 255, n % 24 | (0x80 if n == 2 else 0)]) + decode_record(record))
    record = (book / "index.bin").read_bytes()
    write("content/decode_record", "index", record)
    # The bookmark count and lessons, then the decoded index stream.
    index = decode_record(record)
    write("index/index_stream", "index", bytes([2, 5, 0, 1, 1]) + index)
    write("index/index_stream", "index-start", bytes([0]) + index[:600])
    # The view's width, height and lesson, then the stream.
    write("index/outline_layout", "index", bytes([113, 159, 100]) + index)
    write("index/outline_layout", "index-start", bytes([113, 159, 100]) + index[:600])

    sources = ROOT / "resources" / "book"
    lesson = (sources / "lessons" / "001.txt").read_bytes().splitlines(keepends=True)
    write("book/book_sources", "lesson001", b"".join(lesson[:12]))
    write("book/book_sources", "closing", (sources / "closing.txt").read_bytes())
    write("book/book_sources", "index",
          "; two lessons\n# \u05d0\u05d1\n1 \u05d2\u05d3\n2 \u05d4\u05d5\n".encode())


def resource_seeds(build):
    def entry_seeds(prefix, entries):
        for kind, name, _, body in entries:
            target = {2: "gdi/dib", 4: "user/menu_resource", 5: "user/dialog_template"}.get(kind)
            if target:
                write(target, f"{prefix}-{name}", body)

    program = list(res_entries((build / "app" / "vintrel_vintrel.res").read_bytes()))
    # The program's resources with one lesson record of the book's.
    small = [e for e in program if not (e[0] == 10 and isinstance(e[1], int) and 1002 <= e[1])]
    write("kernel/resource_file", "program", res_file(small))
    entry_seeds("program", program)
    for res in sorted(build.glob("tests/**/*.res")):
        if res.stat().st_size < 4096:
            write("kernel/resource_file", res.stem, res.read_bytes())
            entry_seeds(res.stem, res_entries(res.read_bytes()))
    for bmp in sorted((ROOT / "tests" / "gdi").glob("*.bmp")):
        write("gdi/dib", bmp.stem, bmp.read_bytes()[14:])  # without the file header


def settings_seeds():
    write("kernel/registry_text", "settings", (
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]\r\n"
        "\"FontName\"=\"Miriam Mono CLM\"\r\n"
        "\"FontSize\"=dword:00000010\r\n"
        "\"Bookmarks\"=hex:05,00,0c,00,\\\r\n  00,00\r\n"
        "\"Program Path\"=hex(2):2f,00,62,00,00,00\r\n"
        "@=\"a \\\"quoted\\\" \\\\ value\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\software\\Karsolet]\r\n"
        "\"FullScreen\"=dword:00000001\r\n").encode())


def socket_seeds():
    def frame(body):
        return struct.pack("<I", len(body)) + body

    def text(s):
        units = s.encode("utf-16-le")
        return struct.pack("<I", len(units) // 2) + units

    find = struct.pack("<IQIQq", 1, 0, 0, 0, 0) + text("Vintrel - 5765 (heb)") * 2
    send = struct.pack("<IQIQq", 4, 0x10002, 0x111, 0x8001, 0) + text("") * 2
    write("shell/instance_protocol", "find", frame(find))
    write("shell/instance_protocol", "send", frame(send))
    write("shell/instance_protocol", "reply", struct.pack("<Qq", 0x10002, 1))


if __name__ == "__main__":
    build_dir = pathlib.Path(sys.argv[1]).resolve()
    book_seeds(build_dir)
    resource_seeds(build_dir)
    settings_seeds()
    socket_seeds()
