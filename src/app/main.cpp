// Program entry: the toolkit creates the one BarywalkApp and runs OnInit.
#include <wx/app.h>

#include "app/barywalk_app.h"

wxIMPLEMENT_APP_NO_MAIN(BarywalkApp);

int main(int argc, char** argv) {
  const int status = wxEntry(argc, argv);
  // OnInit returns false to end the program once the dialog has closed,
  // which the toolkit reports as a failed start; that close is a success.
  // A real failure (no display, for one) keeps the toolkit's status.
  return BarywalkApp::DialogClosed() ? 0 : status;
}
