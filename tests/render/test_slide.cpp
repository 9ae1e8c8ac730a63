// The slide style: labels that never overlap each other, the other boxes
// or the Sun's disc, at three sizes and at dates when the outer planets
// crowd together; text large enough for a projector; colours that stay
// apart and read on their background.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>

#include <cmath>
#include <string>
#include <vector>

#include "ephemeris/barycenter.h"
#include "render/slide_drawing.h"
#include "views/view_geometry.h"

namespace barywalk {
namespace {

struct Drawn {
  SlideLayout layout;
  wxImage image;
  FrameState state;
};

Drawn DrawSlide(int w, double jd, bool light, const SolarPath* trail = nullptr) {
  FrameSettings settings;
  settings.planets.fill(true);
  settings.sunLayer.orbit = settings.sunLayer.acceleration = true;
  SlideStyle style;
  style.title = "The Sun around the barycenter";
  style.orbits = true;
  style.light = light;
  Drawn drawn;
  const SunState sun = ComputeSunState(jd, w);
  drawn.state.simTime = jd;
  drawn.state.sunOffset = {sun.offsetX, sun.offsetY};
  drawn.state.sunAccel = {sun.accelX, sun.accelY};
  drawn.state.path = trail;
  drawn.image = RenderToImage(w, w, [&](wxDC& dc) {
    drawn.layout = DrawSlideFrame(dc, w, w, settings, drawn.state, style);
  });
  return drawn;
}

bool DiscHitsBox(const wxRect& r, PixelPoint c, double radius) {
  const double nx = std::clamp(c.x, double(r.GetLeft()), double(r.GetRight() + 1));
  const double ny = std::clamp(c.y, double(r.GetTop()), double(r.GetBottom() + 1));
  return std::hypot(nx - c.x, ny - c.y) < radius;
}

// Pixels of exactly `colour` inside `box`: the label was drawn there.
int PixelsOf(const wxImage& image, const wxRect& box, const wxColour& colour) {
  int count = 0;
  for (int y = box.GetTop(); y <= box.GetBottom(); ++y) {
    for (int x = box.GetLeft(); x <= box.GetRight(); ++x) {
      count += image.GetRed(x, y) == colour.Red() && image.GetGreen(x, y) == colour.Green() &&
               image.GetBlue(x, y) == colour.Blue();
    }
  }
  return count;
}

// Julian days when labels crowd: Saturn, Uranus and Neptune within a few
// degrees (1990-92), the close passes of 1951 and 2030 (the Sun's disc over
// the barycenter), the largest distance (1983).
const double kCrowdedDays[] = {2447892.5, 2448257.5, 2448622.5, 2433784.5, 2462513.5, 2445421.5};

TEST(SlideLayout, NothingOverlapsAtThreeSizes) {
  for (int w : {640, 1080, 1920}) {
    for (double jd : kCrowdedDays) {
      const Drawn d = DrawSlide(w, jd, false);
      const auto& boxes = d.layout.boxes;
      const std::string where = std::to_string(w) + " px, JD " + std::to_string(jd);
      EXPECT_EQ(d.layout.labelledPlanets.size(), 9u) << where;
      for (std::size_t i = 0; i < boxes.size(); ++i) {
        const wxRect& a = boxes[i].box;
        EXPECT_TRUE(wxRect(0, 0, w, w).Contains(a)) << where << " " << boxes[i].text;
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
          EXPECT_FALSE(a.Intersects(boxes[j].box))
              << where << ": " << boxes[i].text << " / " << boxes[j].text;
        }
        if (boxes[i].kind == SlideTextKind::Planet) {
          EXPECT_FALSE(DiscHitsBox(a, d.state.sunOffset, MakeViewGeometry(w, w).scale))
              << where << " " << boxes[i].text;
        }
      }
    }
  }
}

TEST(SlideLayout, TextReadsOnAProjector) {
  for (bool light : {false, true}) {
    const Drawn d = DrawSlide(1920, kCrowdedDays[1], light);
    const SlidePalette& palette = SlidePaletteFor(light);
    std::size_t planet = 0;
    for (const SlideBox& box : d.layout.boxes) {
      if (box.kind == SlideTextKind::Inset) continue;
      EXPECT_GE(box.box.GetHeight(), 24) << box.text;
      if (box.kind != SlideTextKind::Planet) continue;
      const int index = static_cast<int>(d.layout.labelledPlanets[planet++]);
      EXPECT_GT(PixelsOf(d.image, box.box, palette.planets[index]), 20) << box.text;
    }
  }
}

TEST(SlideLayout, LabelsReadOverTheTrail) {
  // Late in a long film the trail covers the middle of the picture; here it
  // sweeps all of it.
  const int w = 1080;
  SolarPath trail;
  double day = 0;
  for (int y = 0; y < w; y += 6) {
    trail.AddPoint(day += 11, {0, double(y)});
    trail.AddPoint(day += 11, {double(w), double(y)});
  }
  for (bool light : {false, true}) {
    const Drawn d = DrawSlide(w, kCrowdedDays[1], light, &trail);
    const wxColour& trailColour = SlidePaletteFor(light).trail;
    for (const SlideBox& box : d.layout.boxes) {
      if (box.kind != SlideTextKind::Planet) continue;
      EXPECT_EQ(PixelsOf(d.image, box.box, trailColour), 0) << box.text;
    }
  }
}

// WCAG contrast ratio of two colours.
double Contrast(const wxColour& a, const wxColour& b) {
  auto luminance = [](const wxColour& c) {
    auto channel = [](int v) {
      const double s = v / 255.0;
      return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.Red()) + 0.7152 * channel(c.Green()) + 0.0722 * channel(c.Blue());
  };
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double Distance(const wxColour& a, const wxColour& b) {
  return std::hypot(a.Red() - b.Red(), a.Green() - b.Green(), a.Blue() - b.Blue());
}

TEST(SlidePalette, ColoursStayApartAndRead) {
  for (bool light : {false, true}) {
    const SlidePalette& p = SlidePaletteFor(light);
    EXPECT_GE(Contrast(p.text, p.background), 7.0);
    EXPECT_GE(Contrast(p.acceleration, p.background), 4.5);
    for (int i = 0; i < kPlanetCount; ++i) {
      const char* name = PlanetName(kAllPlanets[i]);
      EXPECT_GE(Contrast(p.planets[i], p.background), 4.5) << name << (light ? " light" : " dark");
      EXPECT_GE(Distance(p.planets[i], p.acceleration), 90) << name;
      EXPECT_GE(Distance(p.planets[i], p.trail), 100) << name;
    }
  }
}

TEST(SlideInset, LogarithmicDistanceFitsMercuryToPluto) {
  EXPECT_EQ(InsetRadiusFraction(0), 0);
  EXPECT_GT(InsetRadiusFraction(0.39), 0.1);  // Mercury clear of the Sun's dot
  EXPECT_LT(InsetRadiusFraction(30.1), 1.0);  // Neptune inside the rim
  EXPECT_EQ(InsetRadiusFraction(80), 1.0);    // anything farther on the rim
  double previous = 0;
  for (double au : {0.39, 0.72, 1.0, 1.52, 5.2, 9.5, 19.2, 30.1}) {
    EXPECT_GT(InsetRadiusFraction(au) - previous, 0.04) << au;  // planets stay apart
    previous = InsetRadiusFraction(au);
  }
}

}  // namespace
}  // namespace barywalk
