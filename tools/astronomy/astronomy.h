// The astronomy behind the Japanese almanac (tools/almanac/): where the Sun
// is, when it reaches a given longitude, when the Moon's phases fall, and how
// such an instant reads on a Japanese clock.
//
// Instants are Julian Days (double): "JD" is Universal Time, "JDE" is
// Terrestrial Time; a double holds a JD near 2.4e6 to about 0.05 ms.
//  - The Sun's apparent longitude: VSOP87 for the Earth as truncated in Meeus,
//    Astronomical Algorithms (2nd ed.), ch. 25 "higher accuracy", ch. 32 and
//    Appendix III; the FK5 correction; nutation in longitude by the IAU 1980
//    series (Meeus ch. 22); aberration -20.4898"/R. The latitude's share of
//    the FK5 correction (below 1e-6") is left out.
//  - The Moon's phases: Meeus ch. 49 with all its periodic corrections, the
//    quarters' W and the 14 planetary terms.
//  - Delta T: the Espenak-Meeus polynomials of NASA's eclipse pages. Beyond
//    the last observed value they are an extrapolation; for 2099 they give
//    about 200 s (other extrapolations give up to half a minute more).
//
// Accuracy measured (tools/astronomy/astronomy_test.cpp and
// tests/tool/check_almanac_independent.py):
//  - Meeus's worked examples: 25.b's apparent longitude to 0.001", 22.a's
//    nutation to 0.0001", 49.a's new moon to 0.3 s.
//  - Equinoxes and solstices: within 26 s of a published 1901-2050 table
//    (1901, 1920) and within the minute's rounding of the US Naval
//    Observatory's 2023 times.
//  - 43 new and full moons of 2017 and 2022-23 from the national
//    observatory's tables (JST, rounded to the minute): 36 to the minute, 7
//    a minute off, ours 1 to 8 s early of the rounding point; the
//    polynomial Delta T runs 3 to 5 s above the observed one in the 2020s.
//  - PyEphem (full VSOP87, ELP-2000, its own Delta T) over 1900-2099: solar
//    terms within 35 s (median 8 s), phases within 37 s (median 5 s); in TT,
//    without the two Delta T's difference, within 21 s and 19 s. The largest
//    differences are near 2099, where the two extrapolations of Delta T differ by
//    over 20 s.
#pragma once

#include <stdint.h>

#include "agenda/agenda.h"

// JD (UT) of 0h UT on `date` (proleptic Gregorian).
double JulianDayOfDate(AgendaDate date);

// Delta T = TT - UT in seconds at the decimal year `year` (Espenak-Meeus).
double DeltaTSeconds(double year);

// The decimal year of a JD, as Delta T takes it.
double DecimalYear(double julianDay);

// JDE of a JD (UT) and the JD (UT) of a JDE.
double EphemerisDay(double julianDay);
double UniversalDay(double ephemerisDay);

// Nutation in longitude, in arcseconds, at a JDE (IAU 1980, Meeus ch. 22).
double NutationInLongitude(double ephemerisDay);

// The Sun's geometric geocentric longitude (FK5, mean equinox of date) in
// degrees [0, 360) and its distance in AU at a JDE.
struct SunPosition {
  double longitude;
  double distance;
};
SunPosition SunGeometricPosition(double ephemerisDay);

// The Sun's apparent geocentric ecliptic longitude (true equinox of date) in
// degrees [0, 360) at a JDE.
double SunApparentLongitude(double ephemerisDay);

// The JD (UT) at which the Sun's apparent longitude reaches `longitude`
// (degrees), the crossing within half a year of `nearJulianDay`: Newton's
// method on the mean motion, at most 20 steps, to 1e-7 degrees (10 ms).
double SunLongitudeInstant(double longitude, double nearJulianDay);

enum class MoonPhase { kNewMoon = 0, kFirstQuarter = 1, kFullMoon = 2, kLastQuarter = 3 };

// JDE of `phase` in lunation `lunation` (Meeus's k: 0 is the new moon of
// 2000 January 6; the quarters and the full moon follow their new moon).
double MoonPhaseEphemerisDay(int32_t lunation, MoonPhase phase);

// The same as a JD (UT).
double MoonPhaseInstant(int32_t lunation, MoonPhase phase);

// The lunation whose new moon is the last one at or before the JD (UT).
int32_t LunationAt(double julianDay);

// Japan Standard Time (UTC+9) of a JD (UT): the calendar day the instant
// falls on, and its minute of that day rounded to the nearest (30 s up, as
// the national observatory's almanac rounds), except that an instant from
// 23:59:30 on stays at 23:59 so that the minute never leaves the day the
// instant decides.
struct JstTime {
  AgendaDate date;
  int32_t minuteOfDay;  // 0 to 1439
};
AgendaDate JstDateOf(double julianDay);
JstTime JstTimeOf(double julianDay);

// Days since 1970-01-01 (as tools/dates/dates.h counts them) of the JST day
// of a JD (UT).
int64_t JstDayNumberOf(double julianDay);

// The JD (UT) of 0h JST on `date`.
double JulianDayOfJstMidnight(AgendaDate date);
