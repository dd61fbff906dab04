#!/usr/bin/python3
"""Draws the panel's pictures as SVG files under resources/art/.

Text is turned into outlines here, so the pictures look the same on every machine whatever
fonts it has. Needs fontTools (Debian: python3-fonttools) and the Open Sans fonts
(Debian: fonts-open-sans). Run it after changing the palette, a picture or layout.json:

    /usr/bin/python3 resources/tools/make_art.py
"""

import json
import os
import sys

from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

ART_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "art")
FONT_DIR = "/usr/share/fonts/truetype/open-sans"

# Palette: one place for every colour the pictures use.
BODY_TOP = "#25282d"
BODY_BOTTOM = "#1b1d21"
SECTION = "#181a1e"
SECTION_EDGE = "#30353c"
WELL = "#0c0d0f"
WELL_EDGE = "#3a3f46"
GLASS = "#0a0c0e"
GLASS_EDGE = "#3b4148"
STRIP = "#121417"
LABEL = "#cdd2d9"
HEADER = "#8b95a1"
RULE = "#3a4048"
ACCENT = "#91c04a"  # the title's green
SETTINGS_GREY = "#595959"  # the settings bar clears its field to this grey
KEY_COLOUR = "#ff00ff"  # knob thumb surroundings, made transparent by the knob

LENS = {
    "green": ("#c8f58f", "#6cc22e", "#2f6a12"),
    "amber": ("#ffe3a0", "#f5a623", "#8a5208"),
    "red": ("#ffb0a6", "#f0392b", "#7a130c"),
    "yellow": ("#fff4c2", "#f2d24b", "#8f7413"),
    "blue": ("#d2ecff", "#3d9be9", "#123e70"),
}


class Font:
    """Glyph outlines of one TrueType face, laid out left to right without kerning."""

    def __init__(self, file_name):
        self.font = TTFont(os.path.join(FONT_DIR, file_name))
        self.glyphs = self.font.getGlyphSet()
        self.cmap = self.font.getBestCmap()
        self.units_per_em = self.font["head"].unitsPerEm
        self.cap_height = self.font["OS/2"].sCapHeight / self.units_per_em
        self.metrics = self.font["hmtx"].metrics

    def advance(self, char, size):
        name = self.cmap.get(ord(char), ".notdef")
        return self.metrics[name][0] * size / self.units_per_em

    def width(self, text, size, spacing=0.0):
        if not text:
            return 0.0
        return sum(self.advance(c, size) for c in text) + spacing * (len(text) - 1)

    def path(self, text, size, x, baseline, spacing=0.0):
        pen = SVGPathPen(self.glyphs, ntos=lambda v: ("%.2f" % v).rstrip("0").rstrip("."))
        scale = size / self.units_per_em
        pen_x = x
        for char in text:
            name = self.cmap.get(ord(char), ".notdef")
            transform = (scale, 0, 0, -scale, pen_x, baseline)
            self.glyphs[name].draw(TransformPen(pen, transform))
            pen_x += self.advance(char, size) + spacing
        return pen.getCommands()


REGULAR = Font("OpenSans-Regular.ttf")
SEMIBOLD = Font("OpenSans-Semibold.ttf")
BOLD = Font("OpenSans-Bold.ttf")
EXTRABOLD = Font("OpenSans-ExtraBold.ttf")
CONDENSED = Font("OpenSans-CondBold.ttf")


def text(content, font, size, x, y, fill, anchor="start", spacing=0.0, middle=False):
    """Outlined text; x is the start, centre or end by anchor; y the baseline or, with
    middle, the vertical centre of the capitals."""
    width = font.width(content, size, spacing)
    if anchor == "middle":
        x -= width / 2
    elif anchor == "end":
        x -= width
    if middle:
        y += font.cap_height * size / 2
    return '<path fill="%s" d="%s"/>' % (fill, font.path(content, size, x, y, spacing))


def rect(x, y, w, h, fill, rx=0, stroke=None, stroke_width=1, extra=""):
    stroke_part = ' stroke="%s" stroke-width="%g"' % (stroke, stroke_width) if stroke else ""
    return '<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"%s%s/>' % (
        x, y, w, h, rx, fill, stroke_part, extra)


