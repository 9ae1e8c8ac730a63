// Program entry: the toolkit creates the one BarywalkApp and runs OnInit.
#include <wx/app.h>

#include "app/barywalk_app.h"

wxIMPLEMENT_APP_NO_MAIN(BarywalkApp);

int main(int argc, char** argv) { return wxEntry(argc, argv); }
