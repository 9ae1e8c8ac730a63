// The main dialog as built: defaults, identifiers, names, layout, the play
// buttons' pictures, the duration switch, About's build text and Quit.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <wx/button.h>
#include <wx/icon.h>
#include <wx/stattext.h>

#include "app/play_button_art.h"
#include "dialog_fixture.h"
#include "flares/solar_flare.h"

namespace {

using D = BarywalkDialog;

// Every identifier with its text, in creation order; the timer last.
const std::vector<std::pair<long, std::string>>& Identifiers() {
  static const std::vector<std::pair<long, std::string>> ids = {
      {D::ID_STATICTEXT1, "ID_STATICTEXT1"},       {D::ID_STATICTEXT2, "ID_STATICTEXT2"},
      {D::ID_BUTTON4, "ID_BUTTON4"},               {D::ID_BUTTON1, "ID_BUTTON1"},
      {D::ID_STATICLINE1, "ID_STATICLINE1"},       {D::ID_BUTTON2, "ID_BUTTON2"},
      {D::ID_STATICTEXT4, "ID_STATICTEXT4"},       {D::ID_STATICTEXT5, "ID_STATICTEXT5"},
      {D::ID_DATEPICKERCTRL1, "ID_DATEPICKERCTRL1"}, {D::ID_STATICTEXT6, "ID_STATICTEXT6"},
      {D::ID_DATEPICKERCTRL2, "ID_DATEPICKERCTRL2"}, {D::ID_STATICTEXT7, "ID_STATICTEXT7"},
      {D::ID_SPINCTRL2, "ID_SPINCTRL2"},           {D::ID_CHECKBOX1, "ID_CHECKBOX1"},
      {D::ID_CHECKBOX10, "ID_CHECKBOX10"},         {D::ID_CHECKBOX14, "ID_CHECKBOX14"},
      {D::ID_CHECKBOX12, "ID_CHECKBOX12"},         {D::ID_CHECKBOX6, "ID_CHECKBOX6"},
      {D::ID_CHECKBOX7, "ID_CHECKBOX7"},           {D::ID_CHECKBOX8, "ID_CHECKBOX8"},
      {D::ID_CHECKBOX9, "ID_CHECKBOX9"},           {D::ID_CHECKBOX2, "ID_CHECKBOX2"},
      {D::ID_CHECKBOX4, "ID_CHECKBOX4"},           {D::ID_CHECKBOX3, "ID_CHECKBOX3"},
      {D::ID_CHECKBOX5, "ID_CHECKBOX5"},           {D::ID_CHECKBOX13, "ID_CHECKBOX13"},
      {D::ID_BUTTON9, "ID_BUTTON9"},               {D::ID_CHECKBOX11, "ID_CHECKBOX11"},
      {D::ID_SPINCTRL4, "ID_SPINCTRL4"},           {D::ID_CHECKBOX19, "ID_CHECKBOX19"},
      {D::ID_CHECKBOX18, "ID_CHECKBOX18"},         {D::ID_SPINCTRL5, "ID_SPINCTRL5"},
      {D::ID_CHECKBOX15, "ID_CHECKBOX15"},         {D::ID_SPINCTRL1, "ID_SPINCTRL1"},
      {D::ID_CHECKBOX17, "ID_CHECKBOX17"},         {D::ID_CHECKBOX16, "ID_CHECKBOX16"},
      {D::ID_SPINCTRL3, "ID_SPINCTRL3"},           {D::ID_BUTTON3, "ID_BUTTON3"},
      {D::ID_BUTTON5, "ID_BUTTON5"},               {D::ID_BUTTON6, "ID_BUTTON6"},
      {D::ID_BUTTON7, "ID_BUTTON7"},               {D::ID_BUTTON8, "ID_BUTTON8"},
      {D::ID_PANEL2, "ID_PANEL2"},                 {D::ID_TIMER1, "ID_TIMER1"},
  };
  return ids;
}

template <typename T>
T* Find(wxWindow* dialog, const char* name) {
  return dynamic_cast<T*>(wxWindow::FindWindowByName(name, dialog));
}

TEST(DialogIdentifiers, FortyFourDistinctInCreationOrderTimerLast) {
  const auto& ids = Identifiers();
  ASSERT_EQ(ids.size(), 44u);
  std::set<long> distinct;
  for (const auto& [id, name] : ids) distinct.insert(id);
  EXPECT_EQ(distinct.size(), 44u);
  for (size_t i = 1; i < ids.size(); ++i) {
    EXPECT_LT(ids[i - 1].first, ids[i].first) << ids[i].second << " allocated out of order";
  }
}

TEST_F(DialogTest, ControlsCarryTheirIdentifierTextAsWindowName) {
  EXPECT_EQ(dialog->GetName(), "wxID_ANY");
  int found = 0;
  for (const auto& [id, name] : Identifiers()) {
    // The play buttons are the push button's own windows, which keep the
    // toolkit's panel name; the timer is no window.
    if (id == D::ID_BUTTON5 || id == D::ID_BUTTON6 || id == D::ID_TIMER1) continue;
    wxWindow* window = wxWindow::FindWindowByName(name, dialog);
    ASSERT_NE(window, nullptr) << name;
    EXPECT_EQ(window->GetId(), id) << name;
    ++found;
  }
  EXPECT_EQ(found, 41);
  EXPECT_EQ(access->PlayReverseButton()->GetId(), D::ID_BUTTON5);
  EXPECT_EQ(access->PlayForwardButton()->GetId(), D::ID_BUTTON6);
}

TEST_F(DialogTest, StartsWithTheDefaultSettings) {
  EXPECT_DOUBLE_EQ(access->Increment()->GetValue(), 0.11);
  EXPECT_DOUBLE_EQ(access->Duration()->GetValue(), 300);
  EXPECT_DOUBLE_EQ(access->ClipLimit()->GetValue(), 800);
  EXPECT_DOUBLE_EQ(access->FlareScale()->GetValue(), 1);
  EXPECT_DOUBLE_EQ(access->AccelFactor()->GetValue(), 1);

  const wxDateTime start = access->StartDate()->GetValue();
  const wxDateTime end = access->EndDate()->GetValue();
  EXPECT_EQ(start, wxDateTime(1, wxDateTime::Jan, 1980));
  EXPECT_EQ(end, wxDateTime(1, wxDateTime::Jan, 2040));

  // Year, Month, Day, Sun, then Mercury ... Pluto, then the other options.
  EXPECT_TRUE(access->ShowYear()->GetValue());
  EXPECT_TRUE(access->ShowMonth()->GetValue());
  EXPECT_TRUE(access->ShowDay()->GetValue());
  EXPECT_TRUE(access->ShowSun()->GetValue());
  const bool planets[] = {false, false, true, false, true, true, true, true, false};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(access->PlanetBox(i)->GetValue(), planets[i]) << i;
  EXPECT_TRUE(access->ShowFlares()->GetValue());
  EXPECT_FALSE(access->LogScale()->GetValue());
  EXPECT_TRUE(access->ClipArea()->GetValue());
  EXPECT_TRUE(access->UseDuration()->GetValue());
  EXPECT_FALSE(access->ShowOrbit()->GetValue());
  EXPECT_FALSE(access->ShowAcceleration()->GetValue());
  for (auto* box : {access->ClipArea(), access->UseDuration(), access->LogScale()}) {
    EXPECT_TRUE(box->IsEnabled());
  }
  EXPECT_TRUE(access->Duration()->IsEnabled());
  EXPECT_TRUE(access->ClipLimit()->IsEnabled());

  // Stopped at the start date, the trail empty.
  EXPECT_FALSE(access->Playing());
  EXPECT_FALSE(access->Paused());
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime());
  EXPECT_TRUE(access->SunPath().Points().empty());
}

