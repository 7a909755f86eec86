#!/usr/bin/env python3
"""Draws Postlark's mail clip: an envelope flies in and the lark peeks out.

160 x 120, 15 frames a second, 36 frames (2.4 s), on a navy night sky:
  - the sealed envelope flies in from afar, top left, growing, tilted and
    with speed lines, and lands in the middle with a little bounce;
  - the flap lifts and the red seal turns away with it;
  - the lark rises out of the envelope, crest first, and blinks;
  - the red "new mail" badge pops up on the envelope's corner.

Writes src/app/mail.avi: an AVI of Microsoft RLE 8-bit frames (BI_RLE8 with
a 256-colour palette), which Windows plays with no extra codec. Every frame
is a key frame. The drawing uses only exactly rounded arithmetic (no libm
trigonometry or pow) and no randomness, so it writes the same bytes on any
machine.
Run: python3 scripts/make_clip.py
"""
import math
import pathlib
import struct

W, H = 160, 120
FPS = 15
FRAMES = 36

# Postlark's colours, as in make_icon.py; index 0 is the background.
NAVY, CREAM, SHADE, BROWN, DARK, BEAK, RED, WHITE = range(8)
PALETTE = [
    (30, 40, 90), (250, 243, 220), (214, 200, 160), (150, 100, 55),
    (90, 60, 30), (240, 170, 40), (200, 30, 30), (255, 255, 255)]

STARS = [(14, 12), (47, 24), (88, 8), (120, 20), (148, 40), (10, 70), (148, 86), (70, 112), (20, 104), (138, 112)]


# --- Drawing on one frame: rows of palette indices, top row first -----------

class Canvas:
    def __init__(self):
        self.px = [bytearray([NAVY]) * W for _ in range(H)]
        self.bottom = H   # rows from here down are not drawn on


    def put(self, x, y, c):
        if 0 <= x < W and 0 <= y < H:
            self.px[y][x] = c

    def polygon(self, pts, c):
        """Fills the pixels whose centres lie inside pts (even-odd)."""
        ys = [p[1] for p in pts]
        for y in range(max(0, int(min(ys)) - 1), min(self.bottom, int(max(ys)) + 2)):
            sy = y + 0.5
            xs = []
            for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
                if (y0 <= sy) != (y1 <= sy):
                    xs.append(x0 + (sy - y0) * (x1 - x0) / (y1 - y0))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(max(0, round(a)), min(W, round(b))):
                    self.px[y][x] = c

    def ellipse(self, cx, cy, rx, ry, c):
        for y in range(max(0, int(cy - ry) - 1), min(self.bottom, int(cy + ry) + 2)):
            dy = (y + 0.5 - cy) / ry
            for x in range(max(0, int(cx - rx) - 1), min(W, int(cx + rx) + 2)):
                dx = (x + 0.5 - cx) / rx
                if dx * dx + dy * dy <= 1.0:
                    self.px[y][x] = c

    def line(self, x0, y0, x1, y1, width, c):
        """A straight stroke width pixels wide, drawn as a thin quad."""
        dx, dy = x1 - x0, y1 - y0
        n = math.sqrt(dx * dx + dy * dy) or 1.0
        ox, oy = -dy / n * width / 2, dx / n * width / 2
        self.polygon([(x0 + ox, y0 + oy), (x1 + ox, y1 + oy), (x1 - ox, y1 - oy), (x0 - ox, y0 - oy)], c)


# --- Motion ----------------------------------------------------------------

def clamp01(u):
    return 0.0 if u < 0 else 1.0 if u > 1 else u


def ease_out(u):
    u = clamp01(u)
    v = 1 - u
    return 1 - v * v * v


def smooth(u):
    u = clamp01(u)
    return u * u * (3 - 2 * u)


def rotation(t):
    """cos and sin of the angle whose half-angle tangent is t (no libm)."""
    d = 1 + t * t
    return (1 - t * t) / d, 2 * t / d


# --- The envelope, the lark and the badge ------------------------------------

EW, EH = 96, 60           # the envelope at rest
REST_X, REST_Y = 80, 78   # its centre at rest


