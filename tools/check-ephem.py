#!/usr/bin/env python3
"""Checks barywalk-ephem against an independent evaluation of the same tables.

    check-ephem.py PATH-TO-barywalk-ephem [--data-dir DIR] [--dates N]

Evaluates the abridged VSOP87D series, Pluto's periodic theory and the
Sun's offset from the barycenter here in Python, straight from the TSV
tables in tools/gen-series/data, and compares them with the program's CSV at
several hundred dates between year 0 and 2999, for several panel widths, given
as Julian days and as ISO 8601 UTC date-times, and for a range.

Tolerances: 1e-9 rad for longitudes, 1e-9 au for radii, 1e-6 px for the
Sun's centre, 1e-9 display units for the acceleration. Prints the largest
deviations; exits 1 when any tolerance is exceeded or the program fails.
"""

import argparse
import csv
import datetime
import math
import pathlib
import random
import subprocess
import sys

PLANETS = ["Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Pluto"]
MASSES = [332981.79, 0.06, 0.82, 1.0, 0.11, 317.8, 95.2, 14.6, 17.2, 0.0021]
HEADER = ("jd,mercury_l,mercury_r,venus_l,venus_r,earth_l,earth_r,mars_l,mars_r,"
          "jupiter_l,jupiter_r,saturn_l,saturn_r,uranus_l,uranus_r,neptune_l,neptune_r,"
          "pluto_l,pluto_r,sun_x,sun_y,accel_x,accel_y")
TOLERANCE = {"L": 1e-9, "R": 1e-9, "sun": 1e-6, "accel": 1e-9, "jd": 1e-8}
YEAR0_JD = 1721059.5    # 0000-01-01T00:00Z, proleptic Gregorian
YEAR3000_JD = 2816787.5  # 3000-01-01T00:00Z
DEG = 0.017453292519943295


def read_tsv(path):
    with open(path, newline="", encoding="ascii") as f:
        return list(csv.DictReader(f, delimiter="\t"))


def load_vsop(path):
    """{planet: {"L": [[(A, B, C), ...] per power], "R": ...}}."""
    series = {}
    for row in read_tsv(path):
        powers = series.setdefault(row["planet"], {"L": [], "R": []})[row["series"]]
        power, index = int(row["power"]), int(row["row"])
        while len(powers) <= power:
            powers.append([])
        assert index == len(powers[power]), f"row order in {row}"
        powers[power].append((float(row["A"]), float(row["B"]), float(row["C"])))
    return series


def load_pluto(path):
    return [tuple(float(row[key]) for key in ("i", "j", "k", "lon_A", "lon_B", "rad_A", "rad_B"))
            for row in sorted(read_tsv(path), key=lambda r: int(r["row"]))]


def reduce_degrees(value):
    while value < 0:
        value += 360
    while value > 360:
        value -= 360
    return value


def series_sum(powers, jd):
    tau = (jd - 2451545.0) / 365250.0
    total = 0.0
    tau_k = 1.0
    for terms in powers:
        s = 0.0
        for a, b, c in terms:
            s += a * math.cos(b + c * tau)
        total += s * tau_k
        tau_k *= tau
    return total / 1e8


def vsop_position(planet_series, jd):
    degrees = reduce_degrees(series_sum(planet_series["L"], jd) * 57.29577951308232)
    return degrees * DEG, series_sum(planet_series["R"], jd)


def pluto_position(terms, jd):
    t = (jd - 2451545.0) / 36525.0
    mean = (34.35 + 3034.9057 * t, 50.08 + 1222.1138 * t, 238.96 + 144.96 * t)
    lon = rad = 0.0
    for i, j, k, lon_a, lon_b, rad_a, rad_b in terms:
        alpha = (i * mean[0] + j * mean[1] + k * mean[2]) * DEG
        lon += lon_a * math.sin(alpha) + lon_b * math.cos(alpha)
        rad += rad_a * math.sin(alpha) + rad_b * math.cos(alpha)
    degrees = reduce_degrees(144.96 * t + 238.958116 + lon / 1e6)
    return degrees * DEG, 40.7241346 + rad / 1e7


