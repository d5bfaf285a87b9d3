#!/usr/bin/env python3
"""Writes the decoding fixtures of this folder from the formats' published layouts,
then the expected pixels of each as a binary PPM made by an independent decoder
(ImageMagick, netpbm or Pillow; transparency composed over white).

The png-suite-* files are copies of files of the public PNG test suite (its name kept at the end); they
are not written here.

Files named *.refused.* must fail with "This kind of picture is not supported.";
a .dib file is compared with the .ppm of the same name.

Run from this folder: python3 make_fixtures.py  (needs imagemagick, netpbm, python3-pil)
"""
import os
import shutil
import struct
import subprocess
import zlib

W, H = 7, 5  # odd width: every layout pads its rows


def save(name, data):
    with open(name, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- BMP
def palette(n, size=4):
    out = b""
    for i in range(n):
        r, g, b = (i * 53 + 7) & 255, (i * 101 + 31) & 255, (255 - i * 29) & 255
        out += bytes([b, g, r]) + (b"\0" if size == 4 else b"")
    return out


def pack_rows(rows, bits):
    """rows: top-down lists of values; returns bottom-up padded BMP rows."""
    out = b""
    for row in reversed(rows):
        if bits >= 8:
            step = bits // 8
            raw = b"".join(v.to_bytes(step, "little") for v in row)
        else:
            acc, n, raw = 0, 0, bytearray()
            for v in row:
                acc = (acc << bits) | v
                n += bits
                if n == 8:
                    raw.append(acc)
                    acc, n = 0, 0
            if n:
                raw.append(acc << (8 - n))
            raw = bytes(raw)
        out += raw + b"\0" * (-len(raw) % 4)
    return out


def info(size, w, h, bits, compression=0, colours=0, masks=(), extra=b""):
    if size == 12:
        return struct.pack("<IHHHH", 12, w, h, 1, bits)
    body = struct.pack("<IiiHHIIiiII", size, w, h, 1, bits, compression, 0, 2835, 2835, colours, 0)
    body += b"".join(struct.pack("<I", m) for m in masks)
    body += extra
    return (body + b"\0" * size)[:size] if size >= len(body) else body


def bmp(header, table, pixels, after_header=b""):
    off = 14 + len(header) + len(after_header) + len(table)
    return b"BM" + struct.pack("<IHHI", off + len(pixels), 0, 0, off) + header + after_header + table + pixels


def indices(colours):
    return [[(x * 3 + y * 5 + (x == 0 and y == 0)) % colours for x in range(W)] for y in range(H)]


# Bit-field pictures: (top-down pixel values, red, green, blue, alpha masks). The
# readers at hand shift narrow channels instead of scaling them and drop bits of
# wide ones, so these expected pixels follow the layout's definition: each field
# scaled to 0..255 with rounding, alpha composed over white with rounding.
BITFIELDS = {}


def bitfield_bmp(name, header_size, bits, compression, masks, values, masks_after=False):
    header = info(header_size, W, H, bits, compression, masks=() if masks_after or header_size < 52 else masks)
    after = b"".join(struct.pack("<I", m) for m in masks) if masks_after else b""
    save(name, bmp(header, b"", pack_rows(values, bits), after))
    BITFIELDS[name] = (values, masks)


def expected_from_masks(name):
    values, masks = BITFIELDS[name]

    def field(v, mask):
        if not mask:
            return None
        shift = (mask & -mask).bit_length() - 1
        top = mask >> shift
        return ((v & mask) >> shift) * 255 * 2 // top + 1 >> 1  # round half up

    out = b""
    for row in values:
        for v in row:
            r, g, b = (field(v, m) for m in masks[:3])
            a = field(v, masks[3]) if len(masks) > 3 else None
            if a is not None:
                r, g, b = ((c * a + 255 * (255 - a)) * 2 // 255 + 1 >> 1 for c in (r, g, b))
            out += bytes([r, g, b])
    save(name.replace(".bmp", ".ppm"), b"P6\n%d %d\n255\n" % (W, H) + out)


def bmp_fixtures():
    idx16 = indices(16)
    save("bmp-os2-core-short-palette.bmp", bmp(info(12, W, H, 8), palette(16, 3), pack_rows(idx16, 8)))
    save("bmp-v3-56-8bit.bmp", bmp(info(56, W, H, 8, colours=16), palette(16), pack_rows(idx16, 8)))
    save("bmp-v5-4bit-top-down.bmp", bmp(info(124, W, -H, 4), palette(16), pack_rows(idx16[::-1], 4)))
    save("bmp-os2-v2-64-24bit.bmp",
         bmp(info(64, W, H, 24), b"", pack_rows([[(x * 36 << 16) | (y * 60 << 8) | 200 for x in range(W)]
                                                 for y in range(H)], 24)))
    save("bmp-2bit.bmp", bmp(info(40, W, H, 2), palette(4), pack_rows(indices(4), 2)))
    # 16 bits: 5-5-5 without masks, white is 0x7FFF.
    c555 = [[((x * 4) << 10) | ((y * 7) << 5) | (31 if x == W - 1 else x) for x in range(W)] for y in range(H)]
    c555[0][0] = 0x7FFF
    save("bmp-16bit-555.bmp", bmp(info(40, W, H, 16), b"", pack_rows(c555, 16)))
    BITFIELDS["bmp-16bit-555.bmp"] = (c555, (0x7C00, 0x03E0, 0x001F))
    c565 = [[((x * 4) << 11) | ((y * 15) << 5) | (31 if y == 0 else x) for x in range(W)] for y in range(H)]
    c565[0][0] = 0xFFFF
    bitfield_bmp("bmp-16bit-565-bitfields.bmp", 40, 16, 3, (0xF800, 0x07E0, 0x001F), c565, masks_after=True)
    # 10-10-10 with a 2-bit alpha: masks wider than 8 bits and a narrow alpha.
    c1010 = [[(((x * 170) & 1023) << 20) | (((y * 255) & 1023) << 10) | (1023 - x * 100) | ((x % 4) << 30)
              for x in range(W)] for y in range(H)]
    c1010[0][0] = 0xFFFFFFFF
    bitfield_bmp("bmp-v5-32bit-1010102-alpha.bmp", 124, 32, 3, (0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000),
                 c1010)
    c4444 = [[(((x * 2 + y) & 15) << 12) | ((x & 15) << 8) | ((y * 3) << 4) | 15 for x in range(W)]
             for y in range(H)]
    bitfield_bmp("bmp-v4-16bit-4444-alpha.bmp", 108, 16, 3, (0x0F00, 0x00F0, 0x000F, 0xF000), c4444)
    c1555 = [[(((x + y) & 1) << 15) | ((x * 4) << 10) | ((y * 7) << 5) | 31 for x in range(W)] for y in range(H)]
    bitfield_bmp("bmp-v3-56-16bit-1555-alpha.bmp", 56, 16, 3, (0x7C00, 0x03E0, 0x001F, 0x8000), c1555)
    c32 = [[((x * 36) << 16) | ((y * 60) << 8) | (x * y * 9) | (((x * 40) & 255) << 24) for x in range(W)]
           for y in range(H)]
    bitfield_bmp("bmp-v3-56-32bit-alpha.bmp", 56, 32, 3, (0xFF0000, 0xFF00, 0xFF, 0xFF000000), c32)
    # The fourth byte of a plain 32-bit pixel is unused.
    save("bmp-32bit-unused-byte.bmp", bmp(info(40, W, H, 32), b"", pack_rows(c32, 32)))
    BITFIELDS["bmp-32bit-unused-byte.bmp"] = (c32, (0xFF0000, 0xFF00, 0xFF))
    bitfield_bmp("bmp-v2-52-32bit-bitfields.bmp", 52, 32, 3, (0xFF, 0xFF00, 0xFF0000), c32)
    save("bmp-alphabitfields-40.bmp",
         bmp(info(40, W, H, 32, 6), b"", pack_rows(c32, 32),
             struct.pack("<IIII", 0xFF0000, 0xFF00, 0xFF, 0xFF000000)))
    BITFIELDS["bmp-alphabitfields-40.bmp"] = (c32, (0xFF0000, 0xFF00, 0xFF, 0xFF000000))
    # RLE8: a run, an absolute stretch, a delta over pixels, an early end of line
    # and an early end of the picture; skipped pixels are index 0.
    rle8 = bytes([3, 5, 0, 3, 1, 2, 9, 0]) + bytes([0, 0])  # row 0: 5 5 5 1 2 9, then end of line
    rle8 += bytes([2, 7, 0, 2, 2, 1, 1, 4])  # row 1: 7 7, delta (+2, +1) to row 2 x 4, one 4
    rle8 += bytes([0, 0, 7, 3])  # row 3: a run filling the row
    rle8 += bytes([0, 0, 1, 6, 0, 1])  # row 4: one 6, then end of picture
    save("bmp-rle8-delta-early-end.bmp", bmp(info(40, W, H, 8, 1, colours=10), palette(10), rle8))
    rle8_no_end = b"".join(bytes([W, y + 1, 0, 0]) for y in range(H))
    save("bmp-rle8-no-end-code.bmp", bmp(info(40, W, H, 8, 1, colours=8), palette(8), rle8_no_end))
    rle4 = bytes([5, 0x12, 0, 0])  # row 0: 1 2 1 2 1
    rle4 += bytes([0, 3, 0x34, 0x50, 0, 0])  # row 1: absolute 3 4 5 (odd count, padded)
    rle4 += bytes([0, 2, 3, 0, 4, 0xEF, 0, 0])  # row 2: delta 3 right, then E F E F
    rle4 += bytes([0, 2, 0, 1, 7, 0xA9, 0, 1])  # delta to row 4: A 9 A 9 A 9 A, end
    save("bmp-rle4-delta-absolute.bmp", bmp(info(40, W, H, 4, 2), palette(16), rle4))
    # The same picture without the 14-byte file header.
    whole = open("bmp-v3-56-8bit.bmp", "rb").read()
    save("bmp-v3-56-8bit.dib", whole[14:])


# ---------------------------------------------------------------- PNG
def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, depth, colour, rows, extra=b""):
    raw = b"".join(b"\0" + r for r in rows)
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + extra + png_chunk(b"IDAT", zlib.compress(raw))
            + png_chunk(b"IEND", b""))


