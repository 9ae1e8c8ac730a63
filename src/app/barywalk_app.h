// The application object: runs the main dialog modally, then ends.
#pragma once

#include <wx/app.h>

class BarywalkApp : public wxApp {
 public:
  bool OnInit() override;
};

wxDECLARE_APP(BarywalkApp);
