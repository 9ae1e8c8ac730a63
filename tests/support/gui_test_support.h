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

// Copies what `window` currently shows on screen into an image.
wxImage GrabWindow(wxWindow* window);

// The colour of one pixel of an image.
wxColour PixelAt(const wxImage& image, int x, int y);

}  // namespace guitest
