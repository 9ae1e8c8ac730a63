#include "app/barywalk_app.h"

#include <wx/image.h>

#include "app/barywalk_dialog.h"

namespace {
bool g_dialogClosed = false;
}

// The dialog is the whole program: when its modal loop ends the program
// ends, so the toolkit's main loop is never entered.
bool BarywalkApp::OnInit() {
  wxInitAllImageHandlers();
  {
    BarywalkDialog dialog(nullptr, wxID_ANY);
    SetTopWindow(&dialog);
    dialog.ShowModal();
  }
  g_dialogClosed = true;
  return false;
}

bool BarywalkApp::DialogClosed() { return g_dialogClosed; }
