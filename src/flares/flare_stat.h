// Per-flare measurements against the planets' directions and the
// statistics file that lists them.
//
// File format (one line each, ended by "\n"): a header of nine column
// names, each preceded by one space, then per measured flare
//   JD test_angle[deg] Area flare_angle[rad] closest_planet
//   closest_planet_angle[rad] Earth earth_angle YYYY-MM-DD HH:MM:SS
// each field preceded by one space; JD with 14 significant digits, the
// other numbers with 8 (general notation, "." decimal point). Date and
// time are UTC. A test angle below 5 degrees appends two spaces and
// (10 - angle) asterisks, truncated.
#pragma once

#include <array>
#include <map>
#include <ostream>
#include <string>

#include "ephemeris/planets.h"
#include "flares/flare_symbols.h"
#include "flares/solar_flare.h"

namespace barywalk {

class FlareStat {
 public:
  FlareStat(double jd, double area, double flareAngle, std::string closestPlanet,
            double closestPlanetAngle, double earthAngle);
  virtual ~FlareStat() = default;

  double Jd() const { return m_jd; }
  double Area() const { return m_area; }
  double FlareAngle() const { return m_flareAngle; }
  const std::string& ClosestPlanet() const { return m_closestPlanet; }
  double ClosestPlanetAngle() const { return m_closestPlanetAngle; }
  double EarthAngle() const { return m_earthAngle; }

  // Angle between the flare's direction and the closest planet's
  // direction, radians in [0, pi].
  double TestAngle() const;
  // Takes over all fields of `other` when `other` is strictly nearer to
  // its planet; equal angles or a NaN keep this record.
  void KeepCloser(const FlareStat& other);
  // One data line, flushed.
  void Write(std::ostream& out) const;
  // The header line, flushed.
  static void WriteHeader(std::ostream& out);

 private:
  double m_jd;
  double m_area;
  double m_flareAngle;
  std::string m_closestPlanet;
  double m_closestPlanetAngle;
  double m_earthAngle;
};

// Measurements by flare index, ascending.
using FlareStatMap = std::map<int, FlareStat>;
// Heliocentric longitude in radians by planet name ("Earth", ...).
using PlanetLongitudes = std::map<std::string, double>;

// Refills `longitudes` with the nine planets' longitudes L (radians) from
// their positions at one instant, given in the planet order, under the
// names PlanetName gives: the table the statistics measure against.
void FillPlanetLongitudes(const std::array<HeliocentricPosition, kPlanetCount>& positions,
                          PlanetLongitudes& longitudes);

// The angular distance of two directions, radians in [0, pi].
double WrappedAngleDistance(double a, double b);

// Measures a drawn flare (key `jd`, direction angle `angle`) against the
// planet whose direction is nearest by wrapped angular distance (first in
// name order on a tie; "<none" with 2 pi when there are no planets), and
// keeps per flare index the nearest measurement ever seen.
void RecordFlareStat(FlareStatMap& stats, const PlanetLongitudes& planetLongitudes,
                     const SolarFlare& flare, double jd, double angle);

// The visitor of a frame's flare symbols that records each drawn flare's
// statistics (RecordFlareStat with the symbol's direction angle).
// `planetLongitudes` is read at each visit, not copied: a caller may fill
// it just before the first visit. Both must outlive the visitor.
FlareSymbolVisitor FlareStatRecorder(FlareStatMap& stats, const PlanetLongitudes& planetLongitudes);

// The statistics file's content: the header, then one line per record in
// ascending index order.
void WriteFlareStats(std::ostream& out, const FlareStatMap& stats);

// Writes the header and one line per record beside `path` and renames it
// onto `path` when complete, so that a failed write leaves the old file as
// it was. Returns false with the reason in `error` when the file cannot be
// opened or not be written completely; the caller should empty `stats`
// only after a true result.
bool WriteFlareStatsFile(const std::string& path, const FlareStatMap& stats, std::string& error);

}  // namespace barywalk
