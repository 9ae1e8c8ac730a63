// Program entry: the toolkit creates the one BarywalkApp and runs OnInit.
#include <wx/app.h>

#include <cstdio>
#include <cstring>

#include "app/barywalk_app.h"
#include "common/version.h"

wxIMPLEMENT_APP_NO_MAIN(BarywalkApp);

namespace {

constexpr const char* kHelp =
    "Usage: barywalk [--help | --version]\n"
    "\n"
    "Shows, to true scale, how the Sun wanders around the centre of mass (the\n"
    "barycenter) of the solar system as the nine planets pull on it, and draws\n"
    "solar flares from flare files on the Sun's disc. Everything is set in the\n"
    "dialog: the dates and the increment of the player, what the view shows, and\n"
    "the flare files (\"Read flares data...\"). Nothing is kept between runs.\n"
    "\n"
    "Keys: Ctrl+S saves the frame shown as a PNG picture.\n"
    "\n"
    "  --help     show this help\n"
    "  --version  show the version\n"
    "\n"
    "The command-line programs barywalk-ephem, barywalk-flares and\n"
    "barywalk-render do the same work without the dialog.\n"
    "\n"
    "Exit status: 0 when the dialog was closed, 1 when the display could not be\n"
    "opened, 2 on an unknown argument.\n";

// --help and --version are answered before the toolkit starts, so they
// need no display; anything else is the toolkit's (--display, ...).
bool AnswersInformationOption(int argc, char** argv, int& status) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kHelp, stdout);
  } else if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("barywalk %s\n", barywalk::kBarywalkVersion);
  } else {
    return false;
  }
  status = std::fflush(stdout) == 0 ? 0 : 1;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  if (AnswersInformationOption(argc, argv, status)) return status;
  status = wxEntry(argc, argv);
  // OnInit returns false to end the program once the dialog has closed,
  // which the toolkit reports as a failed start; that close is a success.
  // A real failure (no display, for one) keeps the toolkit's status.
  return BarywalkApp::DialogClosed() ? 0 : status;
}
