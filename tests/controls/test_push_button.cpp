// wxPushButton in a real window: layout, mouse handling, notifications and
// the pixels of its off-screen picture. Mouse input is delivered as the
// events the toolkit produces, so the shared pointer of the display is not
// involved.
#include <gtest/gtest.h>

#include <wx/dcmemory.h>
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

const wxRect kSquare(4, 4, 8, 8);  // opaque part of the test images

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

  static wxColour Pixel(const wxImage& image, int x, int y) { return guitest::PixelAt(image, x, y); }

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
  for (int y = 32; y < 44; ++y) EXPECT_EQ(Pixel(image, 16, y), face) << "row " << y;
}

TEST_F(PushButtonTest, DefaultSizeAndLabelLayout) {
  wxPushButton* bare = Make("", wxDefaultSize);
  EXPECT_EQ(bare->GetSize(), wxSize(32, 32));

  wxPushButton* labelled = Make("Go", wxDefaultSize);
  EXPECT_EQ(labelled->GetSize(), wxSize(32, 44));  // point size 10 + 2

  const wxString longLabel = "A much longer label";
  wxPushButton* wide = Make(longLabel, wxDefaultSize);
  wxFont font(10, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD);
  int textWidth = 0, textHeight = 0;
  panel->GetTextExtent(longLabel, &textWidth, &textHeight, nullptr, nullptr, &font);
  ASSERT_GT(textWidth, 32);
  EXPECT_EQ(wide->GetSize(), wxSize(textWidth + 8, 44));

  // A 32-pixel image is centred on the wider face.
  wide->SetBitmaps(MakeIcon(kRed));
  const int imageX = (textWidth + 8 - 32) / 2;
  const wxImage image = wide->RenderToImage();
  EXPECT_EQ(Pixel(image, imageX, 0), kRed);
  EXPECT_NE(Pixel(image, imageX - 1, 0), kRed);
  EXPECT_EQ(Pixel(image, imageX + 31, 0), kRed);
}

TEST_F(PushButtonTest, StickyButtonStaysDownUntilTheProgramReleasesIt) {
  wxPushButton* button = Make();
  button->SetSticky(true);
  Mouse(button, wxEVT_LEFT_DOWN);
  EXPECT_TRUE(button->GetValue());
  EXPECT_EQ(button->GetState(), wxPushButton::StatePressed);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(lastObject, panel);  // mouse notifications carry the parent
  EXPECT_EQ(lastInt, 1);

  Mouse(button, wxEVT_LEFT_UP);
  EXPECT_TRUE(button->GetValue());
  EXPECT_EQ(clicks, 1);

  Mouse(button, wxEVT_RIGHT_DOWN);  // any button presses; every press notifies
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(button->GetState(), wxPushButton::StatePressed);

  Mouse(button, wxEVT_LEFT_DCLICK);  // not a press
  EXPECT_EQ(clicks, 2);

  button->SetPressed(false);
  EXPECT_FALSE(button->GetValue());
  EXPECT_EQ(button->GetState(), wxPushButton::StateNormal);
  button->SetPressed(true);
  EXPECT_EQ(button->GetState(), wxPushButton::StatePressed);
  EXPECT_EQ(clicks, 2);
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
  const wxPoint outside[] = {{-1, 5}, {5, -1}, {32, 5}, {5, 44}};
  for (const wxPoint& point : outside) {
    Mouse(button, wxEVT_LEFT_DOWN);
    const int before = clicks;
    Mouse(button, wxEVT_LEFT_UP, point.x, point.y);
    EXPECT_EQ(clicks, before) << point.x << "," << point.y;
    EXPECT_EQ(button->GetState(), wxPushButton::StateNormal);
  }
}

TEST_F(PushButtonTest, SetValueNotifiesOnlyOnChange) {
  wxPushButton* button = Make();
  button->SetValue(true);
  button->SetValue(true);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(lastObject, button);
  EXPECT_EQ(button->GetState(), wxPushButton::StatePressed);
  button->SetValue(false);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(button->GetState(), wxPushButton::StateNormal);
}

TEST_F(PushButtonTest, EnteringHighlightsOnlyAButtonThatIsUp) {
  wxPushButton* sticky = Make();
  sticky->SetSticky(true);
  Mouse(sticky, wxEVT_ENTER_WINDOW);
  EXPECT_EQ(sticky->GetState(), wxPushButton::StateHighlighted);
  Mouse(sticky, wxEVT_LEAVE_WINDOW);
  EXPECT_EQ(sticky->GetState(), wxPushButton::StateNormal);
  sticky->SetPressed(true);
  Mouse(sticky, wxEVT_ENTER_WINDOW);
  EXPECT_EQ(sticky->GetState(), wxPushButton::StatePressed);
  Mouse(sticky, wxEVT_LEAVE_WINDOW);
  EXPECT_EQ(sticky->GetState(), wxPushButton::StatePressed);
  EXPECT_EQ(clicks, 0);

  // A plain button pressed and left is let go, with a notification.
  wxPushButton* plain = Make();
  Mouse(plain, wxEVT_LEFT_DOWN);
  Mouse(plain, wxEVT_LEAVE_WINDOW);
  EXPECT_FALSE(plain->GetValue());
  EXPECT_EQ(plain->GetState(), wxPushButton::StateNormal);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(lastInt, 0);
}