def sun_state(positions, width):
    mass = MASSES[0]
    px = py = ax = ay = 0.0
    for m, (lon, r) in zip(MASSES[1:], positions):
        x, y = -r * math.cos(lon), r * math.sin(lon)
        mass += m
        px += m * x
        py += m * y
        if r > 0:
            g = m * 332981.79 / (r * r)
            ax += g * x
            ay += g * y
    dx = -(px / mass) * 1.49598e11 / 6.955e8
    dy = -(py / mass) * 1.49598e11 / 6.955e8
    scale = width * 0.7 / 6
    centre = float(width // 2)
    return centre + scale * dx, centre + scale * dy, ax / 2.3e7, ay / 2.3e7


class Comparison:
    def __init__(self):
        self.worst = {key: (0.0, None) for key in TOLERANCE}
        self.failures = []
        self.rows = 0

    def note(self, key, expected, actual, where):
        deviation = abs(expected - actual)
        if key == "L":  # 0 and 2 pi are the same direction
            deviation = min(deviation, abs(deviation - 2 * math.pi))
        if not deviation <= TOLERANCE[key]:
            self.failures.append(f"{where}: {key} expected {expected!r}, got {actual!r}")
        if deviation > self.worst[key][0] or self.worst[key][1] is None:
            self.worst[key] = (max(deviation, self.worst[key][0]), where)


def expected_row(tables, jd, width):
    vsop, pluto = tables
    positions = [vsop_position(vsop[p], jd) for p in PLANETS[:8]] + [pluto_position(pluto, jd)]
    return positions, sun_state(positions, width)


def compare_row(tables, fields, width, comparison, expected_jd=None):
    jd = fields[0]
    where = f"jd {jd!r} width {width}"
    if expected_jd is not None:
        comparison.note("jd", expected_jd, jd, where)
    positions, sun = expected_row(tables, jd, width)
    for n, (lon, r) in enumerate(positions):
        comparison.note("L", lon, fields[1 + 2 * n], f"{where} {PLANETS[n]}")
        comparison.note("R", r, fields[2 + 2 * n], f"{where} {PLANETS[n]}")
    for n, key in enumerate(("sun", "sun", "accel", "accel")):
        comparison.note(key, sun[n], fields[19 + n], where)
    comparison.rows += 1


def run_tool(tool, args):
    result = subprocess.run([tool, "--utc", *args], capture_output=True, text=True, check=False)
    if result.returncode != 0 or result.stderr:
        raise RuntimeError(f"{tool} {' '.join(args[:4])}...: status {result.returncode}: "
                           f"{result.stderr.strip()}")
    lines = result.stdout.splitlines()
    if not lines or lines[0] != HEADER:
        raise RuntimeError(f"unexpected header: {lines[:1]}")
    rows = [[float(v) for v in line.split(",")] for line in lines[1:]]
    if any(len(row) != 23 for row in rows):
        raise RuntimeError("a row without 23 fields")
    return rows


def iso_dates(rng, count):
    """(ISO text, Julian day) pairs, years 1..2999, by Python's own calendar."""
    dates = []
    for _ in range(count):
        day = datetime.date.fromordinal(rng.randint(1, datetime.date(2999, 12, 31).toordinal()))
        seconds = rng.randint(0, 86399)
        hour, minute, second = seconds // 3600, seconds // 60 % 60, seconds % 60
        text = f"{day.isoformat()}T{hour:02d}:{minute:02d}:{second:02d}Z"
        # Ordinal 1 (0001-01-01) starts at JD 1721425.5.
        dates.append((text, day.toordinal() + 1721424.5 + seconds / 86400))
    # Year 0 is a leap year of 366 days before 0001-01-01.
    dates += [("0000-01-01", YEAR0_JD), ("0000-02-29T12:00", YEAR0_JD + 59.5),
              ("0000-12-31T23:59:59Z", 1721425.5 - 1 / 86400)]
    return dates


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("tool")
    parser.add_argument("--data-dir", type=pathlib.Path,
                        default=pathlib.Path(__file__).resolve().parent / "gen-series" / "data")
    parser.add_argument("--dates", type=int, default=400, help="random Julian days (default 400)")
    args = parser.parse_args(argv)

    tables = (load_vsop(args.data_dir / "vsop87d-abridged.tsv"),
              load_pluto(args.data_dir / "pluto-terms.tsv"))
    rng = random.Random(2451545)
    jds = [YEAR0_JD, 2448908.5, 2448976.5, 2451545.0, YEAR3000_JD - 1e-6]
    jds += [rng.uniform(YEAR0_JD, YEAR3000_JD) for _ in range(args.dates)]
    widths = [640, 641, 1, 333, 1024, 1999]
    comparison = Comparison()
    try:
        for n, width in enumerate(widths):
            batch = jds[n::len(widths)]
            rows = run_tool(args.tool, ["--width", str(width)] + [repr(jd) for jd in batch])
            for jd, fields in zip(batch, rows):
                compare_row(tables, fields, width, comparison, expected_jd=jd)
        dates = iso_dates(rng, 60)
        rows = run_tool(args.tool, [text for text, _ in dates])
        for (_, jd), fields in zip(dates, rows):
            compare_row(tables, fields, 640, comparison, expected_jd=jd)
        start, stop, step = 2451545.1, 2451910.1, 36.5
        rows = run_tool(args.tool,
                        ["--from", repr(start), "--to", repr(stop), "--step", repr(step)])
        if len(rows) != 11:
            comparison.failures.append(f"range gave {len(rows)} rows, expected 11")
        for i, fields in enumerate(rows):
            compare_row(tables, fields, 640, comparison,
                        expected_jd=stop if i == 10 else start + i * step)
    except (OSError, RuntimeError, ValueError) as error:
        print(f"check-ephem: {error}", file=sys.stderr)
        return 1

    print(f"check-ephem: {comparison.rows} rows compared")
    for key, (deviation, where) in comparison.worst.items():
        print(f"  max |deviation| {key:5s} {deviation:.3e} "
              f"(tolerance {TOLERANCE[key]:.0e}) at {where}")
    for failure in comparison.failures[:20]:
        print(f"  FAIL {failure}", file=sys.stderr)
    return 1 if comparison.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