def line(x1, y1, x2, y2, stroke, width=1):
    return '<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="%s" stroke-width="%g"/>' % (
        x1, y1, x2, y2, stroke, width)


def circle(cx, cy, r, fill, stroke=None, stroke_width=1):
    stroke_part = ' stroke="%s" stroke-width="%g"' % (stroke, stroke_width) if stroke else ""
    return '<circle cx="%g" cy="%g" r="%g" fill="%s"%s/>' % (cx, cy, r, fill, stroke_part)


def vertical_gradient(gradient_id, stops):
    parts = ['<linearGradient id="%s" x1="0" y1="0" x2="0" y2="1">' % gradient_id]
    for offset, colour in stops:
        parts.append('<stop offset="%g" stop-color="%s"/>' % (offset, colour))
    parts.append("</linearGradient>")
    return "".join(parts)


def radial_gradient(gradient_id, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
    fx = cx if fx is None else fx
    fy = cy if fy is None else fy
    parts = ['<radialGradient id="%s" cx="%g" cy="%g" r="%g" fx="%g" fy="%g">' % (
        gradient_id, cx, cy, r, fx, fy)]
    for stop in stops:
        offset, colour = stop[0], stop[1]
        opacity = stop[2] if len(stop) > 2 else 1
        parts.append('<stop offset="%g" stop-color="%s" stop-opacity="%g"/>' % (
            offset, colour, opacity))
    parts.append("</radialGradient>")
    return "".join(parts)


def svg(width, height, defs, body):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            'width="%d" height="%d" viewBox="0 0 %d %d">\n<defs>%s</defs>\n%s\n</svg>\n' % (
                width, height, width, height, "".join(defs), "\n".join(body)))


# ---------------------------------------------------------------------------------------
# Small parts shared by several pictures


def lens(prefix, cx, cy, r, colour):
    """A lit round lamp lens with its glow."""
    light, mid, dark = LENS[colour]
    defs = [
        radial_gradient(prefix + "Glow", [(0, mid, 0.9), (0.55, mid, 0.33), (1, mid, 0)]),
        radial_gradient(prefix + "Lens", [(0, light), (0.45, mid), (1, dark)],
                        cx=0.42, cy=0.38, r=0.62),
    ]
    body = [
        circle(cx, cy, r * 1.75, "url(#%sGlow)" % prefix),
        circle(cx, cy, r, "url(#%sLens)" % prefix, stroke="#000000", stroke_width=0.8),
        '<ellipse cx="%g" cy="%g" rx="%g" ry="%g" fill="#ffffff" fill-opacity="0.35"/>' % (
            cx - r * 0.25, cy - r * 0.45, r * 0.45, r * 0.25),
    ]
    return defs, body


def dark_lens(cx, cy, r):
    return [circle(cx, cy, r, "#17191c", stroke="#000000", stroke_width=0.8),
            '<ellipse cx="%g" cy="%g" rx="%g" ry="%g" fill="#ffffff" fill-opacity="0.06"/>' % (
                cx - r * 0.25, cy - r * 0.45, r * 0.45, r * 0.25)]


# ---------------------------------------------------------------------------------------
# Toggle key faces, 32 x 32: a key cap seated in its well.


