#!/usr/bin/env python3
"""Writes the seed archives of the archive fuzz targets: small valid archives from two writers,
zip64 forms, names that point outside, and cut, damaged and hostile variants of them.
Run from anywhere; it rewrites corpus/archive_reader/ and corpus/archiver_update/."""
import io
import os
import struct
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TARGETS = [os.path.join(HERE, "corpus", "archive_reader"), os.path.join(HERE, "corpus", "archiver_update")]


def archive(entries, zip64=False, comment=b""):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, date_time=(2010, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED if len(data) > 8 else zipfile.ZIP_STORED
            with z.open(info, "w", force_zip64=zip64) as f:
                f.write(data)
        z.comment = comment
    return out.getvalue()


def stored(name, data, offset):
    """A stored entry's local header and data, and its central header, by hand."""
    crc = zlib.crc32(data)
    n = name.encode()
    local = struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, 0, 0, 0, 0x21, crc, len(data), len(data), len(n), 0) + n + data
    central = struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, 0, 0, 0, 0x21, crc, len(data), len(data),
                          len(n), 0, 0, 0, 0, 0, offset) + n
    return local, central


def end(count, central_size, central_offset, comment=b""):
    return struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, count, count, central_size, central_offset, len(comment)) + comment


def zip64_end(count, central_size, central_offset, at, record_size=44):
    record = struct.pack("<IQHHIIQQQQ", 0x06064B50, record_size, 45, 45, 0, 0, count, count, central_size, central_offset)
    locator = struct.pack("<IIQI", 0x07064B50, 0, at, 1)
    return record + locator


def hostile_zip64(sizes, offset, count=1):
    """One entry whose central sizes and offset defer to a zip64 record holding the given values."""
    local, _ = stored("a.txt", b"data", 0)
    n = b"a.txt"
    extra_values = b"".join(struct.pack("<Q", v) for v in sizes + [offset])
    extra = struct.pack("<HH", 1, len(extra_values)) + extra_values
    central = struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 45, 45, 0, 0, 0, 0x21, zlib.crc32(b"data"),
                          0xFFFFFFFF, 0xFFFFFFFF, len(n), len(extra), 0, 0, 0, 0, 0xFFFFFFFF) + n + extra
    at = len(local) + len(central)
    return local + central + zip64_end(count, len(central), len(local), at) + end(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF)


def seeds():
    plain = archive([("a.txt", b"hello"), ("sub/b.txt", b"some text " * 20), ("empty/", b"")])
    yield "valid", plain
    yield "valid_zip64_locals", archive([("a.txt", b"hello"), ("sub/b.txt", b"text " * 30)], zip64=True)
    yield "valid_comment", archive([("a.txt", b"hello")], comment=b"made for a test")
    yield "utf8_names", archive([("\u00e9t\u00e9.txt", b"accents"), ("\u65e5\u672c/x.txt", b"x")])
    yield "names_outside", archive([("../evil.txt", b"1"), ("..\\evil2.txt", b"2"), ("C:\\evil3.txt", b"3"),
                                    ("/abs.txt", b"4"), ("sub/../../up.txt", b"5"), ("a.txt", b"hello")])
    # The same archive, then every way of damaging it.
    yield "cut_in_half", plain[: len(plain) // 2]
    yield "cut_before_end", plain[:-5]
    yield "end_only", plain[-22:]
    yield "central_count_wrong", plain[:-14] + struct.pack("<HH", 9, 9) + plain[-10:]
    damaged = bytearray(plain)
    damaged[0] ^= 0xFF  # the first local header's signature
    yield "local_signature_damaged", bytes(damaged)
    local, central = stored("a.txt", b"data", 0)
    body = local + central
    yield "stored_by_hand", body + end(1, len(central), len(local))
    yield "offset_past_central", body + end(1, len(central), len(local) + 1000)
    yield "comment_length_wrong", body + end(1, len(central), len(local), b"xy")[:-1]
    yield "split_archive", local + central + struct.pack("<IHHHHIIH", 0x06054B50, 1, 1, 1, 1, len(central), len(local), 0)
    yield "zip64_fitting", hostile_zip64([4, 4], 0)
    yield "zip64_huge_sizes", hostile_zip64([1 << 63, 1 << 62], 0)
    yield "zip64_offset_past_end", hostile_zip64([4, 4], 1 << 40)
    yield "zip64_count_huge", hostile_zip64([4, 4], 0, count=(1 << 64) - 1)
    short = hostile_zip64([4], 0)
    yield "zip64_field_short", short
    loc = zip64_end(1, 10, 0, 1 << 50)
    yield "zip64_locator_past_end", body + loc + end(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF)


def main():
    for target in TARGETS:
        os.makedirs(target, exist_ok=True)
        for name, data in seeds():
            with open(os.path.join(target, name + ".zip"), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
