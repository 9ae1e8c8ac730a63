// A fresh main dialog per test, shown without a modal loop, its timer
// stopped so that only the test advances the clock.
#pragma once

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "dialog_test_access.h"
#include "gui_test_support.h"

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = new BarywalkDialog(guitest::TopFrame());
    access = std::make_unique<BarywalkDialogTestAccess>(*dialog);
    access->Timer().Stop();
    // Message boxes would wait for a click: record them instead.
    access->SetShowMessage([this](const wxString& text, const wxString& caption, long style) {
      messages.push_back({text, caption, style});
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

  struct ShownMessage {
    wxString text;
    wxString caption;
    long style;
  };
  std::vector<ShownMessage> messages;  // the message boxes the dialog showed

  BarywalkDialog* dialog = nullptr;
  std::unique_ptr<BarywalkDialogTestAccess> access;
};
