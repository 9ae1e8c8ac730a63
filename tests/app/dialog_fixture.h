// A fresh main dialog per test, shown without a modal loop, its timer
// stopped so that only the test advances the clock.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include "dialog_test_access.h"
#include "gui_test_support.h"

constexpr int kFrameSize = 640;

// Draws into a fresh kFrameSize square bitmap whose DC anti-aliases.
inline wxImage Render(const std::function<void(wxDC&)>& draw) {
  wxBitmap bitmap(kFrameSize, kFrameSize, 24);
  wxMemoryDC dc(bitmap);
  if (wxGraphicsContext* gc = dc.GetGraphicsContext()) gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
  draw(dc);
  dc.SelectObject(wxNullBitmap);
  return bitmap.ConvertToImage();
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = new BarywalkDialog(guitest::TopFrame());
    access = std::make_unique<BarywalkDialogTestAccess>(*dialog);
    wxTimer& timer = access->Timer();
    repeatingTimerMs = timer.IsRunning() && !timer.IsOneShot() ? timer.GetInterval() : 0;
    timer.Stop();
    // Message boxes would wait for a click: record them instead.
    access->SetShowMessage([this](const wxString& text, const wxString&, long style) {
      messages.push_back({text, style});
      return wxOK;
    });
    dialog->Show();
    guitest::PumpEvents();
  }

  void TearDown() override {
    access.reset();
    dialog->Destroy();
    guitest::PumpEvents();
  }

  // Sets the start and end dates (local midnight) and the increment.
  void SetRun(const wxDateTime& start, const wxDateTime& end, double increment) {
    access->StartDate()->SetValue(start);
    access->EndDate()->SetValue(end);
    access->Increment()->SetValue(increment);
  }

  // The frame the dialog draws for its current state; it turns the
  // anti-aliasing off itself.
  wxImage DrawnFrame() {
    return Render([this](wxDC& dc) { dialog->DrawFrame(dc, kFrameSize, kFrameSize); });
  }

  struct ShownMessage {
    wxString text;
    long style;
  };
  std::vector<ShownMessage> messages;  // the message boxes the dialog showed

  int repeatingTimerMs = 0;  // the period of the timer as constructed, 0 if not repeating

  BarywalkDialog* dialog = nullptr;
  std::unique_ptr<BarywalkDialogTestAccess> access;
};