TEST_F(PushButtonTest, DisabledButtonIgnoresTheMouseAndShowsItsLabelEngraved) {
  wxPushButton* button = Make("Go", wxSize(48, 32));
  const wxColour text = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
  auto count = [](const wxImage& image, const wxColour& colour) {
    int n = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
      for (int x = 0; x < image.GetWidth(); ++x) n += guitest::PixelAt(image, x, y) == colour;
    return n;
  };
  const wxImage enabled = button->RenderToImage();
  EXPECT_GT(count(enabled, text), 0);

  EXPECT_TRUE(button->Enable(false));
  EXPECT_EQ(button->GetState(), wxPushButton::StateDisabled);
  Mouse(button, wxEVT_LEFT_DOWN);
  Mouse(button, wxEVT_ENTER_WINDOW);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button->GetState(), wxPushButton::StateDisabled);

  const wxImage disabled = button->RenderToImage();
  EXPECT_EQ(count(disabled, text), 0);
  EXPECT_GT(count(disabled, kLight), 0);
  EXPECT_GT(count(disabled, kDark), 0);

  EXPECT_TRUE(button->Enable(true));
  EXPECT_EQ(button->GetState(), wxPushButton::StateNormal);
  Mouse(button, wxEVT_LEFT_DOWN);
  EXPECT_EQ(clicks, 1);
}

TEST_F(PushButtonTest, PressedLookIsSunkenWithTheImageMovedDownRight) {
  wxPushButton* button = Make("");
  button->SetBitmaps(MakeIcon(kRed, kSquare));
  const wxImage normal = button->RenderToImage();
  EXPECT_EQ(Pixel(normal, 4, 4), kRed);
  EXPECT_EQ(Pixel(normal, 0, 0), wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));

  button->SetPressed(true);
  const wxImage pressed = button->RenderToImage();
  EXPECT_EQ(Pixel(pressed, 5, 5), kRed);
  EXPECT_EQ(Pixel(pressed, 12, 12), kRed);
  EXPECT_EQ(Pixel(pressed, 4, 4), kParentColour);  // face in the parent's colour
  // Dark top and left edges, light bottom and right, corners left out.
  for (int i = 1; i <= 30; ++i) {
    EXPECT_EQ(Pixel(pressed, i, 0), kDark) << i;
    EXPECT_EQ(Pixel(pressed, 0, i), kDark) << i;
    EXPECT_EQ(Pixel(pressed, i, 31), kLight) << i;
    EXPECT_EQ(Pixel(pressed, 31, i), kLight) << i;
  }
  EXPECT_EQ(Pixel(pressed, 0, 0), kParentColour);
  EXPECT_EQ(Pixel(pressed, 31, 31), kParentColour);

  // With a selected image, that one is drawn, shifted the same way.
  button->SetBitmaps(MakeIcon(kRed, kSquare), MakeIcon(kOrange, kSquare));
  EXPECT_EQ(Pixel(button->RenderToImage(), 5, 5), kOrange);
}

TEST_F(PushButtonTest, HighlightedLookIsRaised) {
  wxPushButton* button = Make("");
  Mouse(button, wxEVT_ENTER_WINDOW);
  const wxImage image = button->RenderToImage();
  for (int i = 1; i <= 30; ++i) {
    EXPECT_EQ(Pixel(image, i, 0), kLight) << i;
    EXPECT_EQ(Pixel(image, 0, i), kLight) << i;
  }
  for (int i = 0; i <= 31; ++i) {
    EXPECT_EQ(Pixel(image, i, 31), kDark) << i;
    EXPECT_EQ(Pixel(image, 31, i), kDark) << i;
  }
  EXPECT_EQ(Pixel(image, 0, 0), kParentColour);
  EXPECT_EQ(Pixel(image, 16, 16), kParentColour);
}

// Once painted, the button keeps its picture current by itself and keeps
// its size.
TEST_F(PushButtonTest, AfterTheFirstPaintEveryChangeIsRenderedAtOnce) {
  wxPushButton* button = Make("");
  button->SetBitmaps(MakeIcon(kRed, kSquare));
  auto topEdge = [button] { return Pixel(button->GetBuffer().ConvertToImage(), 5, 0); };
  button->SetPressed(true);  // before the first paint only the state changes
  // Pending/Dispatch alone do not bring the first paint under Xvfb; wxYield does.
  ASSERT_TRUE(guitest::PumpUntil([&] { wxYield(); return topEdge() == kDark; }));
  button->SetPressed(false);
  EXPECT_NE(topEdge(), kDark);
  Mouse(button, wxEVT_LEFT_DOWN);
  EXPECT_EQ(topEdge(), kDark);

  const wxSize size = button->GetSize();
  button->SetLabel("Longer than the face");
  EXPECT_EQ(button->GetSize(), size);
  EXPECT_EQ(button->GetLabel(), "Longer than the face");
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
