// Helpers shared by the GUI tests. The test main starts the toolkit and
// shows one top-level frame; tests parent their windows to it.
#pragma once

#include <functional>

#include <wx/colour.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/window.h>

namespace guitest {

// The frame that the test main shows for the whole run.
wxFrame* TopFrame();

// Processes pending events (and idle events) until the queue is empty.
void PumpEvents();

// Pumps events until `done` returns true or `timeoutMs` has passed.
// Returns the last value of `done`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000);

// Copies what `window` currently shows on screen into an image; an empty
// image while the window has no size yet.
wxImage GrabWindow(wxWindow* window);

// The colour of one pixel of an image.
wxColour PixelAt(const wxImage& image, int x, int y);

// Real input through the X server, as a user gives it: the pointer moves,
// buttons and keys go down and up, and the toolkit turns that into its
// events itself. GUI test programs hold the display one at a time, so no
// other program's windows take this input. Each call pumps the events.
void MovePointerTo(wxWindow* window, const wxPoint& point);  // point in window coordinates
void ClickAt(wxWindow* window, const wxPoint& point);
// A key press (down and up) with wxMOD_* modifiers, to the window that has
// the keyboard focus; the pointer should rest on one of the test's windows.
void PressKey(int keyCode, int modifiers = 0);

// How far GTK has scrolled a text field's text to the left to keep the
// cursor in view: 0 when the text shows from its first character; -1 when
// that cannot be told (not a GTK build).
int TextScrollOffset(wxWindow* field);

// Whether GTK gives `window` the keyboard focus (the toolkit's own record
// of the focus can differ from where keys really go).
bool HasKeyboardFocus(wxWindow* window);

}  // namespace guitest
