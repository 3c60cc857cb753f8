#!/usr/bin/env python3
"""The other side of the zip interoperability tests: Python's zipfile.

  zip_interop.py swap FILE TO        rewrite the three record signatures of
                                     FILE to TO ("standard" or "system"),
                                     walking the records, not the bytes
  zip_interop.py check FILE          zipfile reads FILE (standard
                                     signatures); prints name, size, CRC
                                     and the SHA-1 of each entry
  zip_interop.py make FILE NAME=TEXT ...
                                     writes a standard zip with deflate
                                     level 6 (a name with non-ASCII text is
                                     written by zipfile with the UTF-8 flag)
"""
import hashlib
import struct
import sys
import zipfile

STANDARD = (0x02014B50, 0x04034B50, 0x06054B50)
SYSTEM = (0x01234567, 0x19ABCDEF, 0x1FAACCEE)


def swap(path, to):
    src, dst = (SYSTEM, STANDARD) if to == "standard" else (STANDARD, SYSTEM)
    data = bytearray(open(path, "rb").read())
    end = data.rfind(struct.pack("<I", src[2]))
    if end < 0:
        sys.exit("no end record")
    count, size, offset = struct.unpack_from("<HII", data, end + 10)
    struct.pack_into("<I", data, end, dst[2])
    p = offset
    for _ in range(count):
        sig, = struct.unpack_from("<I", data, p)
        if sig != src[0]:
            sys.exit("bad central header at %d" % p)
        struct.pack_into("<I", data, p, dst[0])
        n, e, c = struct.unpack_from("<HHH", data, p + 28)
        local, = struct.unpack_from("<I", data, p + 42)
        if struct.unpack_from("<I", data, local)[0] != src[1]:
            sys.exit("bad local header at %d" % local)
        struct.pack_into("<I", data, local, dst[1])
        p += 46 + n + e + c
    open(path, "wb").write(data)


def check(path):
    with zipfile.ZipFile(path) as z:
        bad = z.testzip()
        if bad is not None:
            sys.exit("bad entry " + bad)
        for info in z.infolist():
            body = z.read(info)
            name = info.filename
            if not info.flag_bits & 0x800:
                # zipfile decodes names without the UTF-8 flag as cp437;
                # this container writes them in OEM code page 866.
                name = name.encode("cp437").decode("cp866")
            print("%s\t%d\t%08x\t%d\t%s" % (name, info.file_size, info.CRC,
                                           info.compress_type, hashlib.sha1(body).hexdigest()))


def make(path, pairs):
    with zipfile.ZipFile(path, "w", compression=zipfile.ZIP_DEFLATED, compresslevel=6) as z:
        for pair in pairs:
            name, text = pair.split("=", 1)
            z.writestr(name, text.encode("utf-8") * 50)


if __name__ == "__main__":
    verb = sys.argv[1]
    if verb == "swap":
        swap(sys.argv[2], sys.argv[3])
    elif verb == "check":
        check(sys.argv[2])
    elif verb == "make":
        make(sys.argv[2], sys.argv[3:])
    else:
        sys.exit(__doc__)
