#!/usr/bin/python3
"""How far the drawn walls of vortalis-report's DXF and SVG lie from the true
tractrix, computed here on its own:
    x(r) = a ln((a + sqrt(a^2 - r^2)) / r) - sqrt(a^2 - r^2)   from the mouth,
a = c / (2 pi fc), c = 340 m/s. A rectangular horn's built area is pi r^2 / k;
a flat side 1A - 1B grows linearly from the throat to the mouth, and
side 2A - 2B is the area over side 1A - 1B.

Usage: curve_accuracy.py TOOL   (exit 1 when a wall is off by 0.05 mm or more,
or ezdxf's audit finds anything to fix)."""
import math
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import ezdxf

TOLERANCE_MM = 0.05
SAMPLES = 24  # true-curve points per drawn segment


class Tractrix:
    def __init__(self, fc, throat_radius):
        self.a = 340000.0 / (2.0 * math.pi * fc)  # mm
        self.length = self.from_mouth(throat_radius)

    def from_mouth(self, r):
        s = math.sqrt(max(self.a * self.a - r * r, 0.0))
        return self.a * math.log((self.a + s) / r) - s

    def distance(self, r):  # from the throat
        return self.length - self.from_mouth(r)

    def radius(self, x):  # bisection: distance(r) rises with r
        lo, hi = 1e-9 * self.a, self.a
        for _ in range(200):
            mid = 0.5 * (lo + hi)
            if self.distance(mid) < x:
                lo = mid
            else:
                hi = mid
        return 0.5 * (lo + hi)


class Circular:
    def __init__(self, fc, throat):
        self.horn = Tractrix(fc, throat)

    def curves(self):
        return {"WALL": lambda r: (self.horn.distance(r), r)}


class Rectangular:
    """Sides keeping the throat's ratio: each a scaled tractrix."""

    def __init__(self, fc, side1, side2, k):
        self.k = k
        self.ratio = side1 / side2
        self.horn = Tractrix(fc, math.sqrt(side1 * side2 * k / math.pi))

    def curves(self):
        def sides(r, first):
            area = math.pi * r * r / self.k
            d1 = math.sqrt(area * self.ratio)
            return self.horn.distance(r), (d1 if first else area / d1) / 2

        return {"SIDES_1A_1B": lambda r: sides(r, True), "SIDES_2A_2B": lambda r: sides(r, False)}


class FlatRectangular:
    def __init__(self, fc, side1, side2, flat_mouth, k):
        self.k = k
        self.side1 = side1
        self.horn = Tractrix(fc, math.sqrt(side1 * side2 * k / math.pi))
        self.flat_mouth = flat_mouth

    def first(self, x):
        return self.side1 + (self.flat_mouth - self.side1) * x / self.horn.length

    def curves(self):
        def sides1(r):
            x = self.horn.distance(r)
            return x, self.first(x) / 2

        def sides2(r):
            x = self.horn.distance(r)
            return x, math.pi * r * r / self.k / self.first(x) / 2

        return {"SIDES_1A_1B": sides1, "SIDES_2A_2B": sides2}


def segment_distance(p, a, b):
    dx, dy = b[0] - a[0], b[1] - a[1]
    length2 = dx * dx + dy * dy
    along = (p[0] - a[0]) * dx + (p[1] - a[1]) * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, along / length2))
    return math.hypot(p[0] - a[0] - t * dx, p[1] - a[1] - t * dy)


def largest_gap(horn, curve, points):
    """The true curve between each two vertices, its largest distance from the polyline."""
    worst = 0.0
    radii = [horn.horn.radius(x) for x, _ in points]
    for i in range(len(points) - 1):
        r0, r1 = radii[i], radii[i + 1]
        near = points[max(0, i - 1):i + 3]
        for j in range(SAMPLES + 1):
            p = curve(r0 + (r1 - r0) * j / SAMPLES)
            worst = max(worst, min(segment_distance(p, near[k], near[k + 1])
                                   for k in range(len(near) - 1)))
    return worst