def key_face(face, lit_colour=None):
    defs = [vertical_gradient("cap", [(0, "#464b53"), (1, "#2a2d33")]),
            vertical_gradient("face", [(0, "#2b2f35"), (1, "#33373e")])]
    body = [rect(0, 0, 32, 32, WELL)]
    if face == "square":
        body.append(rect(2, 2, 28, 28, "url(#cap)", rx=4, stroke="#08090a", stroke_width=1))
        body.append(line(6, 2.9, 26, 2.9, "#ffffff", 0.6).replace("/>", ' stroke-opacity="0.25"/>'))
        window = (6, 6, 20, 20, 2.5)
    else:
        body.append(circle(16, 16, 14, "url(#cap)", stroke="#08090a", stroke_width=1))
        window = None
    if lit_colour is None:
        if window:
            body.append(rect(*window[:4], "url(#face)", rx=window[4], stroke="#15171a",
                             stroke_width=0.8))
        else:
            body.append(circle(16, 16, 9.5, "url(#face)", stroke="#15171a", stroke_width=0.8))
        return svg(32, 32, defs, body)
    light, mid, dark = LENS[lit_colour]
    defs.append(radial_gradient("lit", [(0, light), (0.5, mid), (1, dark)], r=0.7))
    defs.append(radial_gradient("halo", [(0, mid, 0.66), (1, mid, 0)]))
    if window:
        body.append(rect(3, 3, 26, 26, "url(#halo)", rx=4))
        body.append(rect(*window[:4], "url(#lit)", rx=window[4], stroke=dark, stroke_width=0.8))
        body.append(rect(8, 7.5, 16, 4, "#ffffff", rx=2, extra=' fill-opacity="0.28"'))
    else:
        body.append(circle(16, 16, 13, "url(#halo)"))
        body.append(circle(16, 16, 9.5, "url(#lit)", stroke=dark, stroke_width=0.8))
        body.append('<ellipse cx="14" cy="11.5" rx="5" ry="2.5" fill="#ffffff" '
                    'fill-opacity="0.3"/>')
    return svg(32, 32, defs, body)


# ---------------------------------------------------------------------------------------
# Buttons of the screen area


def push_button(width, height, lit):
    if lit:
        defs = [vertical_gradient("face", [(0, "#5a8d2c"), (0.5, "#3f6c1c"), (1, "#2f5414")])]
        edge, highlight = "#a6d465", "#c8f58f"
    else:
        defs = [vertical_gradient("face", [(0, "#434850"), (0.5, "#34383f"), (1, "#2a2d33")])]
        edge, highlight = "#121417", "#5d636c"
    body = [
        rect(0, 0, width, height, WELL),
        rect(1, 1, width - 2, height - 2, "url(#face)", rx=4, stroke=edge, stroke_width=1),
        line(5, 2.2, width - 5, 2.2, highlight, 0.8).replace("/>", ' stroke-opacity="0.6"/>'),
    ]
    return svg(width, height, defs, body)


# ---------------------------------------------------------------------------------------
# Knob track and thumb


def knob_track():
    height, thumb_height = 87, 11
    half = thumb_height // 2
    travel = height - thumb_height
    rows = [int(p / 10 * travel) + half for p in range(11)]
    defs = [vertical_gradient("slot", [(0, "#000000"), (1, "#0d0f11")])]
    body = [rect(0, 0, 34, height, SECTION),
            rect(14, 3, 6, height - 6, "url(#slot)", rx=3, stroke="#2d3137", stroke_width=0.8)]
    for position, row in enumerate(rows):
        y = row + 0.5
        if position == 5:
            body.append(line(2, y, 11, y, ACCENT, 1.4))
            body.append(line(23, y, 32, y, ACCENT, 1.4))
        else:
            length = 6 if position in (0, 10) else 4
            body.append(line(11 - length, y, 11, y, "#6a727c", 1))
            body.append(line(23, y, 23 + length, y, "#6a727c", 1))
    return svg(34, height, defs, body)


def knob_thumb():
    defs = [vertical_gradient("cap", [(0, "#eef1f4"), (0.45, "#c3c9d0"), (1, "#7d848d")])]
    body = [rect(1, 0.5, 32, 10, "url(#cap)", rx=2.5, stroke="#2a2d31", stroke_width=1),
            rect(2, 5, 30, 1.2, ACCENT)]
    return svg(34, 11, defs, body)


# ---------------------------------------------------------------------------------------
# Lamps and indicators


def indicator(colour):
    defs, body = lens("ind", 16, 16, 9, colour)
    return svg(32, 32, defs, [rect(0, 0, 32, 32, WELL)] + body)


def on_line_lamp(unit):
    defs, body = lens("lamp", 7.5, 7.5, 6.5, "green")
    body = [rect(0, 0, 15, 15, STRIP)] + body[1:]
    body.append(text(str(unit), BOLD, 9, 7.5, 7.5, "#10240a", anchor="middle", middle=True))
    return svg(15, 15, defs, body)


# ---------------------------------------------------------------------------------------
# Model badges, 200 x 28


