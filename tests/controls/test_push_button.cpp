// wxPushButton in a real window: layout, mouse handling, notifications and
// the pixels of its off-screen picture. Mouse input is delivered as the
// events the toolkit produces, so the shared pointer of the display is not
// involved.
#include <gtest/gtest.h>

#include <wx/image.h>
#include <wx/panel.h>
#include <wx/settings.h>

#include "controls/push_button.h"
#include "gui_test_support.h"

namespace {

const wxColour kParentColour(200, 220, 240);
const wxColour kLight(255, 255, 255);
const wxColour kDark(128, 128, 128);
const wxColour kRed(220, 0, 0);
const wxColour kOrange(250, 150, 0);
const wxRect kSquare(4, 4, 8, 8);  // opaque part of the small test images

// A 32 x 32 icon, transparent except for `opaque` painted in `colour`.
wxIcon* MakeIcon(const wxColour& colour, const wxRect& opaque = wxRect(0, 0, 32, 32)) {
  wxImage image(32, 32);
  image.SetRGB(wxRect(0, 0, 32, 32), 1, 2, 3);
  image.SetRGB(opaque, colour.Red(), colour.Green(), colour.Blue());
  image.SetMaskColour(1, 2, 3);
  auto* icon = new wxIcon;
  icon->CopyFromBitmap(wxBitmap(image));
  return icon;
}

wxColour Pixel(const wxImage& image, int x, int y) { return guitest::PixelAt(image, x, y); }

class PushButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    panel = new wxPanel(guitest::TopFrame(), wxID_ANY, wxPoint(0, 0), wxSize(600, 400));
    panel->SetBackgroundColour(kParentColour);
    panel->Bind(wxEVT_COMMAND_BUTTON_CLICKED, [this](wxCommandEvent& event) {
      ++clicks;
      lastObject = event.GetEventObject();
      lastInt = event.GetInt();
    }, kId);
  }
  void TearDown() override { panel->Destroy(); }

  // Created as the dialog creates its play buttons.
  wxPushButton* Make(const wxString& label = "<", const wxSize& size = wxSize(32, 32)) {
    return new wxPushButton(panel, kId, label, wxPoint(20, 20), size);
  }

  static void Mouse(wxPushButton* button, wxEventType type, int x = 5, int y = 5) {
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(event);
  }

  static const int kId = 4242;
  wxPanel* panel = nullptr;
  int clicks = 0;
  int lastInt = -1;
  wxObject* lastObject = nullptr;
};

TEST_F(PushButtonTest, PlayButtonIsThirtyTwoWideAndFortyFourHigh) {
  wxPushButton* button = Make("<");
  EXPECT_EQ(button->GetSize(), wxSize(32, 44));  // "<" already adds its line

  // What the dialog does at start-up.
  button->SetLabel(" ");
  button->SetSticky(true);
  button->SetBitmaps(MakeIcon(kRed), MakeIcon(kOrange));
  EXPECT_EQ(button->GetSize(), wxSize(32, 44));
  EXPECT_EQ(button->GetBestSize(), wxSize(32, 44));

  const wxImage image = button->RenderToImage();
  ASSERT_EQ(image.GetSize(), wxSize(32, 44));
  EXPECT_EQ(Pixel(image, 0, 0), kRed);  // image at (0, 0)
  EXPECT_EQ(Pixel(image, 31, 31), kRed);
  const wxColour face = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE);
  EXPECT_EQ(Pixel(image, 16, 32), face);  // the blank label's line
  EXPECT_EQ(Pixel(image, 16, 43), face);
}

