#!/usr/bin/python3
"""The HTML report in a real browser: headless Chromium opens a report that
the dalvenor tool wrote for a bundled wave, straight from disk.

Usage: report_browser_test.py DALVENOR_TOOL WAVE_FILE

Each page load runs under a time limit. Chromium's console must stay
silent (the page logs nothing, so any console line is a script error or
warning), and the page's own error counter must read 0.
"""

import html.parser
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zlib

CHROMIUM = "/usr/bin/chromium"
TIMEOUT_SECONDS = 90
CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
    "--no-first-run", "--disable-background-networking",
    "--disable-component-update", "--disable-sync",
    "--enable-logging=stderr", "--v=0", "--virtual-time-budget=5000",
]


class Element:
    def __init__(self, tag, attrs):
        self.tag = tag
        self.attrs = dict(attrs)
        self.classes = set((self.attrs.get("class") or "").split())


class DomIndex(html.parser.HTMLParser):
    """Every element of a dumped DOM with its attributes, in document
    order."""

    def __init__(self, text):
        super().__init__()
        self.text = text
        self.elements = []
        self.feed(text)

    def handle_starttag(self, tag, attrs):
        self.elements.append(Element(tag, attrs))

    def find(self, **attrs):
        return [e for e in self.elements
                if all(e.attrs.get(k) == v for k, v in attrs.items())]


def png_pixels(path):
    """Width, height and the RGB(A) rows of an 8-bit PNG (colour types 2
    and 6, not interlaced), undoing the scanline filters."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(
                ">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("unexpected PNG format")
    step = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            a = line[i - step] if i >= step else 0
            b = previous[i]
            c = previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else b if pb <= pc else c
                line[i] = (line[i] + pred) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, step, rows


class ReportInBrowserTest(unittest.TestCase):
    tool = None
    wave = None

    @classmethod
    def setUpClass(cls):
        if not os.access(CHROMIUM, os.X_OK):
            raise RuntimeError(CHROMIUM + " is missing: run scripts/setup.sh")
        cls.work = tempfile.mkdtemp(prefix="dalvenor_report_browser_")
        cls.report = os.path.join(cls.work, "report.html")
        result = subprocess.run(
            [cls.tool, "report", cls.wave, "--quiet", "--out", cls.report],
            capture_output=True, text=True, timeout=TIMEOUT_SECONDS)
        if result.returncode != 0:
            raise RuntimeError("dalvenor report failed: " + result.stderr)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def chromium(self, fragment, *flags):
        """Runs Chromium on the report with its own empty profile; returns
        its standard output and its console lines."""
        profile = tempfile.mkdtemp(dir=self.work)
        result = subprocess.run(
            [CHROMIUM, *CHROMIUM_FLAGS, "--user-data-dir=" + profile, *flags,
             "file://" + self.report + fragment],
            capture_output=True, text=True, timeout=TIMEOUT_SECONDS)
        self.assertEqual(result.returncode, 0, result.stderr[-2000:])
        console = [line for line in result.stderr.splitlines()
                   if ":CONSOLE" in line]
        return result.stdout, console

    def loaded_dom(self, fragment):
        dom, console = self.chromium(fragment, "--dump-dom")
        self.assertEqual(console, [])
        page = DomIndex(dom)
        root = [e for e in page.elements if e.tag == "html"][0]
        body = [e for e in page.elements if e.tag == "body"][0]
        self.assertEqual(root.attrs.get("data-errors"), "0",
                         root.attrs.get("data-last-error"))
        self.assertEqual(body.attrs.get("data-ready"), "yes")
        return page, body

    def highlighted(self, page):
        return [e for e in page.elements
                if "walk" in e.classes and "sel" in e.classes]

    def test_a_cart_in_the_fragment_is_the_one_highlighted_walk(self):
        page, body = self.loaded_dom("#cart-3")
        walks = [e for e in page.elements if "walk" in e.classes]
        self.assertGreater(len(walks), 3)
        selected = self.highlighted(page)
        self.assertEqual([e.attrs["id"] for e in selected], ["walk-cart-3"])
        self.assertIn("has-sel", body.classes)
        self.assertEqual(body.attrs.get("data-view"), "plan")
        # Its stops are shown and numbered, its pick list unhidden.
        stops = page.find(id="stops-cart-3")[0]
        self.assertIn("sel", stops.classes)
        markers = page.text.split('id="stops-cart-3"')[1].split("</g>")[0]
        self.assertGreater(markers.count("<circle"), 0)
        detail = page.find(id="detail-cart-3")[0]
        self.assertNotIn("hidden", detail.attrs)
        self.assertEqual(
            [e.attrs["id"] for e in page.elements
             if e.tag == "section" and "detail" in e.classes
             and "hidden" not in e.attrs], ["detail-cart-3"])

    def test_a_recorded_walk_is_shown_beside_the_plan(self):
        page, body = self.loaded_dom("#rec-2")
        self.assertEqual([e.attrs["id"] for e in self.highlighted(page)],
                         ["walk-rec-2"])
        self.assertEqual(body.attrs.get("data-view"), "both")

    def test_the_screenshot_shows_a_drawn_page(self):
        shot = os.path.join(self.work, "report.png")
        _, console = self.chromium("#cart-3", "--window-size=1000,700",
                                   "--screenshot=" + shot)
        self.assertEqual(console, [])
        width, height, step, rows = png_pixels(shot)
        self.assertEqual((width, height), (1000, 700))
        colours, background = set(), 0
        for row in rows:
            for x in range(0, width * step, step):
                pixel = row[x:x + 3]
                colours.add(pixel)
                if pixel == b"\xff\xff\xff":
                    background += 1
        # A blank page is one colour; the plan, its racks, walks and text
        # give many, and cover a good part of the page.
        self.assertGreater(len(colours), 100)
        self.assertLess(background, 0.8 * width * height)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    ReportInBrowserTest.tool, ReportInBrowserTest.wave = sys.argv[1:3]
    unittest.main(argv=sys.argv[:1], verbosity=2)