MODEL_BADGES = {
    146: ("KX-4", "COMPACT KEYER"),
    163: ("KX-5", "COMPACT KEYER"),
    162: ("KX-7", "COMPACT KEYER"),
    161: ("KX-9", "COMPACT KEYER"),
    176: ("KX-11", "STUDIO KEYER"),
    177: ("KX-80", "STUDIO KEYER"),
    178: ("KX-81", "STUDIO KEYER"),
    206: ("KX-177", "STUDIO KEYER"),
}


def badge(name, family):
    defs = [vertical_gradient("plate", [(0, "#2e333a"), (1, "#1c1f24")])]
    body = [rect(0, 0, 200, 28, GLASS),
            rect(0.5, 0.5, 199, 27, "url(#plate)", rx=4, stroke="#4a515a", stroke_width=1)]
    if name is None:
        body.append(text("NO UNIT SELECTED", SEMIBOLD, 10, 100, 14, HEADER, anchor="middle",
                         spacing=1.6, middle=True))
        return svg(200, 28, defs, body)
    body.append(rect(8, 8, 3, 12, ACCENT, rx=1))
    body.append(text(name, EXTRABOLD, 15, 18, 14, "#eef1f4", middle=True, spacing=0.4))
    body.append(text(family, SEMIBOLD, 8.5, 190, 14, ACCENT, anchor="end", spacing=1.4,
                     middle=True))
    return svg(200, 28, defs, body)


# ---------------------------------------------------------------------------------------
# Information line, 458 x 82


def info_line():
    defs = [vertical_gradient("glass", [(0, "#10151a"), (1, "#080a0c")])]
    body = [rect(0, 0, 458, 82, "url(#glass)"),
            rect(0.5, 0.5, 457, 81, "none", rx=3, stroke=GLASS_EDGE, stroke_width=1),
            line(3, 1.8, 455, 1.8, "#ffffff", 0.6).replace("/>", ' stroke-opacity="0.06"/>')]
    return svg(458, 82, defs, body)


# ---------------------------------------------------------------------------------------
# About background


def about_background(width, height):
    """Light paper: the About text is drawn over it in the default black."""
    footer = 18
    defs = [vertical_gradient("paper", [(0, "#f3f5f7"), (1, "#dde2e7")])]
    body = [rect(0, 0, width, height, "url(#paper)"),
            rect(0, 0, width, 4, ACCENT),
            rect(0, height - footer, width, footer, BODY_BOTTOM),
            rect(0, height - footer, width, 1.5, ACCENT),
            text("KORVANTHE", EXTRABOLD, 9, 12, height - footer / 2 + 0.75, "#dfe3e8",
                 spacing=2.4, middle=True),
            text("VIRTUAL CONTROL PANEL", SEMIBOLD, 8, width - 12, height - footer / 2 + 0.75,
                 HEADER, anchor="end", spacing=1.8, middle=True)]
    return svg(width, height, defs, body)


# ---------------------------------------------------------------------------------------
# Application icon and the routing note icon


def application_icon():
    defs = [vertical_gradient("body", [(0, "#343941"), (1, "#16181c")]),
            vertical_gradient("cap", [(0, "#eef1f4"), (1, "#9aa1aa")])]
    body = [rect(1, 1, 30, 30, "url(#body)", rx=6, stroke="#0b0c0e", stroke_width=1)]
    for index, (x, thumb_y) in enumerate(((9, 16), (16, 9), (23, 20))):
        body.append(rect(x - 1, 6, 2, 20, "#050607", rx=1))
        body.append(rect(x - 3.5, thumb_y - 2, 7, 4, "url(#cap)", rx=1))
        body.append(rect(x - 3, thumb_y - 0.4, 6, 0.8, ACCENT if index == 1 else "#3a3f46"))
    return svg(32, 32, defs, body)


def note_icon():
    defs = [vertical_gradient("sign", [(0, "#ffd36b"), (1, "#e39a16")])]
    body = ['<path d="M16 3 L30 28 L2 28 Z" fill="url(#sign)" stroke="#6b4606" '
            'stroke-width="1.2" stroke-linejoin="round"/>',
            rect(14.6, 11, 2.8, 10, "#2a1c02", rx=1.2),
            circle(16, 24.2, 1.6, "#2a1c02")]
    return svg(32, 32, defs, body)


