#include "gui_test_support.h"

#include <dlfcn.h>

#include <wx/app.h>
#include <wx/uiaction.h>
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/stopwatch.h>
#include <wx/utils.h>

namespace guitest {

wxFrame* TopFrame() { return wxDynamicCast(wxTheApp->GetTopWindow(), wxFrame); }

void PumpEvents() {
  // wxYield lets GTK deliver what Pending/Dispatch alone does not: the first
  // paint of a new window and simulated input.
  wxYield();
  for (int round = 0; round < 50; ++round) {
    bool more = false;
    while (wxTheApp->Pending()) {
      wxTheApp->Dispatch();
      more = true;
    }
    wxTheApp->ProcessIdle();
    if (!more && !wxTheApp->Pending()) break;
  }
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  wxStopWatch watch;
  while (!done()) {
    if (watch.Time() > timeoutMs) return done();
    PumpEvents();
    wxMilliSleep(5);
  }
  return true;
}

wxImage GrabWindow(wxWindow* window) {
  const wxSize size = window->GetClientSize();
  if (size.x <= 0 || size.y <= 0) return wxImage();  // nothing shown yet
  wxBitmap bitmap(size.x, size.y);
  wxClientDC source(window);
  wxMemoryDC target(bitmap);
  target.Blit(0, 0, size.x, size.y, &source, 0, 0);
  target.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

wxColour PixelAt(const wxImage& image, int x, int y) {
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

namespace {

// Lets the X server and the toolkit deliver what the simulator sent.
void Settle() {
  for (int round = 0; round < 3; ++round) {
    wxMilliSleep(10);
    PumpEvents();
  }
}

}  // namespace

void MovePointerTo(wxWindow* window, const wxPoint& point) {
  wxUIActionSimulator input;
  input.MouseMove(window->ClientToScreen(point));
  Settle();
}

void ClickAt(wxWindow* window, const wxPoint& point) {
  MovePointerTo(window, point);
  wxUIActionSimulator input;
  input.MouseClick();
  Settle();
}

void PressKey(int keyCode, int modifiers) {
  wxUIActionSimulator input;
  input.Char(keyCode, modifiers);
  Settle();
}

int TextScrollOffset(wxWindow* field) {
  using GetProperty = void (*)(void*, const char*, ...);
  static const auto get = reinterpret_cast<GetProperty>(dlsym(RTLD_DEFAULT, "g_object_get"));
  int offset = -1;
  if (get) get(field->GetHandle(), "scroll-offset", &offset, nullptr);
  return offset;
}

bool HasKeyboardFocus(wxWindow* window) {
  using IsFocus = int (*)(void*);
  static const auto isFocus = reinterpret_cast<IsFocus>(dlsym(RTLD_DEFAULT, "gtk_widget_is_focus"));
  if (!isFocus) return wxWindow::FindFocus() == window;  // not a GTK build
  return isFocus(window->GetHandle()) != 0;
}

}  // namespace guitest
