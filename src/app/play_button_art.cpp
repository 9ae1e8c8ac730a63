#include "app/play_button_art.h"

#include <wx/icon.h>

#include "app/art/play_forward_pressed.xpm"
#include "app/art/play_forward_released.xpm"
#include "app/art/play_reverse_pressed.xpm"
#include "app/art/play_reverse_released.xpm"

wxIcon* NewPlayReverseReleasedIcon() { return new wxIcon(play_reverse_released_xpm); }
wxIcon* NewPlayReversePressedIcon() { return new wxIcon(play_reverse_pressed_xpm); }
wxIcon* NewPlayForwardReleasedIcon() { return new wxIcon(play_forward_released_xpm); }
wxIcon* NewPlayForwardPressedIcon() { return new wxIcon(play_forward_pressed_xpm); }