# ---------------------------------------------------------------------------------------
# The panel skin, 1280 x 760


def well(x, y, w, h, margin=3, rx=5):
    return rect(x - margin, y - margin, w + 2 * margin, h + 2 * margin, WELL, rx=rx,
                stroke=WELL_EDGE, stroke_width=0.8)


def section(x, y, w, h, fill=SECTION):
    return rect(x + 0.5, y + 0.5, w - 1, h - 1, fill, rx=6, stroke=SECTION_EDGE, stroke_width=1)


def header(content, x, baseline):
    return text(content, SEMIBOLD, 9, x, baseline, HEADER, spacing=1.5)


def ruled_header(content, x1, baseline, x2):
    width = SEMIBOLD.width(content, 9, 1.5)
    return [header(content, x1, baseline),
            line(x1 + width + 6, baseline - 3.5, x2, baseline - 3.5, RULE, 1)]


# Labels wider than this would crowd the panel edge or the knob bezels; they are condensed.
KEY_LABEL_MAX_WIDTH = 60


def key_label(content, rect_xywh):
    x, y, w, h = rect_xywh
    font, size = BOLD, 10
    if font.width(content, size, 0.5) > KEY_LABEL_MAX_WIDTH:
        font, size = CONDENSED, 10.5
    return text(content, font, size, x + w / 2, y + h + 14, LABEL, anchor="middle", spacing=0.5)


def skin(layout):
    defs = [vertical_gradient("body", [(0, BODY_TOP), (1, BODY_BOTTOM)]),
            vertical_gradient("glass", [(0, "#12171c"), (1, GLASS)])]
    body = [rect(0, 0, 1280, 760, "url(#body)"),
            rect(0.5, 0.5, 1279, 759, "none", stroke="#0b0c0e", stroke_width=1)]

    maker = layout["maker"]
    mx, my = maker["origin"]
    body.append(text(maker["text"], EXTRABOLD, 22, mx, my, "#dfe3e8", spacing=3.2))
    body.append(rect(mx, my + 8, 26, 2.5, ACCENT))
    body.append(text(maker["subtitle"], SEMIBOLD, 9, mx + 34, my + 12.5, HEADER, spacing=2.2))

    body.append(section(12, 100, 352, 610))
    for key in layout["keys"]:
        body.append(well(*key["rect"]))
        body.append(key_label(key["label"], key["rect"]))
    for lamp in layout["indicators"]:
        x, y, w, h = lamp["rect"]
        body.append(well(x, y, w, h))
        body.extend(dark_lens(x + w / 2, y + h / 2, 9))
    for item in layout["headers"]:
        if "rule" in item:
            x1, baseline, x2 = item["rule"]
            body.extend(ruled_header(item["text"], x1, baseline, x2))
        else:
            x, y, w, h = item["rect"]
            body.append(text(item["text"], SEMIBOLD, 9, x + w, y + h / 2, HEADER, anchor="end",
                             spacing=1.5, middle=True))

    for knob, display in zip(layout["knobs"], layout["displays"]):
        kx, ky, kw, kh = knob["rect"]
        dx, dy, dw, dh = display["rect"]
        left, right = min(kx, dx) - 8, max(kx + kw, dx + dw) + 8
        body.append(section(left, ky - 8, right - left, dh + 30))
        body.append(well(kx, ky, kw, kh, margin=2, rx=3))
        body.append(well(dx, dy, dw, dh, margin=2, rx=3))
        body.append(text(knob["label"], BOLD, 10, kx + kw / 2, ky + kh + 14, HEADER,
                         anchor="middle"))

    screen = layout["screen"]
    gx, gy, gw, gh = screen["glass"]
    body.append(rect(gx - 3, gy - 3, gw + 6, gh + 6, "#2b3036", rx=8, stroke="#0b0c0e"))
    body.append(rect(gx, gy, gw, gh, "url(#glass)", rx=5, stroke=GLASS_EDGE))
    body.append(well(*screen["badge"], margin=1, rx=5))

    for area in layout["areas"]:
        x, y, w, h = area["rect"]
        body.append(section(x, y, w, h))
        body.append(header(area["text"], x + 12, y + 17))
    for button in layout["menuButtons"]:
        body.append(well(*button["rect"], margin=2, rx=5))
    first, last = layout["functionButtons"][0]["rect"], layout["functionButtons"][-1]["rect"]
    body.append(well(first[0], first[1], last[0] + last[2] - first[0], first[3], margin=2, rx=5))
    body.append(well(*layout["infoLine"], margin=2, rx=4))

    strip = layout["statusStrip"]
    body.append(section(*strip["rect"], fill=STRIP))
    for unit, (x, y, w, h) in enumerate(strip["onLineLamps"], start=1):
        body.append(circle(x + w / 2, y + h / 2, w / 2 - 1, "#1d2024", stroke="#30353b"))
        body.append(text(str(unit), BOLD, 9, x + w / 2, y + h / 2, "#4a5058", anchor="middle",
                         middle=True))
    x, y, w, h = strip["selectedLamp"]
    body.append(circle(x + w / 2, y + h / 2, w / 2 - 1, "#1d2024", stroke="#30353b"))
    for place in (strip["swatch"], strip["darkLamp"]):
        x, y, w, h = place
        body.append(rect(x - 2, y - 2, w + 4, h + 4, WELL, rx=6, stroke=WELL_EDGE,
                         stroke_width=0.8))
    for label in strip["labels"]:
        x, y, w, h = label["before"]
        body.append(text(label["text"], SEMIBOLD, 9, x - 7, y + h / 2, HEADER, anchor="end",
                         spacing=1.5, middle=True))

    settings = layout["settingsStrip"]
    body.append(section(*settings["rect"], fill=STRIP))
    fx, fy, fw, fh = settings["field"]
    body.append(rect(fx - 2, fy - 2, fw + 4, fh + 4, SETTINGS_GREY, rx=2, stroke=WELL_EDGE,
                     stroke_width=0.8))
    body.append(text(settings["label"], SEMIBOLD, 9, fx - 9, fy + fh / 2, HEADER,
                     anchor="end", spacing=1.5, middle=True))

    product = layout["productName"]
    px, py = product["centre"]
    body.append(text(product["text"], SEMIBOLD, 11, px, py, "#6f7a86", anchor="middle",
                     spacing=4.0))
    return svg(1280, 760, defs, body)


