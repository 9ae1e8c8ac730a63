#!/usr/bin/env python3
"""Writes the ephemeris tables as C++ source from the committed TSV tables.

    gen_series.py [--data-dir DIR] --out-dir DIR   write the sources into DIR
    gen_series.py [--data-dir DIR] --check DIR     compare with the sources in DIR

Inputs (default: data/ beside this script):
  vsop87d-abridged.tsv           planet, series (L or R), power, row, A, B, C
  vsop87d-abridged-latitude.tsv  the same columns, series B
  pluto-terms.tsv                row, i, j, k, lon_A, lon_B, rad_A, rad_B
  pluto-latitude-terms.tsv       row, i, j, k, lat_A, lat_B (the same rows)
Outputs: vsop87_tables.cpp, vsop87_latitude_tables.cpp, pluto_terms.cpp and
pluto_latitude_terms.cpp.

The numbers are copied digit for digit (integers get a ".0"), so the
compiler rounds exactly the decimal text of the table. Any malformed row
stops the generator with a message naming the file and line.
"""

import argparse
import difflib
import math
import pathlib
import re
import sys
import tempfile

PLANETS = ["Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"]
SERIES = ["L", "R"]
LATITUDE_SERIES = ["B"]
VSOP_HEADER = ["planet", "series", "power", "row", "A", "B", "C"]
PLUTO_HEADER = ["row", "i", "j", "k", "lon_A", "lon_B", "rad_A", "rad_B"]
PLUTO_LATITUDE_HEADER = ["row", "i", "j", "k", "lat_A", "lat_B"]
DECIMAL = re.compile(r"^-?[0-9]+(\.[0-9]+)?$")
INTEGER = re.compile(r"^-?[0-9]+$")
VSOP_FILE = "vsop87d-abridged.tsv"
PLUTO_FILE = "pluto-terms.tsv"
VSOP_LATITUDE_FILE = "vsop87d-abridged-latitude.tsv"
PLUTO_LATITUDE_FILE = "pluto-latitude-terms.tsv"


class TableError(Exception):
    pass


def read_rows(path, header):
    lines = path.read_text(encoding="ascii").splitlines()
    if not lines or lines[0].split("\t") != header:
        raise TableError(f"{path.name}:1: header must be {' '.join(header)}")
    rows = []
    for number, line in enumerate(lines[1:], start=2):
        if not line.strip():
            continue
        fields = line.split("\t")
        if len(fields) != len(header):
            raise TableError(f"{path.name}:{number}: expected {len(header)} fields, "
                             f"got {len(fields)}")
        rows.append((number, fields))
    return rows


def literal(text, where):
    """The table's number as a C++ double literal with the same digits."""
    if not DECIMAL.match(text) or not math.isfinite(float(text)):
        raise TableError(f"{where}: not a decimal number: {text!r}")
    return text if "." in text else text + ".0"


def integer(text, where):
    if not INTEGER.match(text):
        raise TableError(f"{where}: not an integer: {text!r}")
    return int(text)


def read_vsop(path, series_names=SERIES):
    """{(planet, series): [[(A, B, C) literals] per power]}, in table order."""
    tables = {}
    order = []
    for number, (planet, series, power, row, a, b, c) in read_rows(path, VSOP_HEADER):
        where = f"{path.name}:{number}"
        if planet not in PLANETS or series not in series_names:
            raise TableError(f"{where}: unknown planet or series {planet} {series}")
        key = (planet, series)
        power, row = integer(power, where), integer(row, where)
        if key not in tables:
            if order and PLANETS.index(order[-1][0]) > PLANETS.index(planet):
                raise TableError(f"{where}: {planet} out of planet order")
            tables[key] = []
            order.append(key)
        elif order[-1] != key:
            raise TableError(f"{where}: {planet} {series} rows are not together")
        subs = tables[key]
        if power == len(subs) and row == 0:
            subs.append([])
        elif power != len(subs) - 1 or row != len(subs[-1]):
            raise TableError(f"{where}: expected {series}{len(subs) - 1} row {len(subs[-1])} "
                             f"or {series}{len(subs)} row 0, got {series}{power} row {row}")
        subs[-1].append(tuple(literal(v, where) for v in (a, b, c)))
    for planet in PLANETS:
        for series in series_names:
            if (planet, series) not in tables:
                raise TableError(f"{path.name}: no {series} series for {planet}")
    return tables


