// The frame of the orbit view: the dialog's settings handed to the layers.
#include <wx/checkbox.h>
#include <wx/dc.h>
#include <wx/graphics.h>

#include "app/barywalk_dialog.h"
#include "controls/spin_ctrl_dbl.h"
#include "views/view_geometry.h"

// Layer order, bottom to top: background, planet markers (which refill the
// longitude table the flare layer reads), the Sun layer and the flares.
// Drawn without anti-aliasing: the view works in whole pixels, and blending
// the edges of the 2,200-segment trail alone would cost most of a tick.
void BarywalkDialog::DrawFrame(wxDC& dc, int w, int h) {
  if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_NONE);
  barywalk::DrawBackground(dc, w, h);
  DrawPlanetDirections(dc, w, h, m_sunOffset);
  DrawSunLayer(dc, w, m_sunOffset);
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
}

void BarywalkDialog::DrawPlanetDirections(wxDC& dc, int w, int h,
                                          barywalk::PixelPoint sunCentre) {
  std::array<bool, barywalk::kPlanetCount> shown{};
  for (int i = 0; i < barywalk::kPlanetCount; ++i) shown[i] = m_planetBoxes[i]->GetValue();
  barywalk::DrawPlanetDirections(dc, w, h, sunCentre, m_simTime, shown, m_planetLongitudes);
}

void BarywalkDialog::DrawSunLayer(wxDC& dc, int w, barywalk::PixelPoint sunCentre) {
  barywalk::SunLayerOptions options;
  options.orbit = m_showOrbit->GetValue();
  options.sun = m_showSun->GetValue();
  options.year = m_showYear->GetValue();
  options.month = m_showMonth->GetValue();
  options.day = m_showDay->GetValue();
  options.acceleration = m_showAcceleration->GetValue();
  options.accelFactor = m_accelFactor->GetValue();
  barywalk::DrawSunLayer(dc, w, sunCentre, m_sunAccel, m_simTime, options, m_sunPath);
  if (m_showFlares->GetValue()) {
    DrawFlares(dc, sunCentre, barywalk::MakeViewGeometry(w, w).scale);
  }
}
