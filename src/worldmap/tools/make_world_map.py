#!/usr/bin/python3
"""Converts the Digital Chart of the World of the gmt-dcw package into the
world map's own map file (maps/WORLD.MAP, layout in src/worldmap/mapdata.h).

usage: make_world_map.py DCW_DIR ENTITY_TABLE OUT

The outlines are thinned to a grid of STEP degrees and simplified
(Douglas-Peucker) to TOLERANCE degrees (about 3 km); rings that
cross the antimeridian are cut into a part on each side, and rings around a
pole are closed along the pole, so that every ring is a plain polygon in
longitude and latitude within -180 .. 180. Layer 1 holds the countries, each
tied to its DXCC entity through the entity table; layer 2 the states and
provinces of the United States, Canada and Australia.
"""
import os
import struct
import sys

import netCDF4
import numpy as np

STEP = 0.02
TOLERANCE = 0.03
SMALL = 0.5
SMALL_TOLERANCE = 0.002
UNITS_PER_DEGREE = 5_400_000
STATE_COUNTRIES = ("US", "CA", "AU")
MIN_RING_POINTS = 3


def read_list(path, fields):
    rows = []
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            rows.append(line.rstrip("\n").split(" ", fields - 1))
    return rows


def raw_rings(dataset, code):
    """The rings of one code as arrays of (lon, lat), in the data set's own longitude frame."""
    coords = []
    for axis in ("lon", "lat"):
        var = dataset.variables[f"{code}_{axis}"]
        var.set_auto_maskandscale(False)
        raw = var[:].astype(np.int64)
        low = float(var.getncattr("min"))
        coords.append((raw, low, float(var.getncattr("scale"))))
    (lon_raw, lon_min, lon_scale), (lat_raw, lat_min, lat_scale) = coords
    breaks = np.flatnonzero(lon_raw == 65535)
    bounds = list(breaks) + [len(lon_raw)]
    rings = []
    for start, end in zip(bounds[:-1], bounds[1:]):
        lon = lon_raw[start + 1:end] / lon_scale + lon_min
        lat = lat_raw[start + 1:end] / lat_scale + lat_min
        if len(lon) >= MIN_RING_POINTS:
            rings.append(np.column_stack((lon, lat)))
    return rings


def thin(ring):
    snapped = np.round(ring / STEP) * STEP
    keep = np.ones(len(snapped), dtype=bool)
    keep[1:] = np.any(snapped[1:] != snapped[:-1], axis=1)
    snapped = snapped[keep]
    if len(snapped) > 1 and np.all(snapped[0] == snapped[-1]):
        snapped = snapped[:-1]
    return snapped


def simplify(ring, tolerance=None):
    """Douglas-Peucker: the points that lie more than tolerance degrees off the outline kept."""
    tolerance = TOLERANCE if tolerance is None else tolerance
    if len(ring) <= 4:
        return ring
    keep = np.zeros(len(ring), dtype=bool)
    keep[0] = keep[-1] = True
    stack = [(0, len(ring) - 1)]
    while stack:
        first, last = stack.pop()
        if last - first < 2:
            continue
        a, b = ring[first], ring[last]
        inner = ring[first + 1:last]
        d = b - a
        length = np.hypot(d[0], d[1])
        if length == 0:
            off = np.hypot(inner[:, 0] - a[0], inner[:, 1] - a[1])
        else:
            off = np.abs(d[0] * (inner[:, 1] - a[1]) - d[1] * (inner[:, 0] - a[0])) / length
        worst = int(np.argmax(off))
        if off[worst] > tolerance:
            middle = first + 1 + worst
            keep[middle] = True
            stack.append((first, middle))
            stack.append((middle, last))
    return ring[keep]


def unwrap(ring):
    """Longitudes made continuous where a ring jumps between -180 and 180."""
    lon = ring[:, 0].copy()
    jumps = np.diff(lon)
    lon[1:] -= 360.0 * np.cumsum(np.round(jumps / 360.0))
    return np.column_stack((lon, ring[:, 1]))