def png_fixtures():
    key = (0x1234, 0x5678, 0x9ABC)
    rows = []
    for y in range(H):
        row = b""
        for x in range(W):
            if (x + y) % 3 == 0:
                c = key
            elif (x + y) % 3 == 1:
                c = (0x1213, 0x5656, 0x9A9B)  # same high bytes as the key, other low bytes
            else:
                c = (x * 36 * 257, y * 60 * 257, 0xFFFF)
            row += struct.pack(">HHH", *c)
        rows.append(row)
    save("png-16bit-rgb-trns.png", png(W, H, 16, 2, rows, png_chunk(b"tRNS", struct.pack(">HHH", *key))))
    grey = [b"".join(struct.pack(">H", 0x4321 if (x * y) % 4 == 1 else (x * 40 + y) * 257) for x in range(W))
            for y in range(H)]
    save("png-16bit-grey-trns.png", png(W, H, 16, 0, grey, png_chunk(b"tRNS", struct.pack(">H", 0x4321))))
    # What common tools write: gamma 1/2.2 and the sRGB chromaticities, no profile. Dark tones show
    # any conversion most.
    dark = [bytes(v for x in range(W) for v in (x * 9 + y * 3, x * 5 + 40, y * 12 + 8)) for y in range(H)]
    hints = png_chunk(b"gAMA", struct.pack(">I", 45455)) + png_chunk(
        b"cHRM", struct.pack(">8I", 31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000))
    save("png-gamma-2.2-srgb-chromaticities.png", png(W, H, 8, 2, dark, hints))


