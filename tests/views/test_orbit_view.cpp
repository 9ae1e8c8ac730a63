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
#include <wx/gdicmn.h>
#include <wx/image.h>

#include "ephemeris/planets.h"
#include "views/orbit_view.h"

namespace barywalk {
namespace {

constexpr int kSize = 640;
constexpr double kJan1980 = 2444239.5;  // 1980-01-01 00:00 UTC

const wxColour kBlack(0, 0, 0);
const wxColour kSunColour(255, 150, 30);
const wxColour kAccelColour(200, 50, 150);
const wxColour kEarthColour(255, 0, 255);

void SetTimeZone(const char* tz) {
  setenv("TZ", tz, 1);
  tzset();
}

bool Same(const wxColour& a, const wxColour& b) {
  return a.Red() == b.Red() && a.Green() == b.Green() && a.Blue() == b.Blue();
}

// A black 640 x 640 canvas with a memory DC selected into it.
class Canvas {
 public:
  Canvas() : m_bitmap(kSize, kSize, 24) {
    m_dc.SelectObject(m_bitmap);
    m_dc.SetBackground(*wxBLACK_BRUSH);
    m_dc.Clear();
  }
  wxDC& dc() { return m_dc; }

  // Finishes drawing and returns the picture.
  const wxImage& Image() {
    m_dc.SelectObject(wxNullBitmap);
    m_image = m_bitmap.ConvertToImage();
    return m_image;
  }