def draw_envelope(cv, cx, cy, scale, tilt, flap):
    """flap: 0 sealed, 1 fully open. Returns the envelope's transform."""
    c, s = rotation(tilt)
    c, s = c * scale, s * scale

    def at(lx, ly):
        return (cx + lx * c - ly * s, cy + lx * s + ly * c)

    def poly(pts, col):
        cv.polygon([at(x, y) for x, y in pts], col)

    def stroke(a, b, col, width=2):
        (x0, y0), (x1, y1) = at(*a), at(*b)
        cv.line(x0, y0, x1, y1, width, col)

    hw, hh = EW / 2, EH / 2
    apex = 4 - (2 * hh + 8) * smooth(flap)   # the flap's tip: below the top edge, then above it
    # An open flap stands behind the envelope, its inside showing.
    if apex < -hh:
        poly([(-hw, -hh), (hw, -hh), (0, apex)], SHADE)
        stroke((-hw, -hh), (0, apex), BROWN)
        stroke((hw, -hh), (0, apex), BROWN)
    # The inside, seen through the opening above the pocket.
    poly([(-hw, -hh), (hw, -hh), (hw, hh), (-hw, hh)], DARK)
    return at, poly, stroke, apex


def draw_pocket(cv, env, flap_open):
    at, poly, stroke, apex = env
    hw, hh = EW / 2, EH / 2
    top = -4 if flap_open else -hh
    poly([(-hw, -hh), (0, top), (hw, -hh), (hw, hh), (-hw, hh)], CREAM)
    poly([(-hw, hh * 0.45), (hw, hh * 0.45), (hw, hh), (-hw, hh)], SHADE)
    # The folds of the side flaps, as on the icon.
    stroke((-hw, hh), (-14, 3), NAVY)
    stroke((hw, hh), (14, 3), NAVY)
    if flap_open:
        stroke((-hw, -hh), (0, top), SHADE)
        stroke((hw, -hh), (0, top), SHADE)
    # A sealed or half-closed flap lies on top, its outside showing.
    if apex >= -hh:
        poly([(-hw, -hh), (hw, -hh), (0, apex)], CREAM)
        stroke((-hw, -hh), (0, apex), NAVY)
        stroke((hw, -hh), (0, apex), NAVY)
        if apex > -hh + 12:
            sx, sy = at(0, apex - 6)
            cv.ellipse(sx, sy, 5, 5 * (apex + hh) / (hh + 4), RED)


def draw_lark(cv, ox, oy, eye_open):
    cv.ellipse(ox - 8, oy + 13, 15, 11, BROWN)                  # body
    cv.polygon([(ox - 2, oy + 9), (ox - 12, oy + 7), (ox - 25, oy + 15),
                (ox - 11, oy + 19), (ox - 3, oy + 16)], DARK)   # folded wing
    cv.ellipse(ox, oy, 9.5, 8.5, BROWN)                         # head
    cv.polygon([(ox - 3, oy - 7), (ox - 9, oy - 16), (ox + 2, oy - 8)], DARK)   # crest
    cv.polygon([(ox + 8, oy - 2.5), (ox + 17, oy + 0.5), (ox + 8, oy + 3.5)], BEAK)
    if eye_open:
        cv.ellipse(ox + 3.5, oy - 2, 2.8, 2.8, WHITE)
        cv.ellipse(ox + 4.3, oy - 2, 1.4, 1.6, DARK)
    else:
        cv.line(ox + 1, oy - 1.5, ox + 6.5, oy - 1.5, 1.4, DARK)


def draw_badge(cv, cx, cy, r):
    if r < 1:
        return
    cv.ellipse(cx, cy, r, r, RED)
    if r >= 7:
        k = r / 11
        cv.polygon([(cx - 1.6 * k, cy - 7 * k), (cx + 1.6 * k, cy - 7 * k),
                    (cx + 1.1 * k, cy + 2 * k), (cx - 1.1 * k, cy + 2 * k)], WHITE)
        cv.ellipse(cx, cy + 5 * k, 1.7 * k, 1.7 * k, WHITE)


