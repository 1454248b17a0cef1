#!/usr/bin/env python3
"""Checks the almanac (tools/almanac/) over 1900-2099 against an independent
computation: PyEphem (Debian's python3-ephem: full VSOP87 and ELP-2000 with
its own Delta T) for the astronomy, and the almanac's rules written again
here. Compares every day's 旧暦 and 六曜, every 節気 day, and every solar-term
and moon-phase instant (within two minutes), and reports each disagreement,
marking those whose deciding instant lies within five minutes of JST
midnight, where two good ephemerides may fairly differ. Not run by CI: it
takes a minute or two.

usage: check_almanac_independent.py [--years FIRST LAST] COMMAND...
(COMMAND runs tests/tool/almanac_dump.cpp built natively; run this script
with the python3 that has the ephem module, e.g. Debian's /usr/bin/python3)"""

import bisect
import datetime
import math
import statistics
import subprocess
import sys

from tool_support import report

try:
    import ephem
except ImportError:
    sys.exit("needs PyEphem: apt-get install python3-ephem, then run with /usr/bin/python3")

UNIX_EPOCH_JD = 2440587.5
DUBLIN_JD = 2415020.0  # ephem.Date 0 as a Julian Day
JST = 9 / 24
NEAR_MIDNIGHT = 5 / 1440  # days
PHASE_LIMIT = 120  # seconds

TERM_NAMES = ["春分", "清明", "穀雨", "立夏", "小満", "芒種", "夏至", "小暑", "大暑", "立秋",
              "処暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至", "小寒",
              "大寒", "立春", "雨水", "啓蟄"]
PHASE_NAMES = ["新月", "上弦", "満月", "下弦"]
ROKUYO = ["大安", "赤口", "先勝", "友引", "先負", "仏滅"]


def julian_day(date):
    return float(date) + DUBLIN_JD


def jst_day(jd):
    """Days since 1970-01-01 of the JST day of a Julian Day (UT)."""
    return math.floor(jd - UNIX_EPOCH_JD + JST)


def midnight_distance(jd):
    """Days from the instant to the nearest JST midnight."""
    fraction = (jd - UNIX_EPOCH_JD + JST) % 1
    return min(fraction, 1 - fraction)


EPOCH = datetime.date(1970, 1, 1)


def day_name(day):
    return (EPOCH + datetime.timedelta(days=day)).strftime("%Y/%m/%d")


def day_number(text):
    year, month, day = (int(field) for field in text.split("/"))
    return (datetime.date(year, month, day) - EPOCH).days


def true_obliquity(jd):
    """Mean obliquity (IAU 1980) plus the main terms of its nutation, radians."""
    t = (jd - 2451545.0) / 36525
    seconds = 84381.448 - 46.8150 * t - 0.00059 * t * t + 0.001813 * t ** 3
    omega = math.radians(125.04452 - 1934.136261 * t)
    sun = math.radians(280.4665 + 36000.7698 * t)
    moon = math.radians(218.3165 + 481267.8813 * t)
    seconds += (9.20 * math.cos(omega) + 0.57 * math.cos(2 * sun) + 0.10 * math.cos(2 * moon)
                - 0.09 * math.cos(2 * omega))
    return math.radians(seconds / 3600)


def sun_longitude(jd):
    """PyEphem's apparent geocentric Sun, as ecliptic longitude of date in
    degrees: its right ascension and declination of date turned with the
    true obliquity."""
    sun = ephem.Sun(ephem.Date(jd - DUBLIN_JD))
    eps = true_obliquity(jd)
    ra, dec = float(sun.g_ra), float(sun.g_dec)
    lon = math.atan2(math.sin(ra) * math.cos(eps) + math.tan(dec) * math.sin(eps), math.cos(ra))
    return math.degrees(lon) % 360


def sun_reaches(longitude, guess):
    """The Julian Day (UT) the Sun reaches `longitude`, by the secant method."""
    def error(jd):
        return (sun_longitude(jd) - longitude + 180) % 360 - 180
    a, b = guess - 1, guess + 1
    fa, fb = error(a), error(b)
    for _ in range(30):
        if fb == fa:
            break
        a, b, fa = b, b - fb * (b - a) / (fb - fa), fb
        fb = error(b)
        if abs(b - a) < 1e-7:
            break
    return b


