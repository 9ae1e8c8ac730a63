// The flare side of the dialog. The handlers are connected and the player
// calls UpdateMaxFlareSize; their work is wired with
// the flare layer.
#include "app/barywalk_dialog.h"

// wired with the flare layer
void BarywalkDialog::OnReadFlares(wxCommandEvent&) {}

// wired with the flare layer
void BarywalkDialog::OnDumpStats(wxCommandEvent&) {}

// wired with the flare layer
void BarywalkDialog::OnLogScaleClicked(wxCommandEvent&) {}

// wired with the flare layer
void BarywalkDialog::OnClipClicked(wxCommandEvent&) {}

// wired with the flare layer
void BarywalkDialog::UpdateMaxFlareSize() {}

// wired with the flare layer
void BarywalkDialog::DrawFlares(wxDC&, barywalk::PixelPoint, double) {}
