#!/usr/bin/python3
"""Generates src/shell/SolarTermTable.inc: the days of the 24 solar terms of 1901 to 2050.

A solar term is the moment the sun's apparent geocentric ecliptic longitude of date (with
nutation and aberration) reaches a multiple of 15 degrees; its day is taken in China Standard
Time (UTC+8). Each Gregorian month holds two terms and is stored as one byte: the high nibble h
puts the first term on day 15 - h, the low nibble l the second on day 15 + l.

The sun's longitude is ephem's astrometric position of date plus nutation in longitude and the
annual aberration of the earth's real speed (see sun_longitude); the script names the terms
whose day ephem's own apparent place, with its circular-orbit aberration, would move.

The script also
- lists every term that falls within two minutes of 00:00 CST, whose day a published almanac
  should confirm, and the new moons within ten minutes of 00:00 CST;
- computes the lunar months (new moons in CST, month 11 holding the winter solstice, the first
  month without a major term of a 13-month year as leap month), checks the calendar's example
  dates against them and compares them with the month-size and leap-month tables of
  src/shell/CalFunc.cpp; it exits with 1 when a year differs.

Run with Debian's interpreter, which sees python3-ephem:  /usr/bin/python3 scripts/gen_solar_terms.py
"""

import math
import pathlib
import re
import sys

import ephem

ROOT = pathlib.Path(__file__).resolve().parent.parent
OUT = ROOT / "src" / "shell" / "SolarTermTable.inc"
CALFUNC = ROOT / "src" / "shell" / "CalFunc.cpp"

FIRST_YEAR, LAST_YEAR = 1901, 2050
CST = 8 * ephem.hour  # China Standard Time offset, in days
ARCSEC = math.pi / (180 * 3600)
TERM_NAMES = ["小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
              "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"]

# Largest terms of the IAU 1980 nutation series: multipliers of D, M, M', F, Omega, then
# coefficients of sin (longitude) and cos (obliquity) in 0.0001", with their T rates.
NUTATION = [
    (0, 0, 0, 0, 1, -171996, -174.2, 92025, 8.9),
    (-2, 0, 0, 2, 2, -13187, -1.6, 5736, -3.1),
    (0, 0, 0, 2, 2, -2274, -0.2, 977, -0.5),
    (0, 0, 0, 0, 2, 2062, 0.2, -895, 0.5),
    (0, 1, 0, 0, 0, 1426, -3.4, 54, -0.1),
    (0, 0, 1, 0, 0, 712, 0.1, -7, 0),
    (-2, 1, 0, 2, 2, -517, 1.2, 224, -0.6),
    (0, 0, 0, 2, 1, -386, -0.4, 200, 0),
    (0, 0, 1, 2, 2, -301, 0, 129, -0.1),
    (-2, -1, 0, 2, 2, 217, -0.5, -95, 0.3),
    (-2, 0, 1, 0, 0, -158, 0, 0, 0),
    (-2, 0, 0, 2, 1, 129, 0.1, -70, 0),
    (0, 0, -1, 2, 2, 123, 0, -53, 0),
    (2, 0, 0, 0, 0, 63, 0, 0, 0),
    (0, 0, 1, 0, 1, 63, 0.1, -33, 0),
    (2, 0, -1, 2, 2, -59, 0, 26, 0),
    (0, 0, -1, 0, 1, -58, -0.1, 32, 0),
    (0, 0, 1, 2, 1, -51, 0, 27, 0),
]


def nutation(d):
    """Nutation in longitude and obliquity (radians) at ephem date d (UT; the hours of
    Delta T do not matter for these slow terms)."""
    t = (ephem.julian_date(d) - 2451545.0) / 36525.0
    args = [
        297.85036 + 445267.111480 * t - 0.0019142 * t * t + t ** 3 / 189474,
        357.52772 + 35999.050340 * t - 0.0001603 * t * t - t ** 3 / 300000,
        134.96298 + 477198.867398 * t + 0.0086972 * t * t + t ** 3 / 56250,
        93.27191 + 483202.017538 * t - 0.0036825 * t * t + t ** 3 / 327270,
        125.04452 - 1934.136261 * t + 0.0020708 * t * t + t ** 3 / 450000,
    ]
    dpsi = deps = 0.0
    for *mult, s0, s1, c0, c1 in NUTATION:
        a = math.radians(sum(m * x for m, x in zip(mult, args)))
        dpsi += (s0 + s1 * t) * math.sin(a)
        deps += (c0 + c1 * t) * math.cos(a)
    return dpsi * 1e-4 * ARCSEC, deps * 1e-4 * ARCSEC