# ---------------------------------------------------------------------------------------


def pictures(layout):
    result = {
        128: application_icon(),
        136: info_line(),
        152: skin(layout),
        157: push_button(74, 33, lit=False),
        158: about_background(364, 492),
        159: push_button(76, 35, lit=True),
        160: push_button(76, 35, lit=False),
        175: badge(None, None),
        184: key_face("square", "green"),
        185: key_face("square"),
        186: key_face("square", "red"),
        187: key_face("square", "blue"),
        188: key_face("square", "amber"),
        190: knob_thumb(),
        192: knob_track(),
        203: key_face("round", "yellow"),
        204: key_face("round"),
        205: note_icon(),
        210: indicator("red"),
        211: indicator("amber"),
    }
    for resource_id, unit in zip((144, 148, 149, 150), range(1, 5)):
        result[resource_id] = on_line_lamp(unit)
    for resource_id, (name, family) in MODEL_BADGES.items():
        result[resource_id] = badge(name, family)
    return result


def main():
    with open(os.path.join(ART_DIR, "layout.json"), encoding="utf-8") as source:
        layout = json.load(source)
    drawn = pictures(layout)
    for resource_id, content in sorted(drawn.items()):
        with open(os.path.join(ART_DIR, "%d.svg" % resource_id), "w", encoding="utf-8") as out:
            out.write(content)
    with open(os.path.join(ART_DIR, "..", "art.qrc"), "w", encoding="utf-8") as qrc:
        qrc.write('<RCC>\n    <qresource prefix="/art">\n')
        for resource_id in sorted(drawn):
            qrc.write('        <file alias="%d.svg">art/%d.svg</file>\n' % (resource_id, resource_id))
        qrc.write("    </qresource>\n</RCC>\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
