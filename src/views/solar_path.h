// The trail of the Sun's centre around the barycenter, thinned by time.
#pragma once

#include <list>

namespace barywalk {

// A point on the view panel in (real) pixels.
struct PixelPoint {
  double x = 0, y = 0;
};

// Stores the Sun's centre at most once per more than 10 simulated days.
// Points are kept in panel pixels as they were when stored, oldest first.
class SolarPath {
 public:
  SolarPath();
  virtual ~SolarPath();

  // Removes all points; the next AddPoint always stores.
  void Clear();
  // Stores `point` when `time` (Julian day) lies more than 10 days after the
  // last stored point; otherwise does nothing. A NaN time never stores.
  void AddPoint(double time, const PixelPoint& point);

  const std::list<PixelPoint>& Points() const;
  // Julian day of the last stored point; -1000.0 when empty.
  double LastTime() const;

 private:
  std::list<PixelPoint> m_points;
  double m_lastTime;
};

}  // namespace barywalk