def close_polar(ring):
    """A ring that runs once around a pole (Antarctica) closed along that pole."""
    ring = unwrap(ring)
    if abs(ring[-1, 0] - ring[0, 0]) < 180:
        return ring
    pole = -90.0 if ring[:, 1].mean() < 0 else 90.0
    return np.vstack((ring, [[ring[-1, 0], pole], [ring[0, 0], pole]]))


def clip(points, keep_inside, cut):
    """Sutherland-Hodgman against one vertical line."""
    out = []
    count = len(points)
    for i in range(count):
        a, b = points[i - 1], points[i]
        a_in, b_in = keep_inside(a[0]), keep_inside(b[0])
        if a_in != b_in:
            t = (cut - a[0]) / (b[0] - a[0])
            out.append((cut, a[1] + t * (b[1] - a[1])))
        if b_in:
            out.append((b[0], b[1]))
    return out


def split_at_antimeridian(ring):
    pieces = []
    for shift in (-360.0, 0.0, 360.0):
        moved = [(x + shift, y) for x, y in ring]
        xs = [p[0] for p in moved]
        if max(xs) < -180 or min(xs) > 180:
            continue
        part = clip(clip(moved, lambda x: x >= -180, -180.0), lambda x: x <= 180, 180.0)
        if len(part) >= MIN_RING_POINTS:
            pieces.append(part)
    return pieces


def area_rings(dataset, code):
    rings = []
    raw = raw_rings(dataset, code)
    tiny = all(np.ptp(r[:, 0]) < SMALL and np.ptp(r[:, 1]) < SMALL for r in raw)
    for ring in raw:
        if tiny:
            # Microstates smaller than the grid keep their own outline.
            ring = simplify(ring[:-1] if np.all(ring[0] == ring[-1]) else ring, SMALL_TOLERANCE)
        else:
            ring = close_polar(simplify(thin(ring)))
        if len(ring) >= MIN_RING_POINTS:
            rings.extend(split_at_antimeridian(ring.tolist()))
    return rings


def text(value):
    data = value.encode("cp1252", errors="replace")[:255]
    return struct.pack("<B", len(data)) + data


def area_bytes(code, title, prefix, rings):
    out = [text(code), text(title), text(prefix), struct.pack("<I", len(rings))]
    for ring in rings:
        out.append(struct.pack("<I", len(ring)))
        units = np.round(np.asarray(ring) * UNITS_PER_DEGREE).astype("<i4")
        out.append(units.tobytes())
    return b"".join(out)


def layer_bytes(name, areas):
    return text(name) + struct.pack("<I", len(areas)) + b"".join(areas)


def main():
    dcw_dir, table, out_name = sys.argv[1:4]
    dataset = netCDF4.Dataset(os.path.join(dcw_dir, "dcw-gmt.nc"))
    prefixes = {row[0]: row[1] for row in read_list(table, 3)}
    countries = []
    for _continent, code, name in read_list(os.path.join(dcw_dir, "dcw-countries.txt"), 3):
        rings = area_rings(dataset, code)
        if rings:
            countries.append(area_bytes(code, name, prefixes.get(code, ""), rings))
    states = []
    for country, state, name in read_list(os.path.join(dcw_dir, "dcw-states.txt"), 3):
        if country not in STATE_COUNTRIES or f"{country}{state}_lon" not in dataset.variables:
            continue
        rings = area_rings(dataset, country + state)
        if rings:
            states.append(area_bytes(f"{country}.{state}", name, "", rings))
    body = layer_bytes("Countries", countries) + layer_bytes("States", states)
    temporary = out_name + ".tmp"
    with open(temporary, "wb") as f:
        f.write(b"VMAP" + struct.pack("<HH", 1, 2) + body)
    os.replace(temporary, out_name)


if __name__ == "__main__":
    main()
