// Numbers of the orbit view: geometry, planet markers, Sun trail and Sun layer.
#pragma once

#include "ephemeris/constants.h"

namespace barywalk {

// Geometry: the Sun's radius is w * kViewScaleFactor / kViewScaleDivisor
// pixels on a panel w pixels wide (the scale the Sun's offset is computed
// with); the reference circle around the barycenter has one solar diameter.
constexpr double kSolarDiametersPerPanel = kViewScaleDivisor / 2;

// Planet markers: a planet at its reference distance gets a line of
// 0.7 * 0.45 * w pixels; too long markers shrink by 0.5 % per step until the
// label corner lies inside the margins (the right one leaves room for the name).
constexpr double kMarkerLengthFraction = 0.45;
constexpr double kMarkerShrinkFactor = 0.995;
constexpr double kMarkerMarginLeft = 5.0;
constexpr double kMarkerMarginRight = 45.0;
constexpr double kMarkerMarginTop = 15.0;
constexpr double kMarkerMarginBottom = 15.0;
// More steps than any marker that can fit ever needs (0.995^10000 ~ 2e-22).
constexpr int kMarkerMaxShrinkSteps = 10000;
constexpr int kMarkerPenWidth = 2;

// Sun trail: a new point only after more than this many simulated days.
constexpr double kTrailMinIntervalDays = 10.0;
// The last stored time of an empty trail, far before any real Julian day.
constexpr double kTrailEmptyTime = -1000.0;

// Sun layer.
constexpr double kAccelLengthFactor = 70.0;
constexpr int kAccelPenWidth = 3;
constexpr double kDateLabelOffsetX = -40.0;  // from the Sun's centre, label on the disc
constexpr double kDateLabelOffsetY = -20.0;
constexpr int kDateLabelFixedX = 25;  // label corner when the disc is hidden
constexpr int kDateLabelFixedY = 10;

}  // namespace barywalk
