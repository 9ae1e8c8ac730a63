// Test main for the GUI tests: starts the toolkit without entering its main
// loop, shows one top-level frame for the tests to parent their windows to,
// runs the tests and shuts the toolkit down again.
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/init.h>

#include "gui_test_support.h"

namespace {

class GuiTestApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  wxApp::SetInstance(new GuiTestApp);
  if (!wxEntryStart(argc, argv)) {
    fprintf(stderr, "cannot start the toolkit (is there an X display?)\n");
    return 2;
  }
  wxTheApp->CallOnInit();
  wxInitAllImageHandlers();
  auto* top = new wxFrame(nullptr, wxID_ANY, "Barywalk GUI tests", wxPoint(0, 0), wxSize(900, 700));
  wxTheApp->SetTopWindow(top);
  top->Show();
  guitest::PumpEvents();

  const int result = RUN_ALL_TESTS();

  top->Destroy();
  guitest::PumpEvents();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