def dxf_walls(path, mm_per_unit):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    fixes = len(auditor.fixes) + len(auditor.errors)
    walls = {}
    for e in doc.modelspace().query("LWPOLYLINE"):
        points = [(p[0] * mm_per_unit, p[1] * mm_per_unit) for p in e.get_points("xy")]
        if min(y for _, y in points) >= 0 and e.dxf.layer != "PROFILE":
            walls[e.dxf.layer] = points
    return walls, fixes


SVG_COLOURS = {"#000000": "WALL", "#0046c8": "SIDES_1A_1B", "#008c3c": "SIDES_2A_2B"}


def svg_walls(path):
    """The upper polylines of the wall pens, joined, in drawing millimetres (y up)."""
    walls = {}

    def visit(node, matrix, stroke):
        stroke = node.get("stroke", stroke)
        transform = node.get("transform", "")
        m = re.match(r"matrix\(([^)]*)\)", transform)
        if m:
            a, b, c, d, e, f = (float(v) for v in re.split(r"[ ,]+", m.group(1).strip()))
            A, B, C, D, E, F = matrix
            matrix = (A * a + C * b, B * a + D * b, A * c + C * d, B * c + D * d,
                      A * e + C * f + E, B * e + D * f + F)
        if node.tag.endswith("polyline") and stroke in SVG_COLOURS:
            A, B, C, D, E, F = matrix
            numbers = [float(v) for v in re.split(r"[ ,]+", node.get("points").strip())]
            points = [(A * x + C * y + E, -(B * x + D * y + F))
                      for x, y in zip(numbers[0::2], numbers[1::2])]
            if min(y for _, y in points) >= 0:
                wall = walls.setdefault(SVG_COLOURS[stroke], [])
                wall += points[1:] if wall and wall[-1] == points[0] else points
        for child in node:
            visit(child, matrix, stroke)

    visit(ET.parse(path).getroot(), (1, 0, 0, 1, 0, 0), None)
    return walls


CASES = [
    ("circular 40 Hz, 18 mm step", ["circular", "--freq", "40", "--throat", "25", "--step", "18"],
     Circular(40, 25)),
    ("circular 40 Hz, 100 mm step", ["circular", "--freq", "40", "--throat", "25", "--step", "100"],
     Circular(40, 25)),
    ("rectangular 32 Hz, flat sides", ["rectangular", "--freq", "32", "--side1", "40",
                                       "--side2", "50", "--flat-mouth", "3000", "--location", "8"],
     FlatRectangular(32, 40, 50, 3000, 8)),
    ("rectangular 100 Hz", ["rectangular", "--freq", "100", "--side1", "40", "--side2", "50",
                            "--location", "2", "--step", "18"],
     Rectangular(100, 40, 50, 2)),
    # In inches (1 inch throat radius), cut short at a 20 inch diameter.
    ("circular 60 Hz inch", ["circular", "--unit", "inch", "--freq", "60", "--throat", "1",
                             "--step", "0.75", "--mouth-limit", "diameter=20"],
     Circular(60, 25.4)),
]


def main():
    tool = sys.argv[1]
    failed = False
    with tempfile.TemporaryDirectory() as folder:
        for name, arguments, horn in CASES:
            dxf, svg = folder + "/h.dxf", folder + "/h.svg"
            subprocess.run([tool] + arguments + ["--export", "dxf", dxf], check=True)
            subprocess.run([tool] + arguments + ["--export", "svg", svg], check=True,
                           env={"QT_QPA_PLATFORM": "offscreen", "PATH": "/usr/bin:/bin"})
            walls, fixes = dxf_walls(dxf, 25.4 if "inch" in arguments else 1.0)
            for fmt, found in (("DXF", walls), ("SVG", svg_walls(svg))):
                for layer, curve in horn.curves().items():
                    if layer not in found:
                        print(f"FAIL {name}: {fmt} has no {layer}")
                        failed = True
                        continue
                    gap = largest_gap(horn, curve, found[layer])
                    ok = gap < TOLERANCE_MM
                    failed |= not ok
                    print(f"{'ok  ' if ok else 'FAIL'} {name}: {fmt} {layer} "
                          f"{len(found[layer])} points, largest gap {gap:.4f} mm")
            if fixes:
                print(f"FAIL {name}: ezdxf's audit fixes {fixes} things")
                failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
