// The flare side of the dialog: reading flare files, the flare layer of
// the frame with its statistics, the symbol settings and the statistics
// file.
#include <string>
#include <vector>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dcclient.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/panel.h>
#include <wx/stdpaths.h>

#include "app/barywalk_dialog.h"
#include "controls/spin_ctrl_dbl.h"
#include "catalog/flare_input.h"
#include "flares/flare_file.h"

namespace {

// The per-file lines on the panel: x, first row and row spacing.
constexpr int kFileLineX = 10;
constexpr int kFirstFileLineY = 20;
constexpr int kFileLineSpacing = 15;

// Paths as the operating system takes them (the file-name encoding).
std::vector<std::string> ToFileNameBytes(const wxArrayString& paths) {
  std::vector<std::string> bytes;
  bytes.reserve(paths.size());
  for (const wxString& path : paths) {
    const wxScopedCharBuffer converted = path.fn_str();
    // A path that the encoding cannot express becomes empty and is then
    // reported as a file that cannot be opened.
    bytes.emplace_back(converted.data() != nullptr ? converted.data() : "", converted.length());
  }
  return bytes;
}

// Text from the C library (reasons, paths in the file-name encoding).
wxString FromNarrow(const std::string& text) {
  wxString converted(text.c_str(), *wxConvFileName);
  if (converted.empty() && !text.empty()) converted = wxString::From8BitData(text.c_str());
  return converted;
}

bool HasProblem(const barywalk::FlareFileReport& report) {
  return !report.opened || report.result.status != barywalk::FlareReadStatus::Ok ||
         report.result.incompleteLines > 0;
}

// The message about the files not read completely (their panel lines),
// or nothing when every file was read as it is.
wxString FlareFileProblems(const std::vector<wxString>& lines,
                           const std::vector<barywalk::FlareFileReport>& reports,
                           const wxArrayString& paths) {
  wxString problems, catalogs;
  bool incompleteLines = false;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    if (HasProblem(reports[i])) problems << _T("\n") << lines[i];
    if (reports[i].result.incompleteLines > 0) incompleteLines = true;
    if (reports[i].result.status == barywalk::FlareReadStatus::OtherFormat) {
      const std::string path = ToFileNameBytes(wxArrayString(1, &paths[i])).front();
      catalogs << _T("\n") << FromNarrow(barywalk::ImportCommandFor(path));
    }
  }
  if (problems.empty()) return problems;
  wxString text = _("Not every flare file was read completely:") + _T("\n") + problems;
  if (!catalogs.empty()) {
    text << _T("\n\n")
         << _("A catalog is read as flares only once it is converted to a flare file:") << catalogs;
  }
  if (incompleteLines) {
    text << _T("\n\n")
         << _("An incomplete line still counts as a flare: its fields that are not numbers "
              "are taken as 0.");
  }
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------
// Flare files.

void BarywalkDialog::OnReadFlares(wxCommandEvent&) {
  if (m_playing) {
    ShowMessage(_("Simulation ongoing, stop it first."), wxMessageBoxCaptionStr, wxOK | wxCENTRE,
                nullptr);
    return;
  }
  const wxString startDir = wxFileName(wxStandardPaths::Get().GetExecutablePath())
                                .GetPath(wxPATH_GET_VOLUME, wxPATH_NATIVE);
  wxFileDialog dialog(this, _("Select flare file(s)"), startDir, wxEmptyString,
                      _("Flare files (*.flr)|*.flr"),
                      wxFD_OPEN | wxFD_FILE_MUST_EXIST | wxFD_MULTIPLE);
  // The button's place inside the dialog, taken as a screen position.
  dialog.Move(m_readFlaresButton->GetPosition());
  if (dialog.ShowModal() != wxID_OK) return;
  wxArrayString paths;
  dialog.GetPaths(paths);
  ReadFlareFiles(paths);
}

bool BarywalkDialog::ReadFlareFiles(const wxArrayString& paths) {
  m_maxFlareSize = 0;
  const std::vector<barywalk::FlareFileReport> reports =
      barywalk::LoadFlareFiles(ToFileNameBytes(paths), m_flares,
                               barywalk::FlareFileReadOptions(barywalk::FlareColumns::Five));
  std::vector<wxString> lines;
  for (std::size_t i = 0; i < reports.size(); ++i) {
    lines.push_back(FlareFileLine(wxFileName(paths[i]).GetFullName(), reports[i]));
  }
  {
    // Straight onto the panel: the lines show until its next redraw.
    wxClientDC dc(m_panel);
    PrepareDC(dc);
    int y = kFirstFileLineY;
    for (const wxString& line : lines) {
      dc.SetTextForeground(*wxWHITE);
      dc.DrawText(line, kFileLineX, y);
      y += kFileLineSpacing;
      m_panel->Refresh();
    }
  }
  UpdateMaxFlareSize();
  const wxString problems = FlareFileProblems(lines, reports, paths);
  if (!problems.empty()) {
    ShowMessage(problems, _("Read flares data"), wxOK | wxICON_WARNING | wxCENTRE, this);
  }
  return !m_flares.empty();
}

wxString BarywalkDialog::FlareFileLine(const wxString& displayName,
                                       const barywalk::FlareFileReport& report) {
  wxString line = wxString::Format("%s : %d flares", displayName, report.result.flareCount);
  wxString problems;
  const wxString reason = FromNarrow(report.error);
  if (!report.opened) {
    problems = wxString::Format(_("cannot be read: %s"), reason);
  } else if (report.result.status == barywalk::FlareReadStatus::OtherFormat) {
    problems = reason;
  } else if (report.result.status != barywalk::FlareReadStatus::Ok) {
    problems = wxString::Format(_("reading stopped: %s"), reason);
  }
  const int incomplete = report.result.incompleteLines;
  if (incomplete > 0) {
    if (!problems.empty()) problems << _T("; ");
    problems << (incomplete == 1 ? _("1 incomplete line")
                                 : wxString::Format(_("%d incomplete lines"), incomplete));
  }
  if (!problems.empty()) line << _T(" (") << problems << _T(")");
  return line;
}

// ---------------------------------------------------------------------------
// The flare layer and its settings.

void BarywalkDialog::UpdateMaxFlareSize() { m_maxFlareSize = barywalk::MaxFlareSize(m_flares); }

void BarywalkDialog::OnLogScaleClicked(wxCommandEvent&) {
  barywalk::SetFlareLogScale(m_logScale->GetValue());
  UpdateMaxFlareSize();
}

// The limit is taken from its spin control only here, when the box is
// clicked.
void BarywalkDialog::OnClipClicked(wxCommandEvent&) {
  barywalk::SetFlareAreaClip(m_clipArea->GetValue() ? m_clipLimit->GetValue() : -1.0);
  UpdateMaxFlareSize();
}

// ---------------------------------------------------------------------------
// The statistics file.

void BarywalkDialog::OnDumpStats(wxCommandEvent&) {
  if (m_playing) return;
  wxFileDialog dialog(this, _("Name of statistics file"), wxEmptyString, _T("flare_stats.txt"),
                      _T("*.txt"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return;
  DumpStatsTo(dialog.GetPath());
}

bool BarywalkDialog::DumpStatsTo(const wxString& path) {
  const std::vector<std::string> bytes = ToFileNameBytes(wxArrayString(1, &path));
  std::string error;
  if (barywalk::WriteFlareStatsFile(bytes.front(), m_flareStats, error)) {
    m_flareStats.clear();
    return true;
  }
  ShowMessage(wxString::Format(_("The flare statistics were not written to %s:\n%s\n\n"
                                 "They are kept; choose another file."),
                               path, FromNarrow(error)),
              _("Flare statistics"), wxOK | wxICON_ERROR | wxCENTRE, this);
  return false;
}

// ---------------------------------------------------------------------------

int BarywalkDialog::ShowMessage(const wxString& text, const wxString& caption, long style,
                                wxWindow* parent) {
  if (m_showMessage) return m_showMessage(text, caption, style);
  return wxMessageBox(text, caption, style, parent);
}