def solar_terms(first, last):
    """{(year, k): JD} for the terms of the years (JST)."""
    terms = {}
    for year in range(first, last + 1):
        equinox = julian_day(ephem.Date("%d/3/20" % year))
        for k in range(24):
            longitude = 15 * k
            offset = (longitude - 360 if longitude >= 285 else longitude) * 365.2422 / 360
            terms[(year, k)] = sun_reaches(longitude, equinox + offset)
    return terms


def moon_phases(first, last):
    """[(JD, phase)] from a month before `first` to a month after `last`."""
    finders = [ephem.next_new_moon, ephem.next_first_quarter_moon, ephem.next_full_moon,
               ephem.next_last_quarter_moon]
    end = ephem.Date("%d/2/1" % (last + 1))
    phases = []
    for phase, finder in enumerate(finders):
        date = ephem.Date("%d/12/1" % (first - 2))
        while True:
            date = finder(date)
            if date > end:
                break
            phases.append((julian_day(date), phase))
            date = ephem.Date(date + 1)
    return sorted(phases)


def lunisolar_days(first, last, terms, phases):
    """{day: "旧M月D日 六曜"} for every day of the years, by the almanac's rules."""
    new_moons = [jst_day(jd) for jd, phase in phases if phase == 0]
    principal = sorted(jst_day(jd) for (year, k), jd in terms.items() if k % 2 == 0)

    def month_of(day):
        return bisect.bisect_right(new_moons, day) - 1

    def holds_principal(i):
        at = bisect.bisect_left(principal, new_moons[i])
        return at < len(principal) and principal[at] < new_moons[i + 1]

    days = {}
    for year in range(first - 1, last + 1):
        start = month_of(jst_day(terms[(year, 18)]))
        end = month_of(jst_day(terms[(year + 1, 18)]))
        leap = None
        if end - start == 13:
            leap = next(i for i in range(start + 1, end) if not holds_principal(i))
        number = 11
        for i in range(start, end):
            if i != start and i != leap:
                number = number % 12 + 1
            for day in range(new_moons[i], new_moons[i + 1]):
                n = day - new_moons[i] + 1
                days[day] = "旧%s%d月%d日 %s" % ("閏" if i == leap else "", number, n,
                                                ROKUYO[(number + n) % 6])
    return days


def pyephem_delta_t(jd):
    return ephem.delta_t(ephem.Date(jd - DUBLIN_JD))


def run(command, *args):
    result = subprocess.run(command + [str(a) for a in args], stdout=subprocess.PIPE, check=True)
    return result.stdout.decode("utf-8").splitlines()


def minutes_summary(seconds):
    values = sorted(abs(s) for s in seconds)
    return "max %.2f min, median %.2f min, 95%% %.2f min (n=%d)" % (
        values[-1] / 60, statistics.median(values) / 60,
        values[int(len(values) * 0.95)] / 60, len(values))


