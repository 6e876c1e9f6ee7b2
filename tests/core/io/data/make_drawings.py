#!/usr/bin/python3
"""Writes the test drawings of tests/core/io/data. Run by hand when they change:

    /usr/bin/python3 tests/core/io/data/make_drawings.py

It needs ezdxf (Debian: python3-ezdxf), whose writer makes most of them; r12_polylines.dxf
is written out group by group, as an old program would. The expected figures are in
tests/core/io/dxf_import_test.cpp."""

import math
import os

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))


def new(version, insunits=None):
    doc = ezdxf.new(version)
    if insunits is None:
        if "$INSUNITS" in doc.header:
            del doc.header["$INSUNITS"]
    else:
        doc.header["$INSUNITS"] = insunits
    return doc, doc.modelspace()


def save(doc, name, fmt="asc"):
    doc.saveas(os.path.join(HERE, name), fmt=fmt)


def plate(version, name):
    """A 100 x 60 plate with rounded corners (r 5), two round holes (r 10) and a slot
    (30 long, 10 wide); text, a dimension, a hatch and a point besides, and a stray line in
    paper space."""
    doc, msp = new(version, insunits=4)
    msp.add_lwpolyline(
        [(5, 0, 0), (95, 0, math.tan(math.pi / 8)), (100, 5, 0), (100, 55, math.tan(math.pi / 8)),
         (95, 60, 0), (5, 60, math.tan(math.pi / 8)), (0, 55, 0), (0, 5, math.tan(math.pi / 8))],
        format="xyb", close=True, dxfattribs={"layer": "PLYTA"})
    msp.add_circle((25, 30), 10, dxfattribs={"layer": "PLYTA"})
    msp.add_circle((75, 30), 10, dxfattribs={"layer": "PLYTA"})
    # The slot, with half-circle ends (r 5), runs clockwise: either sense is an outline.
    msp.add_lwpolyline([(40, 10, -1), (40, 20, 0), (70, 20, -1), (70, 10, 0)], format="xyb",
                       close=True, dxfattribs={"layer": "PLYTA"})
    msp.add_text("Plyta", dxfattribs={"height": 5, "insert": (10, 70)})
    msp.add_mtext("Opis\\Pdrugi wiersz", dxfattribs={"insert": (10, 80)})
    msp.add_linear_dim(base=(50, -10), p1=(0, 0), p2=(100, 0)).render()
    hatch = msp.add_hatch()
    hatch.paths.add_polyline_path([(200, 0), (210, 0), (210, 10)], is_closed=True)
    msp.add_point((300, 300))
    doc.layout("Layout1").add_line((0, 0), (10, 0))
    save(doc, name)


def loose_lines():
    """A 40 x 20 'D' of loose lines and arcs in no order and either direction: a rectangle
    whose right side is a half circle (r 10) made of two quarter arcs."""
    doc, msp = new("R12", insunits=5)
    msp.add_line((30, 20), (0, 20))
    msp.add_arc((30, 10), 10, 0, 90)
    msp.add_line((0, 0), (0, 20))
    msp.add_arc((30, 10), 10, 270, 360)
    msp.add_line((0, 0), (30, 0))
    save(doc, "loose_lines_r12.dxf")


def blocks():
    """A 200 x 200 square with holes placed from blocks (see the test)."""
    doc, msp = new("R2004", insunits=4)
    sq = doc.blocks.new("OTW", base_point=(5, 5))
    for a, b in [((0, 0), (10, 0)), ((10, 10), (10, 0)), ((10, 10), (0, 10)), ((0, 0), (0, 10))]:
        sq.add_line(a, b)
    sq.add_text("o", dxfattribs={"insert": (5, 5)})
    pair = doc.blocks.new("PARA")
    pair.add_blockref("OTW", (0, 0))
    pair.add_blockref("OTW", (20, 0))
    half = doc.blocks.new("POL")
    half.add_arc((0, 0), 10, 0, 180)
    half.add_line((-10, 0), (10, 0))
    ring = doc.blocks.new("KOLO")
    ring.add_circle((0, 0), 5)

    msp.add_lwpolyline([(0, 0), (200, 0), (200, 200), (0, 200)], close=True,
                       dxfattribs={"layer": "OBRYS"})
    holes = {"layer": "OTWORY"}
    msp.add_blockref("OTW", (50, 50), dxfattribs={**holes, "rotation": 30, "xscale": 2,
                                                  "yscale": 2})
    msp.add_blockref("OTW", (150, 50), dxfattribs={**holes, "xscale": -1.5, "yscale": 1.5})
    msp.add_blockref("OTW", (40, 140), dxfattribs={**holes, "column_count": 2, "row_count": 2,
                                                   "column_spacing": 30, "row_spacing": 30})
    msp.add_blockref("PARA", (140, 150), dxfattribs={**holes, "rotation": 90})
    msp.add_blockref("POL", (110, 120), dxfattribs={**holes, "yscale": -1})
    msp.add_blockref("KOLO", (100, 40), dxfattribs={**holes, "xscale": 2})
    save(doc, "blocks.dxf")


