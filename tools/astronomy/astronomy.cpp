#include "tools/astronomy/astronomy.h"

#include <math.h>

#include "tools/astronomy/earth_series.h"
#include "tools/dates/dates.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadiansPerDegree = kPi / 180.0;
constexpr double kJ2000 = 2451545.0;
// JD of 1970-01-01 0h UT, day 0 of DayNumber.
constexpr double kUnixEpoch = 2440587.5;
constexpr double kJstOffsetDays = 9.0 / 24.0;
constexpr double kSecondsPerDay = 86400.0;
constexpr double kMinutesPerDay = 1440.0;

// `degrees` reduced to [0, 360).
double Normalized(double degrees) {
  const double reduced = fmod(degrees, 360.0);
  return reduced < 0 ? reduced + 360.0 : reduced;
}

// `degrees` reduced to [-180, 180).
double SignedAngle(double degrees) {
  const double reduced = Normalized(degrees);
  return reduced >= 180.0 ? reduced - 360.0 : reduced;
}

double SinDegrees(double degrees) { return sin(Normalized(degrees) * kRadiansPerDegree); }
double CosDegrees(double degrees) { return cos(Normalized(degrees) * kRadiansPerDegree); }

// A VSOP87 variable: the sum of its series by power of tau, in 1e-8 units.
template <size_t n>
double SumSeries(const earth_series::Series (&series)[n], double tau) {
  double total = 0, power = 1;
  for (const earth_series::Series& piece : series) {
    double sum = 0;
    for (size_t i = 0; i < piece.count; ++i) {
      const earth_series::Term& term = piece.terms[i];
      sum += term.a * cos(term.b + term.c * tau);
    }
    total += sum * power;
    power *= tau;
  }
  return total * 1e-8;
}

// Meeus ch. 49: one periodic term of a phase's correction, the multiples of
// M, M', F and Omega in its sine and the power of E it is scaled by.
struct PhaseTerm {
  double coefficient;
  signed char m, mPrime, f, omega, powerOfE;
};

// The new moon's terms; the full moon has the same with its own first seven
// coefficients (kFullMoonLeading).
constexpr PhaseTerm kNewMoonTerms[] = {
    {-0.40720, 0, 1, 0, 0, 0}, {0.17241, 1, 0, 0, 0, 1},    {0.01608, 0, 2, 0, 0, 0},
    {0.01039, 0, 0, 2, 0, 0},  {0.00739, -1, 1, 0, 0, 1},   {-0.00514, 1, 1, 0, 0, 1},
    {0.00208, 2, 0, 0, 0, 2},  {-0.00111, 0, 1, -2, 0, 0},  {-0.00057, 0, 1, 2, 0, 0},
    {0.00056, 1, 2, 0, 0, 1},  {-0.00042, 0, 3, 0, 0, 0},   {0.00042, 1, 0, 2, 0, 1},
    {0.00038, 1, 0, -2, 0, 1}, {-0.00024, -1, 2, 0, 0, 1},  {-0.00017, 0, 0, 0, 1, 0},
    {-0.00007, 2, 1, 0, 0, 0}, {0.00004, 0, 2, -2, 0, 0},   {0.00004, 3, 0, 0, 0, 0},
    {0.00003, 1, 1, -2, 0, 0}, {0.00003, 0, 2, 2, 0, 0},    {-0.00003, 1, 1, 2, 0, 0},
    {0.00003, -1, 1, 2, 0, 0}, {-0.00002, -1, 1, -2, 0, 0}, {-0.00002, 1, 3, 0, 0, 0},
    {0.00002, 0, 4, 0, 0, 0},
};
constexpr double kFullMoonLeading[] = {-0.40614, 0.17302,  0.01614, 0.01043,
                                       0.00734,  -0.00515, 0.00209};

constexpr PhaseTerm kQuarterTerms[] = {
    {-0.62801, 0, 1, 0, 0, 0}, {0.17172, 1, 0, 0, 0, 1},    {-0.01183, 1, 1, 0, 0, 1},
    {0.00862, 0, 2, 0, 0, 0},  {0.00804, 0, 0, 2, 0, 0},    {0.00454, -1, 1, 0, 0, 1},
    {0.00204, 2, 0, 0, 0, 2},  {-0.00180, 0, 1, -2, 0, 0},  {-0.00070, 0, 1, 2, 0, 0},
    {-0.00040, 0, 3, 0, 0, 0}, {-0.00034, -1, 2, 0, 0, 1},  {0.00032, 1, 0, 2, 0, 1},
    {0.00032, 1, 0, -2, 0, 1}, {-0.00028, 2, 1, 0, 0, 2},   {0.00027, 1, 2, 0, 0, 1},
    {-0.00017, 0, 0, 0, 1, 0}, {-0.00005, -1, 1, -2, 0, 0}, {0.00004, 0, 2, 2, 0, 0},
    {-0.00004, 1, 1, 2, 0, 0}, {0.00004, -2, 1, 0, 0, 0},   {0.00003, 1, 1, -2, 0, 0},
    {0.00003, 3, 0, 0, 0, 0},  {0.00002, 0, 2, -2, 0, 0},   {0.00002, -1, 1, 2, 0, 0},
    {-0.00002, 1, 3, 0, 0, 0},
};