 private:
  wxBitmap m_bitmap;
  wxMemoryDC m_dc;
  wxImage m_image;
};

wxColour Pixel(const wxImage& img, int x, int y) {
  return wxColour(img.GetRed(x, y), img.GetGreen(x, y), img.GetBlue(x, y));
}

bool IsPixel(const wxImage& img, int x, int y, const wxColour& c) { return Same(Pixel(img, x, y), c); }

// Number of pixels in [x0, x1] x [y0, y1] for which `match` holds.
int CountIn(const wxImage& img, int x0, int y0, int x1, int y1,
            const std::function<bool(const wxColour&)>& match) {
  int count = 0;
  for (int y = std::max(y0, 0); y <= std::min(y1, img.GetHeight() - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, img.GetWidth() - 1); ++x)
      if (match(Pixel(img, x, y))) ++count;
  return count;
}

int CountColour(const wxImage& img, int x0, int y0, int x1, int y1, const wxColour& c) {
  return CountIn(img, x0, y0, x1, y1, [&](const wxColour& p) { return Same(p, c); });
}

bool NotBlack(const wxColour& p) { return !Same(p, kBlack); }

// Leftmost and topmost pixel in [x0, x1] x [y0, y1] for which `match` holds.
wxPoint TopLeftOf(const wxImage& img, int x0, int y0, int x1, int y1,
                  const std::function<bool(const wxColour&)>& match) {
  wxPoint corner(x1 + 1, y1 + 1);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      if (match(Pixel(img, x, y))) corner = wxPoint(std::min(corner.x, x), std::min(corner.y, y));
  return corner;
}

// Text drawn at `corner` starts a few pixels right of and below it at most.
void ExpectTextAt(const wxPoint& found, int x, int y) {
  EXPECT_GE(found.x, x);
  EXPECT_LE(found.x, x + 3);
  EXPECT_GE(found.y, y);
  EXPECT_LE(found.y, y + 6);
}

// A layer leaves brush and pen null behind it.
void ExpectPenAndBrushReset(wxDC& dc) {
  EXPECT_FALSE(dc.GetPen().IsOk());
  EXPECT_FALSE(dc.GetBrush().IsOk());
}

TEST(OrbitViewBackground, BlackWithRedCrosshairAndReferenceCircle) {
  Canvas canvas;
  canvas.dc().SetBackground(*wxWHITE_BRUSH);
  canvas.dc().Clear();
  DrawBackground(canvas.dc(), kSize, kSize);
  ExpectPenAndBrushReset(canvas.dc());
  const wxImage& img = canvas.Image();

  // Black everywhere off the red lines, the crosshair across the whole panel.
  EXPECT_TRUE(IsPixel(img, 0, 0, kBlack));
  EXPECT_TRUE(IsPixel(img, 639, 600, kBlack));
  EXPECT_TRUE(IsPixel(img, 600, 639, kBlack));
  EXPECT_TRUE(IsPixel(img, 638, 638, kBlack));
  EXPECT_TRUE(IsPixel(img, 320 - 60, 320 - 60, kBlack));  // inside the circle
  // (The toolkit softens the very first pixel of a line; from the second on it is pure.)
  EXPECT_GT(Pixel(img, 0, 320).Red(), 150);
  EXPECT_GT(Pixel(img, 320, 0).Red(), 150);
  for (int t : {1, 100, 319, 321, 500, 639}) {
    EXPECT_TRUE(IsPixel(img, t, 320, *wxRED)) << t;
    EXPECT_TRUE(IsPixel(img, 320, t, *wxRED)) << t;
    EXPECT_TRUE(IsPixel(img, t, 318, kBlack)) << t;
    EXPECT_TRUE(IsPixel(img, 322, t, kBlack)) << t;
  }

  // The circle's extent off the crosshair is its bounding box (171, 171, 298, 298).
  auto reddish = [](const wxColour& p) { return p.Red() > 60 && p.Green() == 0 && p.Blue() == 0; };
  int minX = kSize, maxX = -1, minY = kSize, maxY = -1;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (x != 320 && y != 320 && std::abs(x - 320) > 2 && std::abs(y - 320) > 2 &&
          reddish(Pixel(img, x, y))) {
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
      }
  EXPECT_NEAR(minX, 171, 1);
  EXPECT_NEAR(minY, 171, 1);
  EXPECT_NEAR(maxX, 171 + 298, 1);
  EXPECT_NEAR(maxY, 171 + 298, 1);
  // A pixel on the circle at 45 degrees: 149 / sqrt(2) = 105.4 from the centre.
  EXPECT_GT(CountIn(img, 320 + 103, 320 + 103, 320 + 107, 320 + 107, reddish), 0);
  EXPECT_EQ(CountIn(img, 172 + 3, 300, 320 - 3, 300, NotBlack), 0);  // nothing inside
}

TEST(OrbitViewBackground, OddWidthPanelCentresOnIntegerHalf) {
  wxBitmap bitmap(641, 641, 24);
  wxMemoryDC dc(bitmap);
  DrawBackground(dc, 641, 641);
  dc.SelectObject(wxNullBitmap);
  const wxImage img = bitmap.ConvertToImage();
  EXPECT_TRUE(IsPixel(img, 10, 320, *wxRED));
  EXPECT_TRUE(IsPixel(img, 320, 10, *wxRED));
  EXPECT_TRUE(IsPixel(img, 10, 321, kBlack));
}

TEST(PlanetMarkerLayer, EarthLineRunsLeftToItsLabel) {
  Canvas canvas;
  DrawPlanetMarker(canvas.dc(), {320, 320}, kSize, kSize, -1, 0, 1.0, "Earth", kEarthColour);
  EXPECT_FALSE(canvas.dc().GetPen().IsOk());
  const wxImage& img = canvas.Image();

  // The 2-pixel line from the Sun's centre to (118, 320).
  for (int x : {125, 200, 300, 318}) EXPECT_GT(CountColour(img, x, 319, x, 321, kEarthColour), 0) << x;
  EXPECT_EQ(CountIn(img, 322, 300, 639, 340, NotBlack), 0);  // nothing right of the Sun
  // The name hangs below and right of its corner (118, 320), nowhere else.
  EXPECT_GT(CountColour(img, 118, 323, 170, 340, kEarthColour), 10);
  ExpectTextAt(TopLeftOf(img, 0, 323, 639, 639, [](const wxColour& p) { return Same(p, kEarthColour); }),
               118, 320);
  EXPECT_EQ(CountIn(img, 0, 0, 116, 639, NotBlack), 0);
  EXPECT_EQ(CountIn(img, 0, 0, 639, 317, NotBlack), 0);
}

TEST(PlanetMarkerLayer, OppositeLongitudePointsRightAndUnfittableSunDrawsNothing) {
  Canvas canvas;
  DrawPlanetMarker(canvas.dc(), {320, 320}, kSize, kSize, 1, 0, 1.0, "Earth", kEarthColour);
  DrawPlanetMarker(canvas.dc(), {5000, 320}, kSize, kSize, -1, 0, 1.0, "Mars", kEarthColour);
  const wxImage& img = canvas.Image();
  EXPECT_GT(CountColour(img, 400, 319, 400, 321, kEarthColour), 0);
  EXPECT_GT(CountColour(img, 521, 323, 580, 340, kEarthColour), 10);  // label at (521, 320)
  EXPECT_EQ(CountIn(img, 0, 0, 317, 639, NotBlack), 0);
}

TEST(PlanetMarkerLayer, StylesFollowThePlanetTable) {
  const auto& styles = PlanetStyles();
  for (int i = 0; i < kPlanetCount; ++i) EXPECT_EQ(styles[i].planet, kAllPlanets[i]);
  EXPECT_TRUE(Same(styles[2].colour, kEarthColour));
  EXPECT_DOUBLE_EQ(styles[2].K, 1.0);
  EXPECT_TRUE(Same(styles[4].colour, *wxGREEN));
  EXPECT_DOUBLE_EQ(styles[8].K, 33);
}

TEST(PlanetMarkerLayer, DirectionsRefillAllLongitudesWhateverIsShown) {
  PlanetLongitudes longitudes = {{"stale", 1.0}};
  std::array<bool, kPlanetCount> shown{};
  {
    Canvas canvas;
    DrawPlanetDirections(canvas.dc(), kSize, kSize, {320, 320}, 2451545.0, shown, longitudes);
    EXPECT_EQ(CountIn(canvas.Image(), 0, 0, 639, 639, NotBlack), 0);
  }
  ASSERT_EQ(longitudes.size(), 9u);
  for (Planet planet : kAllPlanets) {
    double L = 0, R = 0;
    PlanetPosition(planet, 2451545.0, L, R);
    ASSERT_EQ(longitudes.count(PlanetName(planet)), 1u) << PlanetName(planet);
    EXPECT_EQ(longitudes[PlanetName(planet)], L);
  }

  // Earth alone: a magenta marker along its direction from the Sun.
  shown[2] = true;
  Canvas canvas;
  DrawPlanetDirections(canvas.dc(), kSize, kSize, {320, 320}, 2451545.0, shown, longitudes);
  EXPECT_FALSE(canvas.dc().GetPen().IsOk());
  const wxImage& img = canvas.Image();
  EXPECT_EQ(longitudes.size(), 9u);
  const double L = longitudes["Earth"];
  double unusedL = 0, R = 0;
  PlanetPosition(Planet::Earth, 2451545.0, unusedL, R);
  const int x = static_cast<int>(320 - 100 * R * std::cos(L));
  const int y = static_cast<int>(320 + 100 * R * std::sin(L));
  EXPECT_GT(CountColour(img, x - 2, y - 2, x + 2, y + 2, kEarthColour), 0);
  EXPECT_EQ(CountColour(img, 0, 0, 639, 639, *wxGREEN), 0);  // no Jupiter

  // Every planet shown: Jupiter's green marker appears as well.
  shown.fill(true);
  Canvas all;
  DrawPlanetDirections(all.dc(), kSize, kSize, {320, 320}, 2451545.0, shown, longitudes);
  EXPECT_GT(CountColour(all.Image(), 0, 0, 639, 639, *wxGREEN), 50);
  EXPECT_EQ(longitudes.size(), 9u);
}

TEST(SolarPathLayer, OnePointDrawsNothingTwoPointsOneGreyLine) {
  SolarPath path;
  path.AddPoint(kJan1980, {100, 100});
  {
    Canvas canvas;
    canvas.dc().SetPen(*wxBLUE_PEN);
    DrawSolarPath(canvas.dc(), path);
    EXPECT_TRUE(canvas.dc().GetPen() == *wxBLUE_PEN);  // not even the pen is touched
    EXPECT_EQ(CountIn(canvas.Image(), 0, 0, 639, 639, NotBlack), 0);
  }
  path.AddPoint(kJan1980 + 11, {300.9, 100.7});
  Canvas canvas;
  DrawSolarPath(canvas.dc(), path);
  EXPECT_FALSE(canvas.dc().GetPen().IsOk());
  const wxImage& img = canvas.Image();
  for (int x : {101, 150, 250, 299}) EXPECT_TRUE(IsPixel(img, x, 100, *wxLIGHT_GREY)) << x;
  // Grey only (the line's ends may be softened), and only on its row.
  EXPECT_EQ(CountIn(img, 0, 0, 639, 639,
                    [](const wxColour& p) { return p.Red() != p.Green() || p.Green() != p.Blue(); }),
            0);
  EXPECT_EQ(CountIn(img, 0, 102, 639, 639, NotBlack), 0);
}

class SunLayer : public ::testing::Test {
 protected:
  void SetUp() override {
    m_savedTz = getenv("TZ") ? getenv("TZ") : "";
    m_hadTz = getenv("TZ") != nullptr;
    SetTimeZone("UTC");
    setlocale(LC_TIME, "C");
  }
  void TearDown() override {
    if (m_hadTz) setenv("TZ", m_savedTz.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

  // Draws the Sun layer alone on a black canvas.
  wxImage Draw(PixelPoint sun, PixelPoint accel, const SunLayerOptions& options,
               const SolarPath& path = SolarPath()) {
    Canvas canvas;
    DrawSunLayer(canvas.dc(), kSize, sun, accel, kJan1980, options, path);
    ExpectPenAndBrushReset(canvas.dc());
    return canvas.Image();
  }

  static SunLayerOptions Only(bool sun, bool year) {
    SunLayerOptions options;
    options.sun = sun;
    options.year = year;
    return options;
  }

 private:
  std::string m_savedTz;
  bool m_hadTz = false;
};

TEST_F(SunLayer, DiscOfRadius74AroundTheSunCentre) {
  const PixelPoint sun{434.709, 275.180};
  const wxImage img = Draw(sun, {}, Only(true, false));
  // Bounding box (360, 201, 148, 148): inside just within it, black just outside.
  EXPECT_TRUE(IsPixel(img, 434, 275, kSunColour));
  for (int d : {-72, 72}) {
    EXPECT_TRUE(IsPixel(img, 434 + d, 275, kSunColour)) << d;
    EXPECT_TRUE(IsPixel(img, 434, 275 + d, kSunColour)) << d;
  }
  for (int d : {-76, 76}) {
    EXPECT_TRUE(IsPixel(img, 434 + d, 275, kBlack)) << d;
    EXPECT_TRUE(IsPixel(img, 434, 275 + d, kBlack)) << d;
  }
  EXPECT_TRUE(IsPixel(img, 434 + 60, 275 + 60, kBlack));  // a disc, not a square
  EXPECT_EQ(CountIn(img, 0, 0, 639, 639, [](const wxColour& p) { return p.Blue() > 30; }), 0);
}

TEST_F(SunLayer, DateLabelTextFollowsTheOptionsAndTheLocalDate) {
  EXPECT_EQ(DateLabelText(kJan1980, true, true), "1980 Jan 1 ");
  EXPECT_EQ(DateLabelText(kJan1980, false, false), "1980 ");
  EXPECT_EQ(DateLabelText(kJan1980 + 200, false, false), "1980 ");
  EXPECT_EQ(DateLabelText(kJan1980 + 200, true, false), "1980 Jul ");
  EXPECT_EQ(DateLabelText(kJan1980 + 14, false, true), "1980 15 ");
  EXPECT_EQ(DateLabelText(2451545.0, true, true), "2000 Jan 1 ");
  // Midnight UTC is still the evening before five hours west of Greenwich.
  SetTimeZone("EST5");
  EXPECT_EQ(DateLabelText(kJan1980, true, true), "1979 Dec 31 ");
  EXPECT_EQ(DateLabelText(NAN, true, true), "");
  EXPECT_EQ(DateLabelText(1e300, true, true), "");
}

TEST_F(SunLayer, LabelIsBlackOnTheDiscWithTheSunWhiteInTheCornerWithout) {
  const PixelPoint sun{320.6, 320.6};
  auto isWhite = [](const wxColour& p) { return Same(p, *wxWHITE); };
  auto isBlack = [](const wxColour& p) { return Same(p, kBlack); };

  // With the disc: black text on orange from (280, 300), nothing in the corner.
  const wxImage withSun = Draw(sun, {}, Only(true, true));
  EXPECT_GT(CountIn(withSun, 280, 300, 330, 318, isBlack), 10);
  ExpectTextAt(TopLeftOf(withSun, 260, 290, 360, 330, isBlack), 280, 300);
  EXPECT_EQ(CountIn(withSun, 0, 0, 120, 40, NotBlack), 0);

  // Without: white text at (25, 10) on the black panel, nothing else.
  const wxImage withoutSun = Draw(sun, {}, Only(false, true));
  EXPECT_GT(CountIn(withoutSun, 25, 10, 120, 30, isWhite), 10);
  ExpectTextAt(TopLeftOf(withoutSun, 0, 0, 200, 60, isWhite), 25, 10);
  EXPECT_EQ(CountIn(withoutSun, 0, 0, 24, 639, NotBlack), 0);
  EXPECT_EQ(CountIn(withoutSun, 0, 0, 639, 9, NotBlack), 0);
  EXPECT_EQ(CountIn(withoutSun, 0, 40, 639, 639, NotBlack), 0);

  // "Year" clear: no label whatever "Month" and "Day" say.
  SunLayerOptions noYear = Only(false, false);
  noYear.month = noYear.day = true;
  EXPECT_EQ(CountIn(Draw(sun, {}, noYear), 0, 0, 639, 639, NotBlack), 0);
  const wxImage discOnly = Draw(sun, {}, Only(true, false));
  EXPECT_EQ(CountIn(discOnly, 280, 300, 330, 318, isBlack), 0);
}

TEST_F(SunLayer, AccelerationVectorFromTheSunCentre) {
  const PixelPoint sun{320.5, 320.5};
  const PixelPoint accel{-0.8454, 0.6537};
  SunLayerOptions options = Only(true, false);
  options.acceleration = true;
  const wxImage img = Draw(sun, accel, options);
  // End point (320.5 - 59.18, 320.5 + 45.76) -> (261, 366); the line lies on the disc.
  for (double t : {0.2, 0.5, 0.8}) {
    const int x = static_cast<int>(320 + t * (261 - 320));
    const int y = static_cast<int>(320 + t * (366 - 320));
    EXPECT_GT(CountColour(img, x - 1, y - 1, x + 1, y + 1, kAccelColour), 0) << t;
  }
  EXPECT_GT(CountColour(img, 261, 363, 264, 366, kAccelColour), 0);  // reaches its end
  EXPECT_EQ(CountColour(img, 0, 0, 258, 639, kAccelColour), 0);       // and no further
  EXPECT_EQ(CountColour(img, 0, 369, 639, 639, kAccelColour), 0);
  EXPECT_EQ(CountColour(img, 0, 0, 639, 300, kAccelColour), 0);
  EXPECT_EQ(CountColour(img, 330, 0, 639, 639, kAccelColour), 0);

  // Display factor 0: nothing beyond the centre.
  options.sun = false;
  options.accelFactor = 0;
  const wxImage zero = Draw(sun, accel, options);
  auto farFromCentre = [&](const wxColour& p) { return NotBlack(p); };
  EXPECT_EQ(CountIn(zero, 0, 0, 639, 316, farFromCentre), 0);
  EXPECT_EQ(CountIn(zero, 0, 324, 639, 639, farFromCentre), 0);
  EXPECT_EQ(CountIn(zero, 0, 0, 316, 639, farFromCentre), 0);
  EXPECT_EQ(CountIn(zero, 324, 0, 639, 639, farFromCentre), 0);
}

TEST_F(SunLayer, TrailLiesUnderTheDiscOnlyWhenTicked) {
  SolarPath path;
  path.AddPoint(kJan1980, {100, 200});
  path.AddPoint(kJan1980 + 20, {600, 200});
  const PixelPoint sun{320, 200};
  SunLayerOptions options = Only(true, false);
  EXPECT_EQ(CountColour(Draw(sun, {}, options, path), 0, 0, 639, 639, *wxLIGHT_GREY), 0);

  options.orbit = true;
  const wxImage img = Draw(sun, {}, options, path);
  EXPECT_TRUE(IsPixel(img, 150, 200, *wxLIGHT_GREY));
  EXPECT_TRUE(IsPixel(img, 500, 200, *wxLIGHT_GREY));
  EXPECT_TRUE(IsPixel(img, 320, 200, kSunColour));  // covered by the disc
  EXPECT_TRUE(IsPixel(img, 250, 200, kSunColour));
}

}  // namespace
}  // namespace barywalk