def extrusion():
    """Entities in object coordinates seen from below (extrusion 0, 0, -1): an arc closed by
    a line, a circle, a polyline with a bulge."""
    doc, msp = new("R2007")
    down = {"extrusion": (0, 0, -1)}
    msp.add_arc((5, 0), 5, 0, 180, dxfattribs=down)
    msp.add_line((-10, 0), (0, 0))
    msp.add_circle((30, 0), 3, dxfattribs=down)
    msp.add_lwpolyline([(40, 0, 0), (50, 0, 0), (50, 10, 1), (40, 10, 0)], format="xyb",
                       close=True, dxfattribs=down)
    save(doc, "extrusion.dxf")


def splines():
    """A circle as a rational spline, an ellipse, half an ellipse and a spline through
    points of a half circle, each half closed by a line."""
    doc, msp = new("R2013", insunits=6)
    w = math.sqrt(0.5)
    r = 10
    ctrl = [(r, 0), (r, r), (0, r), (-r, r), (-r, 0), (-r, -r), (0, -r), (r, -r), (r, 0)]
    msp.add_rational_spline(ctrl, [1, w, 1, w, 1, w, 1, w, 1], degree=2,
                            knots=[0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4])
    msp.add_ellipse((50, 0), major_axis=(20, 0), ratio=0.5)
    msp.add_ellipse((0, 50), major_axis=(0, 15), ratio=0.4, start_param=0, end_param=math.pi)
    msp.add_line((0, 35), (0, 65))
    fit = [(50 + 10 * math.cos(math.pi * k / 18), 50 + 10 * math.sin(math.pi * k / 18))
           for k in range(19)]
    msp.add_spline(fit)
    msp.add_line((40, 50), (60, 50))
    save(doc, "splines.dxf")


def faults():
    doc, msp = new("R2018")
    msp.add_circle((0, 0), 10)
    msp.add_circle((15, 0), 10)
    save(doc, "crossing.dxf")
    doc, msp = new("R2018")
    msp.add_line((0, 0), (10, 0))
    msp.add_line((10, 0), (10, 10))
    msp.add_line((10, 10), (0, 9))
    save(doc, "open_outline.dxf")
    doc, msp = new("R2000")
    msp.add_circle((0, 0), 10)
    save(doc, "binary.dxf", fmt="bin")


def r12_polylines():
    """Old-style POLYLINE / VERTEX / SEQEND without a header: a circle of two half-circle
    bulges, and beside it a segment larger than a half circle (bulge 3) closed by its
    chord; the vertex count field is left out, as R12 writers do."""
    pairs = [(0, "SECTION"), (2, "ENTITIES")]

    def polyline(vertices):
        pairs.extend([(0, "POLYLINE"), (8, "0"), (66, 1), (10, 0.0), (20, 0.0), (30, 0.0),
                      (70, 1)])
        for x, y, b in vertices:
            pairs.extend([(0, "VERTEX"), (8, "0"), (10, x), (20, y), (30, 0.0)])
            if b:
                pairs.append((42, b))
        pairs.extend([(0, "SEQEND"), (8, "0")])

    polyline([(-5, 0, 1), (5, 0, 1)])
    polyline([(20, 0, 3), (30, 0, 0)])
    pairs.extend([(0, "ENDSEC"), (0, "EOF")])
    with open(os.path.join(HERE, "r12_polylines.dxf"), "w", newline="\r\n") as f:
        for code, value in pairs:
            f.write(f"{code:>3}\n{value}\n")


if __name__ == "__main__":
    plate("R2000", "plate_r2000.dxf")
    plate("R2018", "plate_r2018.dxf")
    loose_lines()
    blocks()
    extrusion()
    splines()
    faults()
    r12_polylines()