def main(args):
    first, last = 1900, 2099
    if args[:1] == ["--years"]:
        first, last, args = int(args[1]), int(args[2]), args[3:]
    if not args:
        print(__doc__, file=sys.stderr)
        return 2

    terms = solar_terms(first - 1, last + 1)
    phases = moon_phases(first, last)
    expected_days = lunisolar_days(first, last, terms, phases)
    deciding = sorted([jd for jd in terms.values()] + [jd for jd, p in phases if p == 0])

    entries = run(args, first, last)
    instants = run(args, "--instants", first, last)

    problems, near = [], []
    # 旧暦 and 六曜 of every day; a run of disagreeing days is one problem.
    kyureki = {}
    for line in entries:
        date, _, kind, text = line.split(" ", 3)
        if kind == "kyureki":
            kyureki[day_number(date)] = text
    first_day, last_day = day_number("%d/01/01" % first), day_number("%d/12/31" % last)
    run_start = None
    for day in range(first_day, last_day + 2):
        differs = day <= last_day and kyureki.get(day) != expected_days.get(day)
        if differs and run_start is None:
            run_start = day
        if not differs and run_start is not None:
            window = [jd for jd in deciding if run_start - 31 <= jst_day(jd) <= day]
            closest = min(window, key=midnight_distance)
            message = ("旧暦 %s to %s: %s, PyEphem %s "
                       "(closest deciding instant %.1f min from midnight)") % (
                day_name(run_start), day_name(day - 1), kyureki.get(run_start),
                expected_days.get(run_start), midnight_distance(closest) * 1440)
            (near if midnight_distance(closest) < NEAR_MIDNIGHT else problems).append(message)
            run_start = None
    compared_days = last_day - first_day + 1

    # Solar terms: the day of each, and its instant.
    term_seconds, term_tt_seconds = [], []
    sekki = {}
    for line in entries:
        date, _, kind, text = line.split(" ", 3)
        if kind == "sekki":
            sekki[(int(date[:4]), TERM_NAMES.index(text))] = day_number(date)
    for line in instants:
        fields = line.split()
        if fields[0] != "term":
            continue
        year, k, jd, delta_t = int(fields[1]), int(fields[2]), float(fields[3]), float(fields[4])
        reference = terms[(year, k)]
        term_seconds.append((jd - reference) * 86400)
        term_tt_seconds.append(term_seconds[-1] + delta_t - pyephem_delta_t(reference))
        if sekki.get((year, k)) != jst_day(reference):
            message = "%s %d: on %s, PyEphem %s (%.1f min from midnight)" % (
                TERM_NAMES[k], year, day_name(sekki.get((year, k), 0)),
                day_name(jst_day(reference)), midnight_distance(reference) * 1440)
            (near if midnight_distance(reference) < NEAR_MIDNIGHT else problems).append(message)
        if abs(term_seconds[-1]) > PHASE_LIMIT:
            problems.append("%s %d: %.0f s from PyEphem" % (TERM_NAMES[k], year, term_seconds[-1]))

    # Moon phases: each instant against PyEphem's nearest of the same phase,
    # and the day of each moon entry.
    phase_seconds, phase_tt_seconds = [], []
    by_phase = [[jd for jd, p in phases if p == phase] for phase in range(4)]
    for line in instants:
        fields = line.split()
        if fields[0] != "phase":
            continue
        phase, jd, delta_t = int(fields[2]), float(fields[3]), float(fields[4])
        reference = min(by_phase[phase], key=lambda other: abs(other - jd))
        phase_seconds.append((jd - reference) * 86400)
        phase_tt_seconds.append(phase_seconds[-1] + delta_t - pyephem_delta_t(reference))
        if abs(phase_seconds[-1]) > PHASE_LIMIT:
            problems.append("%s of lunation %s: %.0f s from PyEphem" % (
                PHASE_NAMES[phase], fields[1], phase_seconds[-1]))
        if jst_day(jd) != jst_day(reference):
            message = "%s on %s, PyEphem %s (%.1f min from midnight)" % (
                PHASE_NAMES[phase], day_name(jst_day(jd)), day_name(jst_day(reference)),
                midnight_distance(reference) * 1440)
            (near if midnight_distance(reference) < NEAR_MIDNIGHT else problems).append(message)

    for message in near:
        print("near midnight: %s" % message)
    summary = ("%d days of 旧暦 and 六曜, %d solar terms, %d moon phases compared; "
               "%d disagreements, %d of them within %d minutes of midnight\n"
               "solar terms vs PyEphem: %s\nmoon phases vs PyEphem: %s\n"
               "in TT, without the two Delta T's difference: solar terms %s; moon phases %s") % (
        compared_days, len(term_seconds), len(phase_seconds), len(problems) + len(near),
        len(near), round(NEAR_MIDNIGHT * 1440), minutes_summary(term_seconds),
        minutes_summary(phase_seconds), minutes_summary(term_tt_seconds),
        minutes_summary(phase_tt_seconds))
    status = report(problems, summary)
    if problems:
        print(summary)
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