// Meeus ch. 49's planetary arguments A1 to A14: constant, per lunation, and
// the coefficient of the correction's sine in days.
struct PlanetaryTerm {
  double constant, perLunation, coefficient;
};
constexpr PlanetaryTerm kPlanetaryTerms[] = {
    {299.77, 0.107408, 0.000325},  // A1, which also has -0.009173 T^2
    {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164}, {349.42, 36.412478, 0.000126},
    {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062}, {207.14, 2.453732, 0.000060},
    {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},  {207.19, 0.121824, 0.000042},
    {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037}, {239.56, 25.513099, 0.000035},
    {331.55, 3.592518, 0.000023},
};

constexpr double kSynodicMonth = 29.530588861;
constexpr double kFirstNewMoon = 2451550.09766;  // lunation 0, JDE

}  // namespace

double JulianDayOfDate(AgendaDate date) {
  return kUnixEpoch + static_cast<double>(DayNumber(date));
}

double DecimalYear(double julianDay) { return 2000.0 + (julianDay - 2451544.5) / 365.2425; }

double DeltaTSeconds(double year) {
  // Espenak and Meeus, "Polynomial expressions for Delta T", NASA eclipse
  // web site, for the stretches that cover 1860 to 2150.
  if (year < 1900) {
    const double t = year - 1860;
    return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t -
           0.0004473624 * t * t * t * t + t * t * t * t * t / 233174;
  }
  if (year < 1920) {
    const double t = year - 1900;
    return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
           0.000197 * t * t * t * t;
  }
  if (year < 1941) {
    const double t = year - 1920;
    return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
  }
  if (year < 1961) {
    const double t = year - 1950;
    return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
  }
  if (year < 1986) {
    const double t = year - 1975;
    return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
  }
  if (year < 2005) {
    const double t = year - 2000;
    return 63.86 + 0.3345 * t - 0.060374 * t * t + 0.0017275 * t * t * t +
           0.000651814 * t * t * t * t + 0.00002373599 * t * t * t * t * t;
  }
  if (year < 2050) {
    const double t = year - 2000;
    return 62.92 + 0.32217 * t + 0.005589 * t * t;
  }
  const double u = (year - 1820) / 100;
  return -20 + 32 * u * u - 0.5628 * (2150 - year);
}

double EphemerisDay(double julianDay) {
  return julianDay + DeltaTSeconds(DecimalYear(julianDay)) / kSecondsPerDay;
}

double UniversalDay(double ephemerisDay) {
  // Delta T changes by well under a second a year, so taking it at the JDE
  // instead of the JD it belongs to is off by far less than a millisecond.
  return ephemerisDay - DeltaTSeconds(DecimalYear(ephemerisDay)) / kSecondsPerDay;
}

double NutationInLongitude(double ephemerisDay) {
  const double t = (ephemerisDay - kJ2000) / 36525;
  const double t2 = t * t, t3 = t2 * t;
  const double d = 297.85036 + 445267.111480 * t - 0.0019142 * t2 + t3 / 189474;
  const double m = 357.52772 + 35999.050340 * t - 0.0001603 * t2 - t3 / 300000;
  const double mPrime = 134.96298 + 477198.867398 * t + 0.0086972 * t2 + t3 / 56250;
  const double f = 93.27191 + 483202.017538 * t - 0.0036825 * t2 + t3 / 327270;
  const double omega = 125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000;
  double sum = 0;
  for (const earth_series::NutationTerm& term : earth_series::kNutation) {
    const double argument =
        term.d * d + term.m * m + term.mPrime * mPrime + term.f * f + term.omega * omega;
    sum += (term.sine + term.sinePerCentury * t) * SinDegrees(argument);
  }
  return sum * 1e-4;
}

SunPosition SunGeometricPosition(double ephemerisDay) {
  const double tau = (ephemerisDay - kJ2000) / 365250;
  const double earthLongitude = SumSeries(earth_series::kLongitude, tau) / kRadiansPerDegree;
  const double distance = SumSeries(earth_series::kRadius, tau);
  // Geocentric: the opposite direction. Then from the VSOP87 dynamical
  // ecliptic to FK5 (Meeus 32.3): -0.09033" in longitude, plus a term in the
  // tangent of the Sun's latitude (below 1") that stays under 1e-6".
  const double longitude = earthLongitude + 180.0 - 0.09033 / 3600;
  return {Normalized(longitude), distance};
}