def read_pluto(path, header=PLUTO_HEADER):
    """[(i, j, k, coefficient...) literals] in row order."""
    terms = []
    for number, fields in read_rows(path, header):
        where = f"{path.name}:{number}"
        if integer(fields[0], where) != len(terms) + 1:
            raise TableError(f"{where}: expected row {len(terms) + 1}")
        for multiplier in fields[1:4]:
            integer(multiplier, where)
        terms.append(tuple(literal(v, where) for v in fields[1:]))
    if not terms:
        raise TableError(f"{path.name}: no terms")
    return terms


def read_pluto_latitude(path, pluto_terms):
    """[(latA, latB) literals]; the rows must have the arguments of `pluto_terms`."""
    terms = read_pluto(path, PLUTO_LATITUDE_HEADER)
    if len(terms) != len(pluto_terms):
        raise TableError(f"{path.name}: {len(terms)} rows, {PLUTO_FILE} has {len(pluto_terms)}")
    for number, (term, main) in enumerate(zip(terms, pluto_terms), start=1):
        if term[:3] != main[:3]:
            raise TableError(f"{path.name}: row {number} has the arguments {term[:3]}, "
                             f"{PLUTO_FILE} {main[:3]}")
    return [term[3:] for term in terms]


def term_arrays(planet, series, subs):
    """The C++ arrays of one series' terms, one array per power of tau."""
    out = []
    for power, terms in enumerate(subs):
        out.append("")
        out.append(f"constexpr SeriesTerm k{planet}{series}{power}[] = {{")
        out.extend(f"    {{{a}, {b}, {c}}}," for a, b, c in terms)
        out.append("};")
    return out


def sub_series_array(planet, series, subs):
    """The C++ array naming one series' sub-series with their lengths."""
    return (["", f"constexpr SubSeries k{planet}{series}[] = {{"] +
            [f"    {{k{planet}{series}{power}, {len(terms)}}}," for power, terms in enumerate(subs)] +
            ["};"])


def vsop_source(tables):
    out = [
        "// The abridged VSOP87D series of Mercury to Neptune (heliocentric",
        "// ecliptic longitude L and radius vector R, mean ecliptic and equinox",
        "// of date), as printed in Meeus, Astronomical Algorithms, 2nd ed.,",
        "// Appendix III. Terms are (A, B, C): A * cos(B + C * tau).",
        "//",
        f"// Generated by tools/gen-series/gen_series.py from {VSOP_FILE}; do not edit.",
        "",
        '#include "ephemeris/vsop87_tables.h"',
        "",
        "namespace barywalk {",
        "namespace {",
    ]
    for planet in PLANETS:
        for series in SERIES:
            out += term_arrays(planet, series, tables[(planet, series)])
        for series in SERIES:
            out += sub_series_array(planet, series, tables[(planet, series)])
    out += ["", "}  // namespace", ""]
    for planet in PLANETS:
        nl, nr = len(tables[(planet, "L")]), len(tables[(planet, "R")])
        out.append(f"const PlanetSeries k{planet}Series = "
                   f"{{{{k{planet}L, {nl}}}, {{k{planet}R, {nr}}}}};")
    out += ["", "}  // namespace barywalk", ""]
    return "\n".join(out)


def vsop_latitude_source(tables):
    out = [
        "// The latitude series B of the abridged VSOP87D theory of Mercury to",
        "// Neptune (heliocentric ecliptic latitude, mean ecliptic and equinox of",
        "// date), as printed in Meeus, Astronomical Algorithms, 2nd ed.,",
        "// Appendix III. Terms are (A, B, C): A * cos(B + C * tau), A in 1e-8 rad.",
        "//",
        f"// Generated by tools/gen-series/gen_series.py from {VSOP_LATITUDE_FILE}; do not edit.",
        "",
        '#include "ephemeris/vsop87_tables.h"',
        "",
        "namespace barywalk {",
        "namespace {",
    ]
    for planet in PLANETS:
        out += term_arrays(planet, "B", tables[(planet, "B")])
        out += sub_series_array(planet, "B", tables[(planet, "B")])
    out += ["", "}  // namespace", ""]
    for planet in PLANETS:
        out.append(f"const Series k{planet}LatitudeSeries = "
                   f"{{k{planet}B, {len(tables[(planet, 'B')])}}};")
    out += ["", "}  // namespace barywalk", ""]
    return "\n".join(out)