TEST_F(PushButtonTest, DefaultSizeAndLabelLayout) {
  EXPECT_EQ(Make("", wxDefaultSize)->GetSize(), wxSize(32, 32));
  EXPECT_EQ(Make("Go", wxDefaultSize)->GetSize(), wxSize(32, 44));  // point size 10 + 2

  // A label wider than the face widens it, the image centred on it.
  const wxString longLabel = "A much longer label";
  wxFont font(10, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
  int textWidth = 0, textHeight = 0;
  panel->GetTextExtent(longLabel, &textWidth, &textHeight, nullptr, nullptr, &font);
  ASSERT_GT(textWidth, 32);
  wxPushButton* wide = Make(longLabel, wxDefaultSize);
  EXPECT_EQ(wide->GetSize(), wxSize(textWidth + 8, 44));
  wide->SetBitmaps(MakeIcon(kRed));
  EXPECT_EQ(Pixel(wide->RenderToImage(), (textWidth + 8 - 32) / 2, 0), kRed);
}

TEST_F(PushButtonTest, StickyButtonStaysDownUntilTheProgramReleasesIt) {
  wxPushButton* button = Make();
  button->SetSticky(true);
  Mouse(button, wxEVT_LEFT_DOWN);
  Mouse(button, wxEVT_LEFT_UP);
  EXPECT_TRUE(button->GetValue());
  EXPECT_EQ(button->GetState(), wxPushButton::StatePressed);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(lastObject, panel);  // mouse notifications carry the parent
  EXPECT_EQ(lastInt, 1);

  Mouse(button, wxEVT_RIGHT_DOWN);  // any button presses; every press notifies
  Mouse(button, wxEVT_LEFT_DCLICK);  // not a press
  EXPECT_EQ(clicks, 2);

  Mouse(button, wxEVT_LEAVE_WINDOW);  // the button stays down
  Mouse(button, wxEVT_ENTER_WINDOW);  // and only an up button is highlighted
  EXPECT_EQ(button->GetState(), wxPushButton::StatePressed);
  button->SetPressed(false);  // silently
  EXPECT_FALSE(button->GetValue());
  Mouse(button, wxEVT_ENTER_WINDOW);
  EXPECT_EQ(button->GetState(), wxPushButton::StateHighlighted);
  EXPECT_EQ(clicks, 2);

  // SetValue notifies, from the button itself, when the value changes.
  button->SetValue(true);
  button->SetValue(true);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(lastObject, button);
  EXPECT_EQ(button->GetState(), wxPushButton::StatePressed);
}

TEST_F(PushButtonTest, PlainClickNotifiesOnPressAndOnReleaseInside) {
  wxPushButton* button = Make();
  Mouse(button, wxEVT_LEFT_DOWN);
  Mouse(button, wxEVT_LEFT_UP, 31, 43);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(lastInt, 0);
  EXPECT_FALSE(button->GetValue());
  EXPECT_EQ(button->GetState(), wxPushButton::StateHighlighted);

  // Releases beside the button on any side do not count.
  for (const wxPoint& point : {wxPoint(-1, 5), wxPoint(5, -1), wxPoint(32, 5), wxPoint(5, 44)}) {
    Mouse(button, wxEVT_LEFT_DOWN);
    const int before = clicks;
    Mouse(button, wxEVT_LEFT_UP, point.x, point.y);
    EXPECT_EQ(clicks, before) << point.x << "," << point.y;
    EXPECT_EQ(button->GetState(), wxPushButton::StateNormal);
  }

  // Pressed and left: let go, with a notification.
  Mouse(button, wxEVT_LEFT_DOWN);
  Mouse(button, wxEVT_LEAVE_WINDOW);
  EXPECT_FALSE(button->GetValue());
  EXPECT_EQ(lastInt, 0);
}

TEST_F(PushButtonTest, DisabledButtonIgnoresTheMouseAndShowsItsLabelEngraved) {
  wxPushButton* button = Make("Go", wxSize(48, 32));
  // Where a glyph's pixels fall depends on the font, so look for colours.
  auto has = [](const wxImage& image, const wxColour& colour) {
    for (int y = 0; y < image.GetHeight(); ++y)
      for (int x = 0; x < image.GetWidth(); ++x)
        if (Pixel(image, x, y) == colour) return true;
    return false;
  };
  const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
  EXPECT_TRUE(has(button->RenderToImage(), text));

  EXPECT_TRUE(button->Enable(false));
  Mouse(button, wxEVT_LEFT_DOWN);
  Mouse(button, wxEVT_ENTER_WINDOW);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button->GetState(), wxPushButton::StateDisabled);
  const wxImage disabled = button->RenderToImage();
  EXPECT_FALSE(has(disabled, text));
  EXPECT_TRUE(has(disabled, kLight));
  EXPECT_TRUE(has(disabled, kDark));

  EXPECT_TRUE(button->Enable(true));
  Mouse(button, wxEVT_LEFT_DOWN);
  EXPECT_EQ(clicks, 1);
}

