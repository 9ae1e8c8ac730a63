// The application object: runs the main dialog modally, then ends.
#pragma once

#include <wx/app.h>

class BarywalkApp : public wxApp {
 public:
  bool OnInit() override;

  // True once the main dialog has run and closed: the program then ends
  // normally, although OnInit returned false to skip the main loop.
  static bool DialogClosed();
};

wxDECLARE_APP(BarywalkApp);
