// A fresh main dialog per test, shown without a modal loop, its timer
// stopped so that only the test advances the clock. The dialog gives its
// square panel the room beside the settings column, which depends on the
// fonts installed: tests read the panel's real size, or give it the size
// their expectations are worked out for.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include "app/flare_settings.h"
#include "dialog_test_access.h"
#include "gui_test_support.h"

// The panel's smallest side, pixels.
constexpr int kSmallestPanelSide = 640;

// Draws into a fresh `side` x `side` bitmap whose DC anti-aliases.
inline wxImage Render(int side, const std::function<void(wxDC&)>& draw) {
  wxBitmap bitmap(side, side, 24);
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
    // The dialog's flare settings outlive it: the next dialog starts with
    // them as the program does.
    barywalk::SetFlareAreaClip(barywalk::kClipLimitSetting.initial);
    barywalk::SetFlareLogScale(barywalk::kShownAtStart.logScale);
  }

  // Sets the start and end dates (local midnight) and the increment.
  void SetRun(const wxDateTime& start, const wxDateTime& end, double increment) {
    access->StartDate()->SetValue(start);
    access->EndDate()->SetValue(end);
    access->Increment()->SetValue(increment);
  }

  // The side of the square panel as laid out, pixels.
  int PanelSide() const {
    const wxSize size = access->Panel()->GetSize();
    EXPECT_EQ(size.x, size.y) << "the panel is not square";
    return size.x;
  }

  // Gives the panel `side` x `side` pixels for a test whose pixel
  // expectations are worked out for that size, and restarts the
  // simulation so that the Sun is computed for it. Fails the test when the
  // size does not hold once the pending events are handled.
  void UsePanelSide(int side) {
    access->Panel()->SetSize(side, side);
    guitest::PumpEvents();
    access->ResetSimulation();
    ASSERT_EQ(access->Panel()->GetSize(), wxSize(side, side));
  }

  // The frame the dialog draws for its current state, at the panel's size;
  // it turns the anti-aliasing off itself.
  wxImage DrawnFrame() {
    const int side = PanelSide();
    return Render(side, [this, side](wxDC& dc) { dialog->DrawFrame(dc, side, side); });
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