# ---------------------------------------------------------------- TGA
def tga_header(kind, depth, descriptor, map_len=0, map_bits=0, w=W, h=H):
    return struct.pack("<BBBHHBHHHHBB", 0, 1 if map_len else 0, kind, 0, map_len, map_bits, 0, 0, w, h, depth,
                       descriptor)


def tga_rle(pixels, size):
    """Packets of up to 128 pixels; runs for repeats, raw packets otherwise."""
    out, i = b"", 0
    while i < len(pixels):
        n = 1
        while i + n < len(pixels) and n < 128 and pixels[i + n] == pixels[i]:
            n += 1
        if n > 1:
            out += bytes([0x80 | (n - 1)]) + pixels[i]
        else:
            j = i + 1
            while j < len(pixels) and j - i < 128 and (j + 1 >= len(pixels) or pixels[j] != pixels[j + 1]):
                j += 1
            out += bytes([j - i - 1]) + b"".join(pixels[i:j])
            n = j - i
        i += n
    return out


def tga_fixtures():
    ga = [bytes([(x * 40) & 255, 255 if y == 0 else (x * 60 + y * 20) & 255]) for y in range(H) for x in range(W)]
    save("tga-grey-alpha-raw-top-down.tga", tga_header(3, 16, 0x28) + b"".join(ga))
    save("tga-grey-alpha-rle.tga", tga_header(11, 16, 0x08) + tga_rle(ga[:W] * 2 + ga[2 * W:], 2))
    cmap = b"".join(bytes([(i * 30) & 255, (i * 70) & 255, 255 - i * 20, (i * 40) & 255]) for i in range(8))
    save("tga-colour-map-32bit-alpha.tga",
         tga_header(1, 8, 0x20, 8, 32) + cmap + bytes((x + y) % 8 for y in range(H) for x in range(W)))
    px = b"".join(bytes([x * 36, y * 60, 200, (x * 40 + y * 10) & 255]) for y in range(H) for x in range(W))
    save("tga-32bit-4-attribute-bits.tga", tga_header(2, 32, 0x24) + px)


