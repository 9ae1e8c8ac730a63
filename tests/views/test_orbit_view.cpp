// Draws the orbit view's layers into a 640 x 640 memory bitmap and checks pixels.
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include "../support/gui_test_support.h"
#include "ephemeris/planets.h"
#include "views/orbit_view.h"

namespace barywalk {
namespace {

using guitest::PixelAt;
using Match = std::function<bool(const wxColour&)>;

constexpr int kSize = 640;
constexpr double kJan1980 = 2444239.5;  // 1980-01-01 00:00 UTC

const wxColour kSunColour(255, 150, 30);
const wxColour kAccelColour(200, 50, 150);
const wxColour kEarthColour(255, 0, 255);

Match Is(const wxColour& colour) {
  return [colour](const wxColour& p) { return p == colour; };
}
bool NotBlack(const wxColour& p) { return p != *wxBLACK; }

// Draws on a black 640 x 640 canvas; a layer leaves brush and pen null behind it.
wxImage Render(const std::function<void(wxDC&)>& draw) {
  wxBitmap bitmap(kSize, kSize, 24);
  wxMemoryDC dc(bitmap);
  dc.SetBackground(*wxBLACK_BRUSH);
  dc.Clear();
  dc.SetBrush(wxNullBrush);
  draw(dc);
  EXPECT_FALSE(dc.GetPen().IsOk());
  EXPECT_FALSE(dc.GetBrush().IsOk());
  dc.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

// Number of pixels in [x0, x1] x [y0, y1] for which `match` holds.
int CountIn(const wxImage& img, int x0, int y0, int x1, int y1, const Match& match) {
  int count = 0;
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (match(PixelAt(img, x, y))) ++count;
  return count;
}

// Text drawn with its corner at (x, y): its ink starts two or three pixels
// right of and below the corner, so a few pixels' slack on either side.
void ExpectTextAt(const wxImage& img, const Match& ink, int x, int y) {
  EXPECT_EQ(CountIn(img, x - 8, y + 3, x - 1, y + 20, ink), 0) << "left of " << x;
  EXPECT_GT(CountIn(img, x, y + 3, x + 3, y + 20, ink), 0) << "first column near " << x;
  EXPECT_GT(CountIn(img, x, y + 3, x + 60, y + 5, ink), 0) << "top row near " << y;
}

TEST(OrbitViewBackground, RedCrosshairThroughTheCentreAndReferenceCircleBox) {
  const wxImage img = Render([](wxDC& dc) {
    dc.SetBackground(*wxWHITE_BRUSH);  // the layer paints the panel black itself
    dc.Clear();
    DrawBackground(dc, kSize, kSize);
  });
  for (int corner : {0, 638}) EXPECT_EQ(PixelAt(img, corner, corner), *wxBLACK);
  // Across the whole panel (only a line's very first pixel is softened).
  for (int t : {1, 100, 319, 321, 639}) {
    EXPECT_EQ(PixelAt(img, t, 320), *wxRED) << t;
    EXPECT_EQ(PixelAt(img, 320, t), *wxRED) << t;
    EXPECT_EQ(PixelAt(img, t, 318), *wxBLACK) << t;
    EXPECT_EQ(PixelAt(img, 322, t), *wxBLACK) << t;
  }
  // The circle's box is (171, 171, 298, 298): red on each edge (softened, as
  // the toolkit draws curves), black beside.
  for (bool vertical : {false, true}) {
    auto at = [&](int i) { return vertical ? PixelAt(img, 310, i) : PixelAt(img, i, 310); };
    EXPECT_TRUE(at(171).Red() > 100 && at(469).Red() > 100) << vertical;
    for (int black : {169, 174, 466, 471})
      EXPECT_EQ(at(black), *wxBLACK) << vertical << ":" << black;
  }
}

TEST(PlanetMarkerLayer, LineFromTheSunToTheLabelCornerAndTheNameBelowIt) {
  const wxImage img = Render([](wxDC& dc) {
    DrawPlanetMarker(dc, {320, 320}, kSize, kSize, -1, 0, 1.0, "Earth", kEarthColour);
    // Skipped, as its Sun lies right of the margins: draws nothing at all.
    DrawPlanetMarker(dc, {600, 320}, kSize, kSize, -1, 0, 1.0, "Mars", kEarthColour);
  });
  // The 2-pixel line runs from the Sun's centre left to the corner (118, 320).
  for (int x : {125, 200, 318}) EXPECT_GT(CountIn(img, x, 319, x, 321, Is(kEarthColour)), 0) << x;
  EXPECT_EQ(CountIn(img, 322, 0, 639, 639, NotBlack), 0);
  // The name hangs from the corner down to the right; nothing left of or above it.
  ExpectTextAt(img, Is(kEarthColour), 118, 320);
  EXPECT_EQ(CountIn(img, 0, 0, 116, 639, NotBlack), 0);
  EXPECT_EQ(CountIn(img, 0, 0, 639, 317, NotBlack), 0);
}

TEST(PlanetMarkerLayer, DirectionsRefillAllLongitudesAndDrawTheShownPlanets) {
  PlanetLongitudes longitudes = {{"stale", 1.0}};
  std::array<bool, kPlanetCount> shown{};
  auto draw = [&] {
    return Render([&](wxDC& dc) {
      DrawPlanetDirections(dc, kSize, kSize, {320, 320}, kJan1980, shown, longitudes);
    });
  };
  EXPECT_EQ(CountIn(draw(), 0, 0, 639, 639, NotBlack), 0);
  ASSERT_EQ(longitudes.size(), 9u);  // the stale entry is gone
  for (Planet planet : kAllPlanets) {
    double L = 0, R = 0;
    PlanetPosition(planet, kJan1980, L, R);
    EXPECT_EQ(longitudes[PlanetName(planet)], L) << PlanetName(planet);
  }

  // Earth alone: magenta, halfway out along its direction with ecliptic
  // (X, Y) drawn as (-X, +Y), and no other colour (Jupiter is green).
  shown[2] = true;
  const wxImage earth = draw();
  double L = 0, R = 0;
  PlanetPosition(Planet::Earth, kJan1980, L, R);
  const int x = static_cast<int>(320 - 100 * R * std::cos(L));
  const int y = static_cast<int>(320 + 100 * R * std::sin(L));
  EXPECT_GT(CountIn(earth, x - 2, y - 2, x + 2, y + 2, Is(kEarthColour)), 0);
  EXPECT_EQ(CountIn(earth, 0, 0, 639, 639, [](const wxColour& p) { return p.Green() > 0; }), 0);
  shown.fill(true);
  EXPECT_GT(CountIn(draw(), 0, 0, 639, 639, Is(*wxGREEN)), 50);
}

wxImage DrawSun(PixelPoint sun, PixelPoint accel, const SunLayerOptions& options,
                const SolarPath& path = SolarPath()) {
  return Render([&](wxDC& dc) { DrawSunLayer(dc, kSize, sun, accel, kJan1980, options, path); });
}

SunLayerOptions Only(bool sun, bool year) {
  SunLayerOptions options;
  options.sun = sun;
  options.year = year;
  return options;
}

TEST(SunLayer, DiscOfRadius74AroundTheSunCentre) {
  const wxImage img = DrawSun({434.709, 275.180}, {}, Only(true, false));
  for (int d : {0, -72, 72, -76, 76}) {
    const wxColour expected = std::abs(d) < 74 ? kSunColour : *wxBLACK;
    EXPECT_EQ(PixelAt(img, 434 + d, 275), expected) << d;
    EXPECT_EQ(PixelAt(img, 434, 275 + d), expected) << d;
  }
  EXPECT_EQ(PixelAt(img, 434 + 60, 275 + 60), *wxBLACK);  // a disc, not a square
}

// Sets the local time zone; an empty name unsets it.
void SetTimeZone(const std::string& tz) {
  if (tz.empty()) unsetenv("TZ");
  else setenv("TZ", tz.c_str(), 1);
  tzset();
}

// The date is broken down in the local time zone.
TEST(SunLayer, DateLabelTextFollowsTheOptionsAndTheLocalDate) {
  const std::string previousTz = getenv("TZ") ? getenv("TZ") : "";
  SetTimeZone("UTC");
  setlocale(LC_TIME, "C");
  struct Case {
    double jd;
    bool month, day;
    const char* text;
  };
  const Case cases[] = {
      {kJan1980, true, true, "1980 Jan 1 "},   {kJan1980, false, false, "1980 "},
      {kJan1980 + 200, true, false, "1980 Jul "}, {kJan1980 + 14, false, true, "1980 15 "},
      {2451545.0, true, true, "2000 Jan 1 "},  {NAN, true, true, ""},
      {1e300, true, true, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(DateLabelText(c.jd, c.month, c.day), c.text) << c.jd;
  SetTimeZone("EST5");  // midnight UTC is still the evening before
  EXPECT_EQ(DateLabelText(kJan1980, true, true), "1979 Dec 31 ");
  SetTimeZone(previousTz);
}

TEST(SunLayer, LabelIsBlackOnTheDiscWithTheSunWhiteInTheCornerWithout) {
  const PixelPoint sun{320.6, 320.6};
  // With the disc: black text from (280, 300) on the orange, none above it,
  // nothing in the panel's corner.
  const wxImage withSun = DrawSun(sun, {}, Only(true, true));
  ExpectTextAt(withSun, Is(*wxBLACK), 280, 300);
  EXPECT_EQ(CountIn(withSun, 270, 290, 340, 301, Is(*wxBLACK)), 0);
  EXPECT_EQ(CountIn(withSun, 0, 0, 120, 40, NotBlack), 0);

  // Without: white text from (25, 10) on the black panel, nothing else.
  const wxImage withoutSun = DrawSun(sun, {}, Only(false, true));
  ExpectTextAt(withoutSun, Is(*wxWHITE), 25, 10);
  EXPECT_EQ(CountIn(withoutSun, 0, 0, 639, 639, NotBlack),
            CountIn(withoutSun, 25, 10, 200, 39, NotBlack));

  // "Year" clear: no label, though "Month" and "Day" are ticked.
  EXPECT_EQ(CountIn(DrawSun(sun, {}, Only(false, false)), 0, 0, 639, 639, NotBlack), 0);
}

TEST(SunLayer, AccelerationVectorFromTheSunCentreOverTheDisc) {
  const PixelPoint sun{320.5, 320.5};
  const PixelPoint accel{-0.8454, 0.6537};
  SunLayerOptions options = Only(true, false);
  options.acceleration = true;
  const wxImage img = DrawSun(sun, accel, options);
  // 70 * accel from the centre ends at (261.3, 366.3), drawn to (261, 366).
  for (double t : {0.2, 0.5, 0.8}) {
    const int x = static_cast<int>(320 + t * (261 - 320));
    const int y = static_cast<int>(320 + t * (366 - 320));
    EXPECT_GT(CountIn(img, x - 1, y - 1, x + 1, y + 1, Is(kAccelColour)), 0) << t;
  }
  EXPECT_GT(CountIn(img, 261, 363, 264, 366, Is(kAccelColour)), 0);
  EXPECT_EQ(CountIn(img, 0, 0, 639, 639, Is(kAccelColour)),
            CountIn(img, 259, 317, 323, 368, Is(kAccelColour)));  // and no further

  // Display factor 0: nothing away from the centre.
  options.sun = false;
  options.accelFactor = 0;
  const wxImage zero = DrawSun(sun, accel, options);
  EXPECT_EQ(CountIn(zero, 0, 0, 639, 639, NotBlack), CountIn(zero, 317, 317, 323, 323, NotBlack));
}

TEST(SunLayer, TrailLiesUnderTheDiscOnlyWhenTickedAndFromTwoPoints) {
  const PixelPoint sun{320, 200};
  SunLayerOptions options = Only(true, false);
  options.orbit = true;
  SolarPath path;
  path.AddPoint(kJan1980, {100, 200});
  EXPECT_EQ(CountIn(DrawSun(sun, {}, options, path), 0, 0, 639, 639, Is(*wxLIGHT_GREY)), 0);

  path.AddPoint(kJan1980 + 20, {600, 200});
  const wxImage img = DrawSun(sun, {}, options, path);
  for (int x : {150, 500}) EXPECT_EQ(PixelAt(img, x, 200), *wxLIGHT_GREY) << x;
  EXPECT_EQ(PixelAt(img, 250, 200), kSunColour);  // covered by the disc

  options.orbit = false;
  EXPECT_EQ(CountIn(DrawSun(sun, {}, options, path), 0, 0, 639, 639, Is(*wxLIGHT_GREY)), 0);
}

}  // namespace
}  // namespace barywalk