def mean_obliquity(d):
    """libastro's own mean obliquity of date: the declination of ecliptic longitude 90 degrees."""
    return ephem._libastro.ecl_eq(d, math.pi / 2, 0.0)[1]


def apparent_longitude(body, d):
    """Apparent geocentric ecliptic longitude of date from ephem's apparent place, in radians.

    g_ra/g_dec are apparent of date, i.e. referred to the true equator, so they are turned
    into ecliptic coordinates with the true obliquity (mean obliquity + nutation). Used for the
    moon; for the sun see sun_longitude."""
    body.compute(d, epoch=d)
    eps = mean_obliquity(d) + nutation(d)[1]
    ra, dec = float(body.g_ra), float(body.g_dec)
    return math.atan2(math.sin(ra) * math.cos(eps) + math.tan(dec) * math.sin(eps), math.cos(ra)) % (2 * math.pi)


def sun_longitude(d):
    """Apparent geocentric ecliptic longitude of date of the sun, in radians: ephem's
    astrometric position of date (mean ecliptic and equinox of date) + nutation in longitude +
    annual aberration -20.49552"/R.

    ephem's own apparent place (apparent_longitude) applies the aberration of a circular orbit,
    a constant -20.5", and so is off by up to 0.34" (8 s) near perihelion and aphelion; the
    aberration term here follows the earth's real speed."""
    SUN.compute(d, epoch=d)
    lon = float(ephem.Ecliptic(ephem.Equatorial(SUN.a_ra, SUN.a_dec, epoch=d), epoch=d).lon)
    return (lon + nutation(d)[0] - 20.49552 * ARCSEC / SUN.earth_distance) % (2 * math.pi)


def wrap(a):
    """Angle folded into [-pi, pi)."""
    return (a + math.pi) % (2 * math.pi) - math.pi


def find_crossing(f, target, guess):
    """Moment near guess where the increasing angle function f (radians) equals target: secant
    steps, then bisection on a bracket to about a millisecond."""
    d0, d1 = guess, guess + 0.1
    g0, g1 = wrap(f(d0) - target), wrap(f(d1) - target)
    for _ in range(50):
        if abs(d1 - d0) < 1e-9 or g1 == g0:
            break
        d0, d1, g0 = d1, d1 - g1 * (d1 - d0) / (g1 - g0), g1
        g1 = wrap(f(d1) - target)
    # Confirm with a bracket of +-1 s around the secant result and halve it down to 1 ms.
    lo, hi = d1 - ephem.second, d1 + ephem.second
    if not (wrap(f(lo) - target) < 0 < wrap(f(hi) - target)):
        raise RuntimeError(f"crossing of {math.degrees(target)} near {ephem.Date(guess)} not bracketed")
    while hi - lo > 1e-3 * ephem.second:
        mid = (lo + hi) / 2
        if wrap(f(mid) - target) < 0:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2


SUN = ephem.Sun()
MOON = ephem.Moon()


def term_longitude(index):
    """Longitude (radians) of solar term index 1..24 (1 = 小寒 at 285 degrees)."""
    return math.radians((285 + 15 * (index - 1)) % 360)


def solar_terms(year):
    """UT moments (ephem dates) of the 24 solar terms of a Gregorian year, 小寒 first."""
    start = ephem.Date((year, 1, 6))
    return [find_crossing(sun_longitude, term_longitude(i), start + (i - 1) * 15.2184) for i in range(1, 25)]


def cst(d):
    """(year, month, day, hour, minute, second) of ephem date d in China Standard Time."""
    y, m, dd, h, mi, s = ephem.Date(d + CST).tuple()
    return y, m, dd, h, mi, s


def cst_day_number(d):
    """Whole days since the ephem epoch of the CST calendar day holding moment d."""
    return math.floor(d + CST + 0.5)  # ephem dates count from noon