# ---------------------------------------------------------------- PCX
def pcx_fixtures():
    bpl = W + 1
    header = struct.pack("<BBBBHHHHHH", 10, 5, 1, 8, 0, 0, W - 1, H - 1, 72, 72) + b"\0" * 48 + b"\0"
    header += struct.pack("<BHHHH", 4, bpl, 1, 0, 0)
    header += b"\0" * (128 - len(header))
    body = b""
    for y in range(H):
        for plane in range(4):
            line = bytes([(x * 36 + plane * 50 + y * (plane == 3) * 60) & 255 for x in range(W)]) + b"\0"
            for b in line:  # every byte coded on its own
                body += bytes([0xC1, b]) if b >= 0xC0 else bytes([b])
    save("pcx-8bit-4-planes-rgba.pcx", header + body)


# ---------------------------------------------------------------- IFF
def iff_chunk(kind, data):
    return kind + struct.pack(">I", len(data)) + data + (b"\0" if len(data) & 1 else b"")


def ilbm_body(values, planes):
    plane_bytes = (W + 15) // 16 * 2
    out = b""
    for row in values:
        for p in range(planes):
            bits = bytearray(plane_bytes)
            for x, v in enumerate(row):
                if (v >> p) & 1:
                    bits[x >> 3] |= 0x80 >> (x & 7)
            out += bits
    return out


def ilbm(planes, values, chunks):
    bmhd = struct.pack(">HHhhBBBBHBBhh", W, H, 0, 0, planes, 0, 0, 0, 0, 10, 11, W, H)
    form = b"ILBM" + iff_chunk(b"BMHD", bmhd) + chunks + iff_chunk(b"BODY", ilbm_body(values, planes))
    return b"FORM" + struct.pack(">I", len(form)) + form