double SunApparentLongitude(double ephemerisDay) {
  const SunPosition position = SunGeometricPosition(ephemerisDay);
  const double aberration = -20.4898 / position.distance;
  return Normalized(position.longitude + (NutationInLongitude(ephemerisDay) + aberration) / 3600);
}

double SunLongitudeInstant(double longitude, double nearJulianDay) {
  // The Sun's mean motion, degrees a day; its true motion differs by under
  // 4 %, so each step gains about a factor of 30.
  constexpr double kDegreesPerDay = 360.0 / 365.2422;
  double julianDay = nearJulianDay;
  for (int step = 0; step < 20; ++step) {
    const double apparent = SunApparentLongitude(EphemerisDay(julianDay));
    const double error = SignedAngle(longitude - apparent);
    julianDay += error / kDegreesPerDay;
    if (fabs(error) < 1e-7) break;
  }
  return julianDay;
}

double MoonPhaseEphemerisDay(int32_t lunation, MoonPhase phase) {
  const double k = lunation + static_cast<int>(phase) * 0.25;
  const double t = k / 1236.85;
  const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
  double jde =
      kFirstNewMoon + kSynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
  const double e = 1 - 0.002516 * t - 0.0000074 * t2;
  const double m = 2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3;
  const double mPrime =
      201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4;
  const double f =
      160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4;
  const double omega = 124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3;

  const bool quarter = phase == MoonPhase::kFirstQuarter || phase == MoonPhase::kLastQuarter;
  const PhaseTerm* terms = quarter ? kQuarterTerms : kNewMoonTerms;
  const size_t count = quarter ? sizeof kQuarterTerms / sizeof kQuarterTerms[0]
                               : sizeof kNewMoonTerms / sizeof kNewMoonTerms[0];
  for (size_t i = 0; i < count; ++i) {
    const PhaseTerm& term = terms[i];
    double coefficient = term.coefficient;
    if (phase == MoonPhase::kFullMoon && i < sizeof kFullMoonLeading / sizeof(double)) {
      coefficient = kFullMoonLeading[i];
    }
    for (int power = 0; power < term.powerOfE; ++power) coefficient *= e;
    jde += coefficient *
           SinDegrees(term.m * m + term.mPrime * mPrime + term.f * f + term.omega * omega);
  }
  if (quarter) {
    const double w = 0.00306 - 0.00038 * e * CosDegrees(m) + 0.00026 * CosDegrees(mPrime) -
                     0.00002 * CosDegrees(mPrime - m) + 0.00002 * CosDegrees(mPrime + m) +
                     0.00002 * CosDegrees(2 * f);
    jde += phase == MoonPhase::kFirstQuarter ? w : -w;
  }
  for (size_t i = 0; i < sizeof kPlanetaryTerms / sizeof kPlanetaryTerms[0]; ++i) {
    const PlanetaryTerm& term = kPlanetaryTerms[i];
    double argument = term.constant + term.perLunation * k;
    if (i == 0) argument -= 0.009173 * t2;
    jde += term.coefficient * SinDegrees(argument);
  }
  return jde;
}

double MoonPhaseInstant(int32_t lunation, MoonPhase phase) {
  return UniversalDay(MoonPhaseEphemerisDay(lunation, phase));
}

int32_t LunationAt(double julianDay) {
  // The mean lunation first; the true new moon is within about 14 hours of
  // the mean one, so one step either way settles it.
  int32_t lunation =
      static_cast<int32_t>(floor((EphemerisDay(julianDay) - kFirstNewMoon) / kSynodicMonth));
  for (int step = 0; step < 4; ++step) {
    if (MoonPhaseInstant(lunation, MoonPhase::kNewMoon) > julianDay) {
      --lunation;
    } else if (MoonPhaseInstant(lunation + 1, MoonPhase::kNewMoon) <= julianDay) {
      ++lunation;
    } else {
      break;
    }
  }
  return lunation;
}

int64_t JstDayNumberOf(double julianDay) {
  return static_cast<int64_t>(floor(julianDay - kUnixEpoch + kJstOffsetDays));
}

AgendaDate JstDateOf(double julianDay) { return DateOfDay(JstDayNumberOf(julianDay)); }

JstTime JstTimeOf(double julianDay) {
  const int64_t day = JstDayNumberOf(julianDay);
  const double minutes =
      (julianDay - kUnixEpoch + kJstOffsetDays - static_cast<double>(day)) * kMinutesPerDay;
  int32_t minute = static_cast<int32_t>(floor(minutes + 0.5));
  if (minute > 1439) minute = 1439;
  if (minute < 0) minute = 0;
  return {DateOfDay(day), minute};
}

double JulianDayOfJstMidnight(AgendaDate date) { return JulianDayOfDate(date) - kJstOffsetDays; }
