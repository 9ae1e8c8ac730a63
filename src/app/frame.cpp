// The frame of the orbit view: the dialog's settings handed to the shared
// frame drawing, and saving the current frame as a PNG picture (Ctrl+S).
#include <wx/checkbox.h>
#include <wx/dc.h>
#include <wx/filedlg.h>
#include <wx/log.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/wfstream.h>

#include <cerrno>
#include <cstring>

#include "app/barywalk_dialog.h"
#include "app/flare_settings.h"
#include "controls/spin_ctrl_dbl.h"
#include "render/frame_drawing.h"

barywalk::FrameSettings BarywalkDialog::FrameSettingsFromControls() const {
  barywalk::FrameSettings settings;
  for (int i = 0; i < barywalk::kPlanetCount; ++i) {
    settings.planets[i] = m_planetBoxes[i]->GetValue();
  }
  barywalk::SunLayerOptions& sun = settings.sunLayer;
  sun.orbit = m_showOrbit->GetValue();
  sun.sun = m_showSun->GetValue();
  sun.year = m_showYear->GetValue();
  sun.month = m_showMonth->GetValue();
  sun.day = m_showDay->GetValue();
  sun.acceleration = m_showAcceleration->GetValue();
  sun.accelFactor = m_accelFactor->GetValue();
  settings.flares = m_showFlares->GetValue();
  settings.flareScale = m_flareScale->GetValue();
  settings.flareScaling = barywalk::CurrentFlareScaling();
  settings.useDuration = m_useDuration->GetValue();
  settings.durationMinutes = m_duration->GetValue();
  settings.incrementDays = m_increment->GetValue();
  return settings;
}

barywalk::FrameState BarywalkDialog::CurrentFrameState() const {
  return barywalk::FrameStateOf(m_player, &m_flares, m_maxFlareSize);
}

// Every flare symbol drawn feeds the statistics.
void BarywalkDialog::DrawFrame(wxDC& dc, int w, int h) {
  barywalk::DrawViewFrame(
      dc, w, h, FrameSettingsFromControls(), CurrentFrameState(), m_planetLongitudes,
      barywalk::FlareStatRecorder(m_flareStats, m_planetLongitudes));
}

wxImage BarywalkDialog::CurrentFrameImage() {
  const wxSize size = m_panel->GetSize();
  barywalk::PlanetLongitudes longitudes;  // a picture leaves the frame's table alone
  return barywalk::RenderToImage(size.x, size.y, [&](wxDC& dc) {
    barywalk::DrawViewFrame(dc, size.x, size.y, FrameSettingsFromControls(), CurrentFrameState(),
                            longitudes);
  });
}

void BarywalkDialog::OnSaveFrame(wxCommandEvent&) {
  wxFileDialog dialog(this, _("Save the frame as PNG"), wxEmptyString, _T("barywalk-frame.png"),
                      _("PNG pictures (*.png)|*.png"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  SaveFrameTo(dialog.GetPath());
}

// Written to a temporary file beside the target and renamed when complete,
// so a failed save never leaves a broken picture under the chosen name.
bool BarywalkDialog::SaveFrameTo(const wxString& path) {
  const wxImage image = CurrentFrameImage();
  bool saved = false;
  int error = 0;
  {
    wxLogNull quiet;  // the toolkit's own error boxes would repeat ours
    errno = 0;
    wxTempFileOutputStream out(path);
    saved = out.IsOk() && image.SaveFile(out, wxBITMAP_TYPE_PNG) && out.Commit();
    error = errno;
    if (!saved) out.Discard();
  }
  if (saved) return true;
  wxString text = wxString::Format(_("The frame was not saved to %s."), path);
  if (error != 0) text << _T("\n") << wxString(std::strerror(error), wxConvLibc);
  ShowMessage(text, _("Save the frame"), wxOK | wxICON_ERROR | wxCENTRE, this);
  return false;
}