def iff_fixtures():
    cmap = b"".join(bytes([(i * 17) & 255, (i * 51) & 255, (255 - i * 16) & 255]) for i in range(16))
    camg_ham = iff_chunk(b"CAMG", struct.pack(">I", 0x800))
    # HAM5: the two last planes say index (0), modify blue (1), red (2) or green (3)
    # with the three planes below. Readers differ in how they widen fewer than 8
    # bits (netpbm keeps the low bits of the previous pixel), not in which planes
    # mean what; channels of 31 or 255 and full modifications read the same in both.
    cmap8 = b"".join(bytes([31 + 224 * (i & 1), 31 + 224 * (i >> 1 & 1), 31 + 224 * (i >> 2 & 1)]) for i in range(8))
    # Rows start with an index: readers differ in the colour a row starts from.
    ham5 = [[((x + y * 3) % 8) if x == 0 or (x + y) % 3 == 0 else (((x * 7 + y) % 3 + 1) << 3) | 7 for x in range(W)]
            for y in range(H)]
    save("iff-ham5.iff", ilbm(5, ham5, iff_chunk(b"CMAP", cmap8) + camg_ham))
    plain = [[(x + y) % 16 for x in range(W)] for y in range(H)]
    sham = struct.pack(">H", 0) + b"\0\0" * 16 * H
    save("iff-sham.refused.iff", ilbm(4, plain, iff_chunk(b"CMAP", cmap) + iff_chunk(b"SHAM", sham)))
    pchg = struct.pack(">HHHHHHI", 0, 0, 0, H, 0, 0, 0)
    save("iff-pchg.refused.iff", ilbm(4, plain, iff_chunk(b"CMAP", cmap) + iff_chunk(b"PCHG", pchg)))
    cmyk = b"".join(bytes([i * 16, 255 - i * 16, i * 8, 0]) for i in range(16))
    save("iff-cmyk-palette.refused.iff", ilbm(4, plain, iff_chunk(b"CMYK", cmyk)))


