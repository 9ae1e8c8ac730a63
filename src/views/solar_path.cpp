#include "views/solar_path.h"

#include "views/view_constants.h"

namespace barywalk {

SolarPath::SolarPath() : m_lastTime(kTrailEmptyTime) {}

SolarPath::~SolarPath() { Clear(); }

void SolarPath::Clear() {
  m_points.clear();
  m_lastTime = kTrailEmptyTime;
}

void SolarPath::AddPoint(double time, const PixelPoint& point) {
  // Written so that a NaN difference fails the test.
  if (time - m_lastTime > kTrailMinIntervalDays) {
    m_points.push_back(point);
    m_lastTime = time;
  }
}

const std::list<PixelPoint>& SolarPath::Points() const { return m_points; }

double SolarPath::LastTime() const { return m_lastTime; }

}  // namespace barywalk
