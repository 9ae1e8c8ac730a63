// The orbit view as a slide for a classroom: the same geometry as the
// dialog's frame (true scale, the barycenter in the middle), with text and
// lines that grow with the picture, a title, a legend, a scale bar, planet
// labels that keep clear of each other and of the Sun, colours chosen to
// stay apart, a light variant for print and an optional inset that shows
// the planets around the Sun.
#pragma once

#include <wx/colour.h>
#include <wx/dc.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <array>
#include <vector>

#include "ephemeris/planets.h"
#include "render/frame_drawing.h"

namespace barywalk {

struct SlideStyle {
  wxString title;       // empty: no title
  bool light = false;   // white background, for print
  bool orbits = false;  // the inset with the planets around the Sun
};

// The colours of a slide. Chosen so that the acceleration and the trail
// differ from every planet's colour and every text reads on the background.
struct SlidePalette {
  wxColour background, text, barycenter, sun, trail, acceleration, accelerationEdge;
  std::array<wxColour, kPlanetCount> planets;  // planet order
};
const SlidePalette& SlidePaletteFor(bool light);

enum class SlideTextKind { Title, Date, Legend, Scale, Inset, Planet };

// A piece of text or a panel of the slide and the box it takes.
struct SlideBox {
  SlideTextKind kind;
  wxString text;  // the planet's name for a planet label; empty for panels
  wxRect box;
  int fontPixels = 0;  // the text's font height, for the title and the date
};

// Where everything went on a w x h slide: the fixed boxes (title, date,
// legend, scale bar, inset) and the planet labels, each placed on its
// planet's direction from the Sun where it overlaps no other box and not
// the Sun's disc; a label that finds no such place is left out. Text is
// measured with the drawing's fonts.
struct SlideLayout {
  std::vector<SlideBox> boxes;
  // For each planet label (same order as its box among `boxes`): the end
  // of its direction line.
  std::vector<wxPoint> markerEnds;
  std::vector<Planet> labelledPlanets;
};

// Draws the slide into `dc` and returns the layout it drew.
SlideLayout DrawSlideFrame(wxDC& dc, int w, int h, const FrameSettings& settings,
                           const FrameState& state, const SlideStyle& style);

// Distance from the Sun in au to a fraction of the inset's radius:
// logarithmic, so that Mercury and Neptune fit on one picture.
double InsetRadiusFraction(double au);

}  // namespace barywalk