TEST(DialogTimer, RunsEveryThirtyMillisecondsFromConstruction) {
  auto* dialog = new BarywalkDialog(guitest::TopFrame());
  BarywalkDialogTestAccess access(*dialog);
  EXPECT_TRUE(access.Timer().IsRunning());
  EXPECT_EQ(access.Timer().GetInterval(), 30);
  EXPECT_FALSE(access.Timer().IsOneShot());
  EXPECT_EQ(access.Timer().GetId(), D::ID_TIMER1);
  dialog->Destroy();
  guitest::PumpEvents();
}

TEST_F(DialogTest, TextsTooltipsAndFonts) {
  auto* title = Find<wxStaticText>(dialog, "ID_STATICTEXT1");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->GetLabel(), "Barywalk:");
  EXPECT_EQ(title->GetFont().GetPointSize(), 18);
  EXPECT_EQ(title->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
  auto* caption = Find<wxStaticText>(dialog, "ID_STATICTEXT4");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->GetFont().GetPointSize(), 11);
  EXPECT_EQ(caption->GetFont().GetWeight(), wxFONTWEIGHT_NORMAL);
  auto* rewind = Find<wxButton>(dialog, "ID_BUTTON3");
  ASSERT_NE(rewind, nullptr);
  EXPECT_EQ(rewind->GetLabel(), "<<");
  EXPECT_EQ(rewind->GetFont().GetPointSize(), 12);
  EXPECT_EQ(rewind->GetToolTipText(), "Rewind simulation to start date");
  EXPECT_EQ(Find<wxStaticText>(dialog, "ID_STATICTEXT7")->GetToolTipText(),
            "Simulation increment defines\nhow many days each step takes.\nUse 0.05 when "
            "studying flares,\nhigher values for solar movements.");
  EXPECT_EQ(access->LogScale()->GetLabel(), "Show logartithmic");
  EXPECT_EQ(access->ShowOrbit()->GetToolTipText(),
            "Show suns orbit around \nsolar system barycenter.");
  EXPECT_EQ(access->Panel()->GetToolTipText(),
            "The sun, optionally with flares\nand directions to the planets.\nThe red circle "
            "has a radius of \none solar diameter.");
  EXPECT_EQ(Find<wxButton>(dialog, "ID_BUTTON8")->GetLabel(), "[]");
}

