// barywalk-screenshot: runs the main dialog as the program does (modally),
// presses "play forward", lets it play and saves a picture of the dialog.
//
//   barywalk-screenshot OUTPUT.png [PLAY_MS]
//       Ticks "Solar orbit" and "Acceleration", sets the increment to 20
//       days, plays for PLAY_MS milliseconds (default 5000), saves a PNG.
//   barywalk-screenshot --button-centres
//       Prints the centres of the play-forward, pause and quit buttons
//       relative to the dialog's top-left corner, one "ID x y" line each,
//       so that a script can click them in the real program.
//   barywalk-screenshot --panel
//       Prints the view panel's place and size in the dialog as shown,
//       "ID_PANEL2 x y width height": the panel takes the room beside the
//       settings column, which follows the fonts installed.
#include <cstdio>
#include <utility>

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/checkbox.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/timer.h>

#include "app/barywalk_dialog.h"
#include "controls/spin_ctrl_dbl.h"

namespace {

constexpr double kIncrementDays = 20;
constexpr int kDefaultPlayMs = 5000;
constexpr int kStartDelayMs = 300;

void Tick(wxWindow* dialog, const char* name) {
  if (auto* box = dynamic_cast<wxCheckBox*>(wxWindow::FindWindowByName(name, dialog))) {
    box->SetValue(true);
  }
}

// A click on a button of the dialog as the button itself reports it.
void Click(wxWindow* dialog, long id) {
  wxCommandEvent event(wxEVT_BUTTON, static_cast<int>(id));
  event.SetEventObject(dialog);
  dialog->GetEventHandler()->ProcessEvent(event);
}

wxPoint CentreInDialog(wxWindow* dialog, long id) {
  wxWindow* button = dialog->FindWindow(id);
  if (!button) return wxPoint(-1, -1);
  const wxPoint offset = button->GetScreenPosition() - dialog->GetScreenPosition();
  return offset + wxPoint(button->GetSize().x / 2, button->GetSize().y / 2);
}

bool SaveDialogPicture(wxWindow* dialog, const wxString& path) {
  const wxRect rect = dialog->GetScreenRect();
  wxBitmap picture(rect.width, rect.height, 24);
  wxMemoryDC target(picture);
  wxScreenDC screen;
  target.Blit(0, 0, rect.width, rect.height, &screen, rect.x, rect.y);
  target.SelectObject(wxNullBitmap);
  return picture.SaveFile(path, wxBITMAP_TYPE_PNG);
}

class ScreenshotApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

int PrintButtonCentres(BarywalkDialog& dialog) {
  dialog.Show();
  const std::pair<long, const char*> buttons[] = {{BarywalkDialog::ID_BUTTON6, "ID_BUTTON6"},
                                                   {BarywalkDialog::ID_BUTTON7, "ID_BUTTON7"},
                                                   {BarywalkDialog::ID_BUTTON2, "ID_BUTTON2"}};
  for (const auto& [id, name] : buttons) {
    const wxPoint c = CentreInDialog(&dialog, id);
    printf("%s %d %d\n", name, c.x, c.y);
  }
  return 0;
}

int PrintPanel(BarywalkDialog& dialog) {
  dialog.Show();
  wxYield();  // the first layout with the fonts in place
  wxTheApp->ProcessPendingEvents();
  const wxWindow* panel = dialog.FindWindow(BarywalkDialog::ID_PANEL2);
  if (!panel) return 1;
  const wxPoint at = panel->GetScreenPosition() - dialog.GetScreenPosition();
  printf("ID_PANEL2 %d %d %d %d\n", at.x, at.y, panel->GetSize().x, panel->GetSize().y);
  return 0;
}

int PlayAndSave(BarywalkDialog& dialog, const wxString& path, long playMs) {
  Tick(&dialog, "ID_CHECKBOX17");
  Tick(&dialog, "ID_CHECKBOX16");
  if (auto* increment =
          dynamic_cast<wxSpinCtrlDbl*>(wxWindow::FindWindowByName("ID_SPINCTRL2", &dialog))) {
    increment->SetValue(kIncrementDays);
  }
  int result = 1;
  wxTimer start, finish;
  start.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    // Park the pointer beside the dialog, where it shows no tool tip.
    dialog.WarpPointer(dialog.GetSize().x + 40, 10);
    Click(&dialog, BarywalkDialog::ID_BUTTON6);
    finish.StartOnce(static_cast<int>(playMs));
  });
  finish.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
    if (SaveDialogPicture(&dialog, path)) {
      result = 0;
    } else {
      fprintf(stderr, "barywalk-screenshot: cannot write %s\n",
              static_cast<const char*>(path.utf8_str()));
    }
    dialog.EndModal(wxID_OK);
  });
  start.StartOnce(kStartDelayMs);
  dialog.ShowModal();
  return result;
}

int Run(int argc, char** argv) {
  const wxString first = argc > 1 ? wxString(argv[1]) : wxString();
  long playMs = kDefaultPlayMs;
  if (first.empty() || first.StartsWith("-h") || first.StartsWith("--h") ||
      (argc > 2 && (!wxString(argv[2]).ToLong(&playMs) || playMs < 0))) {
    fprintf(stderr,
            "usage: barywalk-screenshot OUTPUT.png [PLAY_MS] | --button-centres | --panel\n");
    return 2;
  }
  BarywalkDialog dialog(nullptr);
  wxTheApp->SetTopWindow(&dialog);
  if (first == "--button-centres") return PrintButtonCentres(dialog);
  if (first == "--panel") return PrintPanel(dialog);
  return PlayAndSave(dialog, first, playMs);
}

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(ScreenshotApp);

int main(int argc, char** argv) {
  wxApp::SetInstance(new ScreenshotApp);
  if (!wxEntryStart(argc, argv)) {
    fprintf(stderr, "barywalk-screenshot: cannot start the toolkit (is there an X display?)\n");
    return 2;
  }
  wxTheApp->CallOnInit();
  wxInitAllImageHandlers();
  const int result = Run(argc, argv);
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