def pluto_latitude_source(terms):
    out = [
        "// The latitude coefficients of Pluto's theory, Meeus, Astronomical",
        "// Algorithms, 2nd ed., Table 37.A: (A, B) of sin and cos of each term's",
        "// argument (the arguments of pluto_terms.cpp, row for row), 1e-6 degree.",
        "// The latitude is referred to the ecliptic of J2000.",
        "//",
        f"// Generated by tools/gen-series/gen_series.py from {PLUTO_LATITUDE_FILE}; do not edit.",
        "",
        '#include "ephemeris/pluto.h"',
        "",
        "namespace barywalk {",
        "",
        "const PlutoCoefficients kPlutoLatitudeTerms[] = {",
    ]
    out.extend(f"    {{{a}, {b}}}," for a, b in terms)
    out += ["};", "", "}  // namespace barywalk", ""]
    return "\n".join(out)


def pluto_source(terms):
    out = [
        "// The periodic terms of Pluto's theory, Meeus, Astronomical Algorithms,",
        "// 2nd ed., Table 37.A (without the latitude terms): the multipliers",
        "// (i, j, k) of the mean longitudes of Jupiter, Saturn and Pluto, and the",
        "// coefficients (A, B) of sin and cos of the argument for the longitude",
        "// (1e-6 degree) and the radius vector (1e-7 au).",
        "//",
        f"// Generated by tools/gen-series/gen_series.py from {PLUTO_FILE}; do not edit.",
        "",
        '#include "ephemeris/pluto.h"',
        "",
        "namespace barywalk {",
        "",
        f'static_assert(kPlutoTermCount == {len(terms)}, "the table has {len(terms)} terms");',
        "",
        "const PlutoArgument kPlutoArguments[] = {",
    ]
    out.extend(f"    {{{i}, {j}, {k}}}," for i, j, k, *_ in terms)
    out += ["};", "", "const PlutoCoefficients kPlutoLongitudeTerms[] = {"]
    out.extend(f"    {{{t[3]}, {t[4]}}}," for t in terms)
    out += ["};", "", "const PlutoCoefficients kPlutoRadiusTerms[] = {"]
    out.extend(f"    {{{t[5]}, {t[6]}}}," for t in terms)
    out += ["};", "", "}  // namespace barywalk", ""]
    return "\n".join(out)


def generate(data_dir):
    """{file name: text} of every generated source."""
    pluto_terms = read_pluto(data_dir / PLUTO_FILE)
    latitude = read_vsop(data_dir / VSOP_LATITUDE_FILE, LATITUDE_SERIES)
    return {
        "vsop87_tables.cpp": vsop_source(read_vsop(data_dir / VSOP_FILE)),
        "vsop87_latitude_tables.cpp": vsop_latitude_source(latitude),
        "pluto_terms.cpp": pluto_source(pluto_terms),
        "pluto_latitude_terms.cpp": pluto_latitude_source(
            read_pluto_latitude(data_dir / PLUTO_LATITUDE_FILE, pluto_terms)),
    }


def write(sources, out_dir):
    out_dir.mkdir(parents=True, exist_ok=True)
    for name, text in sources.items():
        (out_dir / name).write_text(text, encoding="ascii")


def check(sources, committed_dir):
    """Regenerates into a temporary folder and compares with `committed_dir`."""
    stale = 0
    with tempfile.TemporaryDirectory() as tmp:
        fresh_dir = pathlib.Path(tmp)
        write(sources, fresh_dir)
        for name in sources:
            fresh = (fresh_dir / name).read_text(encoding="ascii")
            committed_path = committed_dir / name
            committed = (committed_path.read_text(encoding="ascii")
                         if committed_path.exists() else "")
            if fresh != committed:
                stale += 1
                sys.stdout.writelines(difflib.unified_diff(
                    committed.splitlines(keepends=True), fresh.splitlines(keepends=True),
                    str(committed_path), f"regenerated/{name}"))
    if stale:
        print(f"{stale} generated file(s) differ from the tables; run gen_series.py --out-dir",
              file=sys.stderr)
    return 1 if stale else 0


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data-dir", type=pathlib.Path,
                        default=pathlib.Path(__file__).resolve().parent / "data")
    target = parser.add_mutually_exclusive_group(required=True)
    target.add_argument("--out-dir", type=pathlib.Path, help="write the sources here")
    target.add_argument("--check", type=pathlib.Path, metavar="DIR",
                        help="fail when the sources in DIR differ from a fresh generation")
    args = parser.parse_args(argv)
    try:
        sources = generate(args.data_dir)
    except (TableError, OSError, UnicodeDecodeError) as error:
        print(f"gen_series: {error}", file=sys.stderr)
        return 2
    if args.check:
        return check(sources, args.check)
    write(sources, args.out_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