// Pressed: sunken, the face in the parent's colour, the (selected) image
// one pixel down and right. Highlighted: raised.
TEST_F(PushButtonTest, PressedLookIsSunkenAndShiftedHighlightedLookIsRaised) {
  wxPushButton* button = Make("");
  button->SetBitmaps(MakeIcon(kRed, kSquare));
  EXPECT_EQ(Pixel(button->RenderToImage(), 4, 4), kRed);
  Mouse(button, wxEVT_ENTER_WINDOW);
  const wxImage raised = button->RenderToImage();
  button->SetPressed(true);
  const wxImage sunken = button->RenderToImage();
  EXPECT_EQ(Pixel(sunken, 5, 5), kRed);
  EXPECT_EQ(Pixel(sunken, 12, 12), kRed);
  EXPECT_EQ(Pixel(sunken, 4, 4), kParentColour);

  const struct { int x, y; wxColour sunken, raised; } frame[] = {
      {16, 0, kDark, kLight},  {0, 16, kDark, kLight},  {0, 0, kParentColour, kParentColour},
      {16, 31, kLight, kDark}, {31, 16, kLight, kDark}, {31, 31, kParentColour, kDark}};
  for (const auto& p : frame) {
    EXPECT_EQ(Pixel(sunken, p.x, p.y), p.sunken) << p.x << "," << p.y;
    EXPECT_EQ(Pixel(raised, p.x, p.y), p.raised) << p.x << "," << p.y;
  }

  button->SetBitmaps(MakeIcon(kRed, kSquare), MakeIcon(kOrange, kSquare));
  EXPECT_EQ(Pixel(button->RenderToImage(), 5, 5), kOrange);
}

// Once painted, the button keeps its picture current by itself and keeps
// its size.
TEST_F(PushButtonTest, AfterTheFirstPaintEveryChangeIsRenderedAtOnce) {
  wxPushButton* button = Make("");
  auto topEdge = [button] { return Pixel(button->GetBuffer().ConvertToImage(), 5, 0); };
  button->SetPressed(true);  // before the first paint only the state changes
  // Pending/Dispatch alone do not bring the first paint under Xvfb; wxYield does.
  ASSERT_TRUE(guitest::PumpUntil([&] { wxYield(); return topEdge() == kDark; }));
  button->SetPressed(false);
  EXPECT_NE(topEdge(), kDark);
  Mouse(button, wxEVT_LEFT_DOWN);
  EXPECT_EQ(topEdge(), kDark);

  button->SetLabel("Longer than the face");
  EXPECT_EQ(button->GetSize(), wxSize(32, 32));
}

TEST_F(PushButtonTest, OneIconHandedOverTwiceIsOwnedSafely) {
  wxPushButton* button = Make("");
  wxIcon* icon = MakeIcon(kRed, kSquare);
  button->SetBitmaps(icon, icon, nullptr, icon);
  button->SetPressed(true);
  EXPECT_EQ(Pixel(button->RenderToImage(), 5, 5), kRed);
  button->SetBitmaps(nullptr);
  button->Destroy();  // memory checkers see any double free here
}

}  // namespace