def fmt(d):
    y, m, dd, h, mi, s = cst(d)
    return f"{y:04d}-{m:02d}-{dd:02d} {h:02d}:{mi:02d}:{s:06.3f}"


def encode(terms, month):
    first, second = cst(terms[2 * month - 2])[2], cst(terms[2 * month - 1])[2]
    h, l = 15 - first, second - 15
    if not (0 <= h <= 15 and 0 <= l <= 15):
        raise RuntimeError(f"term days {first}/{second} do not fit the byte format")
    return h << 4 | l


def new_moons(start, end):
    """UT moments of the new moons (apparent elongation of moon from sun = 0) in [start, end]."""
    elong = lambda d: apparent_longitude(MOON, d) - sun_longitude(d)
    out = []
    d = ephem.previous_new_moon(start)
    while d <= end:
        exact = find_crossing(elong, 0.0, d - 0.05)
        if exact >= start:
            out.append(exact)
        d = ephem.next_new_moon(exact + 1)
    return out


def date_day_number(y, m, d):
    """Day number (as cst_day_number counts) of a calendar date."""
    return math.floor(ephem.Date((y, m, d)) + 0.5)


def lunar_months(terms_by_year, moon_moments):
    """Lunar months from the winter solstice of 1900 on, as (lunar year, number, leap, first
    day number, days): month 11 holds the winter solstice; of the 13 months between two
    solstices' months 11, the first without a major term is the leap month."""
    solstices = {y: cst_day_number(terms_by_year[y][23]) for y in terms_by_year}
    majors = sorted(cst_day_number(t) for y in terms_by_year for t in terms_by_year[y][1::2])
    moons = [cst_day_number(d) for d in moon_moments]
    months = []
    for y in range(FIRST_YEAR - 1, LAST_YEAR + 1):
        first = max(i for i, m in enumerate(moons) if m <= solstices[y])      # month 11 of y
        last = max(i for i, m in enumerate(moons) if m <= solstices[y + 1])  # month 11 of y + 1
        count = last - first
        if count not in (12, 13):
            raise RuntimeError(f"{count} months between the winter solstices of {y} and {y + 1}")
        lyear, number, leap_done = y, 11, False
        months.append((lyear, number, False, moons[first], moons[first + 1] - moons[first]))
        for i in range(first + 1, last):
            has_major = any(moons[i] <= t < moons[i + 1] for t in majors)
            if count == 13 and not leap_done and not has_major:
                leap_done = True
                months.append((lyear, number, True, moons[i], moons[i + 1] - moons[i]))
                continue
            number = number % 12 + 1
            if number == 1:
                lyear = y + 1
            months.append((lyear, number, False, moons[i], moons[i + 1] - moons[i]))
    return months


def month_tables(months):
    """{lunar year: (month-size word, leap month)} in the layout of CalFunc.cpp."""
    result = {}
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        word, bit, leap = 0, 15, 0
        for lyear, number, is_leap, _, days in months:
            if lyear != y:
                continue
            if is_leap:
                leap = number
            if days == 30:
                word |= 1 << bit
            bit -= 1
        result[y] = (word, leap)
    return result


def lunar_date(months, y, m, d):
    """(lunar year, month, day, leap) of a Gregorian date from the astronomical months."""
    n = date_day_number(y, m, d)
    for lyear, number, is_leap, start, days in months:
        if start <= n < start + days:
            return lyear, number, n - start + 1, is_leap
    raise RuntimeError(f"{y}-{m}-{d} outside the computed months")


# Lunar dates that the calendar's description gives as examples.
LUNAR_EXAMPLES = [
    ((1901, 1, 1), (1900, 11, 11, False)),
    ((1901, 2, 19), (1901, 1, 1, False)),
    ((2001, 1, 24), (2001, 1, 1, False)),
    ((2005, 2, 21), (2005, 1, 13, False)),
    ((2013, 1, 16), (2012, 12, 5, False)),
    ((2020, 5, 23), (2020, 4, 1, True)),
    ((2023, 1, 22), (2023, 1, 1, False)),
]