def draw_stars(cv, f):
    for i, (x, y) in enumerate(STARS):
        cv.put(x, y, WHITE)
        if (i + f // 4) % 3 == 0:   # a few twinkle, in turn
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                cv.put(x + dx, y + dy, SHADE)


def flight(f):
    """Centre, scale and tilt of the envelope on its way in (frames 0-11)."""
    e = ease_out(f / 11)
    d = 1 - e
    cx = REST_X - 95 * d
    cy = REST_Y - 70 * d + 40 * d * e   # an arc: it dips, then glides in
    return cx, cy, 1 - 0.72 * d, 0.14 * d


def frame(f):
    cv = Canvas()
    draw_stars(cv, f)

    # 0-11: the flight in from afar, top left; 12-14: the bounce on landing.
    cx, cy, scale, tilt = flight(f)
    cy += {12: 3, 13: -1.5, 14: 0.5}.get(f, 0)
    if 0 < f < 12:
        # Speed lines trail behind, as long as the last frame's move.
        px, py, _, _ = flight(f - 1)
        vx, vy = cx - px, cy - py
        v = math.sqrt(vx * vx + vy * vy)
        dx, dy = vx / v, vy / v
        back = (EW / 2 * abs(dx) + EH / 2 * abs(dy)) * scale + 3
        for off, k in ((-0.3, 0.8), (0, 1.2), (0.3, 0.8)):
            sx = cx - dx * back - dy * off * EH * scale
            sy = cy - dy * back + dx * off * EH * scale
            length = 1.6 * v * k
            if length >= 3:
                cv.line(sx - dx * length, sy - dy * length, sx, sy, 1.6, WHITE)

    # 14-21: the flap lifts; 20-28: the lark rises; 27-31: the badge pops.
    flap = (f - 14) / 7
    env = draw_envelope(cv, cx, cy, scale, tilt, flap)
    flap_open = env[3] < -EH / 2
    if flap_open:
        rise = ease_out((f - 20) / 8) + 0.12 * smooth((f - 24) / 2) * (1 - smooth((f - 26) / 3))
        lark_y = REST_Y - EH / 2 + 44 - 48 * rise
        cv.bottom = REST_Y + EH // 2   # the lark stays inside the envelope
        draw_lark(cv, REST_X + 4, lark_y, eye_open=f not in (31, 32))
        cv.bottom = H
    draw_pocket(cv, env, flap_open)
    r = {27: 4, 28: 9, 29: 13, 30: 12}.get(f, 11 if f > 30 else 0)
    draw_badge(cv, REST_X + EW / 2 - 4, REST_Y - EH / 2 + 2, r)
    return cv.px


# --- Microsoft RLE 8-bit ---------------------------------------------------

def rle8(rows):
    """Encodes rows (top row first) bottom-up, as DIBs are stored."""
    out = bytearray()
    for i, row in enumerate(reversed(rows)):
        runs = []
        x = 0
        while x < W:
            n = 1
            while x + n < W and row[x + n] == row[x] and n < 255:
                n += 1
            runs.append((n, row[x]))
            x += n
        single = []

        def flush():
            # Three or more lone pixels cost less as one absolute run.
            while single:
                chunk = single[:255]
                del single[:255]
                if len(chunk) >= 3:
                    out.extend((0, len(chunk)))
                    out.extend(chunk)
                    if len(chunk) & 1:
                        out.append(0)   # absolute runs end on a word boundary
                else:
                    for v in chunk:
                        out.extend((1, v))

        for n, v in runs:
            if n == 1:
                single.append(v)
            else:
                flush()
                out.extend((n, v))
        flush()
        out.extend((0, 1) if i == H - 1 else (0, 0))   # end of bitmap / of line
    return bytes(out)


# --- AVI 1.0 ---------------------------------------------------------------

def chunk(fourcc, data):
    return fourcc + struct.pack("<I", len(data)) + data + (b"\0" if len(data) & 1 else b"")


def riff_list(kind, fourcc, body):
    return kind + struct.pack("<I", len(body) + 4) + fourcc + body


def avi(frames):
    AVIF_HASINDEX = 0x10
    AVIIF_KEYFRAME = 0x10
    usec = round(1_000_000 / FPS)
    biggest = max(len(fr) for fr in frames)
    buffer = biggest + (biggest & 1)
    per_sec = -(-biggest * FPS // 1)

    avih = struct.pack("<14I", usec, per_sec, 0, AVIF_HASINDEX, len(frames), 0, 1, buffer, W, H, 0, 0, 0, 0)
    strh = struct.pack("<4s4sIHHIIIIIIIIhhhh", b"vids", b"mrle", 0, 0, 0, 0, 1, FPS, 0, len(frames),
                       buffer, 0xFFFFFFFF, 0, 0, 0, W, H)
    bih = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 8, 1, W * H, 0, 0, 256, 0)   # 1: BI_RLE8
    pal = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in PALETTE + [(0, 0, 0)] * (256 - len(PALETTE)))
    strl = riff_list(b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", bih + pal))
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) + strl)

    movi, index = b"", b""
    for fr in frames:
        index += struct.pack("<4sIII", b"00dc", AVIIF_KEYFRAME, 4 + len(movi), len(fr))
        movi += chunk(b"00dc", fr)
    body = hdrl + riff_list(b"LIST", b"movi", movi) + chunk(b"idx1", index)
    return riff_list(b"RIFF", b"AVI ", body)


def main():
    frames = [rle8(frame(f)) for f in range(FRAMES)]
    data = avi(frames)
    out = pathlib.Path(__file__).resolve().parent.parent / "src" / "app" / "mail.avi"
    out.write_bytes(data)
    print(f"wrote {out} ({len(data)} bytes, {FRAMES} frames of {W} x {H} at {FPS} fps, "
          f"largest frame {max(map(len, frames))} bytes)")


if __name__ == "__main__":
    main()