# ---------------------------------------------------------------- GIF
def lzw(indices, min_size):
    """Codes of min_size + 1 bits; a clear code before the table would grow."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    width = min_size + 1
    codes = []
    limit = (1 << width) - 2 - end
    for i, v in enumerate(indices):
        if i % max(1, limit) == 0:
            codes.append(clear)
        codes.append(v)
    codes.append(end)
    acc, n, out = 0, 0, bytearray()
    for c in codes:
        acc |= c << n
        n += width
        while n >= 8:
            out.append(acc & 255)
            acc >>= 8
            n -= 8
    if n:
        out.append(acc)
    blocks = b""
    for i in range(0, len(out), 255):
        part = bytes(out[i:i + 255])
        blocks += bytes([len(part)]) + part
    return bytes([min_size]) + blocks + b"\0"


def gif_image(x, y, w, h, values, table=None, transparent=None, delay=0):
    out = b""
    if transparent is not None or delay:
        flags = 1 if transparent is not None else 0
        out += b"\x21\xF9\x04" + bytes([flags]) + struct.pack("<H", delay) + bytes([transparent or 0]) + b"\0"
    flags = 0
    if table:
        flags = 0x80 | 3
    out += b"\x2C" + struct.pack("<HHHHB", x, y, w, h, flags) + (table or b"")
    return out + lzw(values, 4)


def gif_fixtures():
    table = b"".join(bytes([(i * 30) & 255, (i * 80) & 255, (250 - i * 25) & 255]) for i in range(16))
    screen = b"GIF89a" + struct.pack("<HHBBB", W, H, 0x80 | 3, 0, 0) + table
    local = b"".join(bytes([(255 - i * 30) & 255, i * 10, (i * 20) & 255]) for i in range(16))
    parts = gif_image(0, 0, 4, 3, [(i % 7) + 1 for i in range(12)])
    parts += gif_image(3, 2, 4, 3, [(i % 5) + 8 for i in range(12)], transparent=9)
    parts += gif_image(1, 4, 3, 1, [2, 3, 4], table=local)
    save("gif-three-images-no-delay.gif", screen + parts + b"\x3B")
    anim = gif_image(0, 0, W, H, [(i % 6) + 1 for i in range(W * H)], delay=10)
    anim += gif_image(0, 0, W, H, [5] * (W * H), delay=10)
    save("gif-animation-first-frame.gif", screen + anim + b"\x3B")


# ---------------------------------------------------------------- expected pixels
IM = "/usr/bin/convert-im6.q16"


def over_white(c, a):
    return ((c * a + 255 * (255 - a)) * 2 // 255 + 1) >> 1  # rounded


def save_over_white(out, w, h, rgba):
    pixels = bytes(over_white(rgba[i + c], rgba[i + 3]) for i in range(0, w * h * 4, 4) for c in range(3))
    save(out, b"P6\n%d %d\n255\n" % (w, h) + pixels)


def expected_with_imagemagick(name, frame="", ops=(), out=None):
    out = out or name.rsplit(".", 1)[0] + ".ppm"
    # It complains about an RLE picture that ends early, yet writes it whole.
    subprocess.run([IM, name + frame, *ops, "-type", "TrueColorAlpha", "-depth", "8", "pam:/tmp/expected.pam"],
                   check=False)
    data = open("/tmp/expected.pam", "rb").read()
    head, rgba = data.split(b"ENDHDR\n", 1)
    fields = dict(line.split(b" ", 1) for line in head.splitlines()[1:] if b" " in line)
    assert fields[b"DEPTH"] == b"4", name
    save_over_white(out, int(fields[b"WIDTH"]), int(fields[b"HEIGHT"]), rgba)
    os.remove("/tmp/expected.pam")


def expected_with_netpbm(name, tool):
    out = name.rsplit(".", 1)[0] + ".ppm"
    with open(out, "wb") as f:
        subprocess.run([tool, name], stdout=f, check=True)


def expected_with_pillow(name):
    from PIL import Image
    img = Image.open(name).convert("RGBA")
    save_over_white(name.rsplit(".", 1)[0] + ".ppm", img.width, img.height, img.tobytes())


def expected_pixels():
    # ImageMagick misreads grey with alpha in TGA.
    pillow = ["bmp-os2-v2-64-24bit.bmp", "tga-grey-alpha-raw-top-down.tga", "tga-grey-alpha-rle.tga",
              "tga-32bit-4-attribute-bits.tga"]
    netpbm = {"bmp-2bit.bmp": "bmptopnm", "iff-ham5.iff": "ilbmtoppm"}
    # pngtopnm leaves gamma and chromaticity chunks alone, as viewers do.
    netpbm.update({name: "pngtopnm" for name in os.listdir(".") if name.startswith("png-") and name.endswith(".png")
                   and ("chromaticities" in name or "gamma" in name)})
    for name in sorted(os.listdir(".")):
        if name.endswith((".py", ".ppm", ".dib")) or ".refused." in name:
            continue
        if name in BITFIELDS:
            expected_from_masks(name)
        elif name in pillow:
            expected_with_pillow(name)
        elif name in netpbm:
            expected_with_netpbm(name, netpbm[name])
        elif name == "bmp-os2-core-short-palette.bmp":
            # Readers that expect a full table: the same file with the table filled up.
            full = bmp(info(12, W, H, 8), palette(16, 3) + b"\0" * 720, pack_rows(indices(16), 8))
            save("/tmp/short-palette-full.bmp", full)
            expected_with_imagemagick("/tmp/short-palette-full.bmp", out=name.replace(".bmp", ".ppm"))
        elif name.endswith(".gif") and "no-delay" in name:
            # The last of the coalesced frames: every image drawn.
            expected_with_imagemagick(name, ops=("-coalesce", "-delete", "0--2"))
        else:
            expected_with_imagemagick(name, "[0]" if name.endswith(".gif") else "")
    shutil.copy("bmp-v3-56-8bit.ppm", "bmp-v3-56-8bit.dib.ppm")


if __name__ == "__main__":
    bmp_fixtures()
    png_fixtures()
    tga_fixtures()
    pcx_fixtures()
    iff_fixtures()
    gif_fixtures()
    expected_pixels()