def table_from_source(name):
    """Hex values of the C array called name in CalFunc.cpp."""
    text = CALFUNC.read_text(encoding="utf-8")
    match = re.search(name + r"\[[^]]*\]\s*=\s*\{(.*?)\};", text, re.S)
    if not match:
        return None
    body = re.sub(r"//[^\n]*|/\*.*?\*/", "", match.group(1), flags=re.S)
    return [int(v, 16) for v in re.findall(r"0x([0-9A-Fa-f]+)", body)]


def main():
    years = range(FIRST_YEAR - 2, LAST_YEAR + 2)
    terms = {y: solar_terms(y) for y in years}

    # ephem's own apparent place of the sun, for comparison: which days would it move?
    changed = []
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        for i, t in enumerate(terms[y]):
            alt = find_crossing(lambda d: apparent_longitude(SUN, d), term_longitude(i + 1), t)
            if cst_day_number(alt) != cst_day_number(t):
                changed.append((i, t, alt))
    print(f"terms whose CST day differs with ephem's own apparent place of the sun: {len(changed)}")
    for i, t, alt in changed:
        print(f"  {TERM_NAMES[i]} {fmt(t)} (ephem's apparent place: {fmt(alt)})")

    print("terms within two minutes of 00:00 CST:")
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        for i, t in enumerate(terms[y]):
            _, _, _, h, mi, s = cst(t)
            seconds = h * 3600 + mi * 60 + s
            if seconds <= 120 or seconds >= 86400 - 120:
                print(f"  {TERM_NAMES[i]} {fmt(t)} CST")

    rows = {y: [encode(terms[y], m) for m in range(1, 13)] for y in range(FIRST_YEAR, LAST_YEAR + 1)}
    for y in (1901, 2005, 2012, 2020, 2050):
        print(f"{y}: " + " ".join(f"{b:02X}" for b in rows[y]))

    lines = [
        "// Generated by scripts/gen_solar_terms.py from python3-ephem; do not edit by hand.",
        "// Days (China Standard Time) of the solar terms of each Gregorian month, 1901 to 2050.",
        "// One byte per month: high nibble h = first term on day 15 - h, low nibble l = second",
        "// term on day 15 + l.",
        "constexpr quint8 kSolarTermBytes[150][12] = {",
    ]
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        lines.append(f"    {{{', '.join(f'0x{b:02X}' for b in rows[y])}}}, // {y}")
    lines.append("};")
    OUT.write_text("\n".join(lines) + "\n", encoding="utf-8")
    print(f"wrote {OUT.relative_to(ROOT)}")

    moon_moments = new_moons(ephem.Date((FIRST_YEAR - 2, 11, 1)), ephem.Date((LAST_YEAR + 1, 12, 31)))
    print("new moons within ten minutes of 00:00 CST (ephem's moon is good to about a minute):")
    for d in moon_moments:
        _, _, _, h, mi, s = cst(d)
        seconds = h * 3600 + mi * 60 + s
        if seconds <= 600 or seconds >= 86400 - 600:
            print(f"  {fmt(d)} CST")
    months = lunar_months(terms, moon_moments)
    for date, expected in LUNAR_EXAMPLES:
        got = lunar_date(months, *date)
        if got != expected:
            raise RuntimeError(f"lunar date of {date}: astronomy gives {got}, expected {expected}")
    print(f"lunar examples confirmed by astronomy: {len(LUNAR_EXAMPLES)}")
    lunar = month_tables(months)
    sizes, leaps = table_from_source("kLunarMonthSizes"), table_from_source("kLunarLeapMonths")
    if sizes is None or leaps is None or len(sizes) != 150 or len(leaps) != 75:
        print("CalFunc.cpp: lunar tables not found, nothing compared")
        return 0
    bad = 0
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        k = y - FIRST_YEAR
        leap = leaps[k // 2] >> 4 if k % 2 == 0 else leaps[k // 2] & 0xF
        word = sizes[k]
        used = 13 if leap else 12
        mask = ((1 << used) - 1) << (16 - used)
        if (word & mask, leap) != (lunar[y][0] & mask, lunar[y][1]):
            bad += 1
            print(f"lunar {y}: table {word:04X} leap {leap}, astronomy {lunar[y][0]:04X} leap {lunar[y][1]}")
    print(f"lunar tables of CalFunc.cpp against astronomy: {bad} years differ")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