TEST_F(DialogTest, LayoutFixedSizeSquarePanelHiddenDumpButton) {
  EXPECT_FALSE(dialog->HasFlag(wxRESIZE_BORDER));
  EXPECT_TRUE(dialog->HasFlag(wxMINIMIZE_BOX));
  EXPECT_EQ(dialog->GetMinSize(), dialog->GetSize());

  const wxSize panel = access->Panel()->GetSize();
  EXPECT_EQ(panel.x, panel.y);
  EXPECT_GE(panel.x, 640);

  auto* dump = Find<wxButton>(dialog, "ID_BUTTON4");
  ASSERT_NE(dump, nullptr);
  EXPECT_FALSE(dump->IsShown());
  // The hidden button takes no room: About sits right of the subtitle.
  const wxRect subtitle = Find<wxWindow>(dialog, "ID_STATICTEXT2")->GetRect();
  const wxRect about = Find<wxWindow>(dialog, "ID_BUTTON1")->GetRect();
  EXPECT_LT(about.x - subtitle.GetRight(), dump->GetSize().x);
}

// The arrow pair of a real-number spin control is wide under GTK 3; each
// value must still have a text field of its layout width to be read in.
TEST_F(DialogTest, SpinValuesHaveRoomForTheirText) {
  const std::pair<wxSpinCtrlDbl*, int> spins[] = {
      {access->Increment(), 50}, {access->FlareScale(), 60}, {access->ClipLimit(), 60},
      {access->Duration(), 60},  {access->AccelFactor(), 60}};
  for (const auto& [spin, textWidth] : spins) {
    SCOPED_TRACE(spin->GetName());
    EXPECT_GE(spin->GetTextCtrl()->GetSize().x, textWidth);
    EXPECT_TRUE(spin->GetTextCtrl()->IsShownOnScreen());
  }
}

TEST_F(DialogTest, PlayButtonsAreStickyAndBlankWithTheirPictures) {
  for (wxPushButton* button : {access->PlayReverseButton(), access->PlayForwardButton()}) {
    EXPECT_EQ(button->GetLabel(), " ");
    EXPECT_TRUE(button->IsSticky());
    EXPECT_FALSE(button->GetValue());
    // 32 x 32 pictures and a blank label lay the button out 32 wide and
    // 32 + 10 + 2 high; the player row gives it at least the picture.
    EXPECT_EQ(button->GetBestSize(), wxSize(32, 44));
    EXPECT_GE(button->GetSize().y, 32);
    EXPECT_EQ(button->GetSize().x, 32);
  }
  // The released picture is blue, the pressed one orange.
  wxPushButton* forward = access->PlayForwardButton();
  const wxColour released = guitest::PixelAt(forward->RenderToImage(), 16, 15);
  forward->SetPressed(true);
  const wxColour pressed = guitest::PixelAt(forward->RenderToImage(), 17, 16);
  forward->SetPressed(false);
  EXPECT_GT(released.Blue(), released.Red());
  EXPECT_GT(pressed.Red(), pressed.Blue());
}

// The pictures: transparent corners, the triangle's body blue when
// released and orange when pressed, its tip on the side it points to.
TEST(PlayButtonArt, TrianglesInBlueAndOrangeOnTransparentGround) {
  struct Art {
    wxIcon* icon;
    bool pointsRight;
    bool pressed;
  };
  const Art arts[] = {{NewPlayReverseReleasedIcon(), false, false},
                      {NewPlayReversePressedIcon(), false, true},
                      {NewPlayForwardReleasedIcon(), true, false},
                      {NewPlayForwardPressedIcon(), true, true}};
  for (const Art& art : arts) {
    ASSERT_TRUE(art.icon->IsOk());
    EXPECT_EQ(art.icon->GetWidth(), 32);
    EXPECT_EQ(art.icon->GetHeight(), 32);
    wxBitmap bitmap;
    bitmap.CopyFromIcon(*art.icon);
    const wxImage image = bitmap.ConvertToImage();
    ASSERT_TRUE(image.HasMask() || image.HasAlpha());
    auto transparent = [&](int x, int y) {
      return image.HasAlpha() ? image.GetAlpha(x, y) == 0 : image.IsTransparent(x, y);
    };
    EXPECT_TRUE(transparent(0, 0));
    EXPECT_TRUE(transparent(31, 31));
    const wxColour body = guitest::PixelAt(image, 16, 15);
    if (art.pressed) {
      EXPECT_GT(body.Red(), 200);
      EXPECT_LT(body.Blue(), 100);
    } else {
      EXPECT_GT(body.Blue(), 180);
      EXPECT_LT(body.Red(), 100);
    }
    // Near the tip: opaque on the pointing side only.
    EXPECT_EQ(transparent(25, 15), !art.pointsRight);
    EXPECT_EQ(transparent(6, 15), art.pointsRight);
    delete art.icon;
  }
}

TEST_F(DialogTest, DurationSwitchGreysItsValueAndKeepsIt) {
  access->Duration()->SetValue(120);
  access->UseDuration()->SetValue(false);
  access->DurationClicked();
  EXPECT_FALSE(access->Duration()->IsEnabled());
  access->UseDuration()->SetValue(true);
  access->DurationClicked();
  EXPECT_TRUE(access->Duration()->IsEnabled());
  EXPECT_DOUBLE_EQ(access->Duration()->GetValue(), 120);
}

TEST(DialogAbout, BuildDescriptionEndsInPlatformAndCharacterSet) {
  const wxString shortForm = BarywalkDialog::BuildInfo(false);
  const wxString longForm = BarywalkDialog::BuildInfo(true);
  EXPECT_FALSE(shortForm.empty());
  EXPECT_TRUE(longForm.StartsWith(shortForm));
  EXPECT_TRUE(longForm.EndsWith("-Linux-Unicode build")) << longForm;
  EXPECT_EQ(longForm.length(), shortForm.length() + wxString("-Linux-Unicode build").length());
}

TEST_F(DialogTest, QuitWhilePlayingStopsTheTimerFirst) {
  access->PlayForward();
  access->Timer().Start(30);  // running as in the program
  access->Quit();
  EXPECT_FALSE(access->Timer().IsRunning());
  EXPECT_FALSE(dialog->IsShown());
  // A late tick draws nothing and leaves the clock alone.
  const double before = access->SimTime();
  access->TimerTick();
  EXPECT_DOUBLE_EQ(access->SimTime(), before);
}

}  // namespace
