// The main dialog as built: identifiers and names, defaults, texts, layout,
// the play buttons with their pictures, the duration switch and About.
#include <initializer_list>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include <wx/button.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "dialog_fixture.h"

namespace {

using D = BarywalkDialog;

template <typename T>
T* Find(wxWindow* dialog, const char* name) {
  return dynamic_cast<T*>(wxWindow::FindWindowByName(name, dialog));
}

// Each control's window name is its identifier's text, except the play
// buttons (the push button's own windows keep the toolkit's panel name)
// and the timer, which is no window.
TEST_F(DialogTest, IdentifiersInCreationOrderNameTheirControls) {
#define ID(name) std::make_pair(D::name, #name)
  const std::pair<long, const char*> ids[] = {
      ID(ID_STATICTEXT1), ID(ID_STATICTEXT2), ID(ID_BUTTON4),     ID(ID_BUTTON1),
      ID(ID_STATICLINE1), ID(ID_BUTTON2),     ID(ID_STATICTEXT4), ID(ID_STATICTEXT5),
      ID(ID_DATEPICKERCTRL1), ID(ID_STATICTEXT6), ID(ID_DATEPICKERCTRL2), ID(ID_STATICTEXT7),
      ID(ID_SPINCTRL2),   ID(ID_CHECKBOX1),   ID(ID_CHECKBOX10),  ID(ID_CHECKBOX14),
      ID(ID_CHECKBOX12),  ID(ID_CHECKBOX6),   ID(ID_CHECKBOX7),   ID(ID_CHECKBOX8),
      ID(ID_CHECKBOX9),   ID(ID_CHECKBOX2),   ID(ID_CHECKBOX4),   ID(ID_CHECKBOX3),
      ID(ID_CHECKBOX5),   ID(ID_CHECKBOX13),  ID(ID_BUTTON9),     ID(ID_CHECKBOX11),
      ID(ID_SPINCTRL4),   ID(ID_CHECKBOX19),  ID(ID_CHECKBOX18),  ID(ID_SPINCTRL5),
      ID(ID_CHECKBOX15),  ID(ID_SPINCTRL1),   ID(ID_CHECKBOX17),  ID(ID_CHECKBOX16),
      ID(ID_SPINCTRL3),   ID(ID_BUTTON3),     ID(ID_BUTTON5),     ID(ID_BUTTON6),
      ID(ID_BUTTON7),     ID(ID_BUTTON8),     ID(ID_PANEL2),      ID(ID_TIMER1)};
#undef ID
  ASSERT_EQ(std::size(ids), 44u);
  EXPECT_EQ(dialog->GetName(), "wxID_ANY");
  for (size_t i = 0; i < std::size(ids); ++i) {
    const auto [id, name] = ids[i];
    if (i > 0) {
      EXPECT_LT(ids[i - 1].first, id) << name << " allocated out of order";
    }
    if (id == D::ID_BUTTON5 || id == D::ID_BUTTON6 || id == D::ID_TIMER1) continue;
    wxWindow* window = wxWindow::FindWindowByName(name, dialog);
    ASSERT_NE(window, nullptr) << name;
    EXPECT_EQ(window->GetId(), id) << name;
  }
  EXPECT_EQ(access->PlayReverseButton()->GetId(), D::ID_BUTTON5);
  EXPECT_EQ(access->PlayForwardButton()->GetId(), D::ID_BUTTON6);
  EXPECT_EQ(access->Timer().GetId(), D::ID_TIMER1);
}

TEST_F(DialogTest, StartsWithTheDefaultSettings) {
  EXPECT_DOUBLE_EQ(access->Increment()->GetValue(), 0.11);
  EXPECT_DOUBLE_EQ(access->Duration()->GetValue(), 300);
  EXPECT_DOUBLE_EQ(access->ClipLimit()->GetValue(), 800);
  EXPECT_DOUBLE_EQ(access->FlareScale()->GetValue(), 1);
  EXPECT_DOUBLE_EQ(access->AccelFactor()->GetValue(), 1);
  EXPECT_EQ(access->StartDate()->GetValue(), wxDateTime(1, wxDateTime::Jan, 1980));
  EXPECT_EQ(access->EndDate()->GetValue(), wxDateTime(1, wxDateTime::Jan, 2040));

  // Year, Month, Day, Sun; Mercury ... Pluto; Flares ... Acceleration.
  const std::string checked = "1111" "001011110" "101100";
  std::vector<wxCheckBox*> boxes = {access->ShowYear(), access->ShowMonth(), access->ShowDay(),
                                    access->ShowSun()};
  for (int i = 0; i < barywalk::kPlanetCount; ++i) boxes.push_back(access->PlanetBox(i));
  boxes.insert(boxes.end(), {access->ShowFlares(), access->LogScale(), access->ClipArea(),
                             access->UseDuration(), access->ShowOrbit(), access->ShowAcceleration()});
  ASSERT_EQ(boxes.size(), checked.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_EQ(boxes[i]->GetValue(), checked[i] == '1') << boxes[i]->GetLabel();
  }
  for (wxWindow* window : std::initializer_list<wxWindow*>{
           access->ClipArea(), access->ClipLimit(), access->LogScale(), access->UseDuration(),
           access->Duration()}) {
    EXPECT_TRUE(window->IsEnabled()) << window->GetName();
  }

  // Stopped at the start date, the trail empty, the timer running.
  EXPECT_EQ(repeatingTimerMs, 30);
  EXPECT_FALSE(access->Playing());
  EXPECT_FALSE(access->Paused());
  EXPECT_DOUBLE_EQ(access->SimTime(), access->StartTime());
  EXPECT_TRUE(access->SunPath().Points().empty());
}

TEST_F(DialogTest, TextsTooltipsAndFonts) {
  auto* title = Find<wxStaticText>(dialog, "ID_STATICTEXT1");
  auto* caption = Find<wxStaticText>(dialog, "ID_STATICTEXT4");
  auto* rewind = Find<wxButton>(dialog, "ID_BUTTON3");
  ASSERT_TRUE(title && caption && rewind);
  EXPECT_EQ(title->GetLabel(), "Barywalk:");
  EXPECT_EQ(title->GetFont().GetPointSize(), 18);
  EXPECT_EQ(title->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
  EXPECT_EQ(caption->GetFont().GetPointSize(), 11);
  EXPECT_EQ(caption->GetFont().GetWeight(), wxFONTWEIGHT_NORMAL);
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
  EXPECT_GE(PanelSide(), kSmallestPanelSide);

  auto* dump = Find<wxButton>(dialog, "ID_BUTTON4");
  ASSERT_NE(dump, nullptr);
  EXPECT_FALSE(dump->IsShown());
  // The hidden button takes no room: About sits right of the subtitle.
  const wxRect subtitle = Find<wxWindow>(dialog, "ID_STATICTEXT2")->GetRect();
  const wxRect about = Find<wxWindow>(dialog, "ID_BUTTON1")->GetRect();
  EXPECT_LT(about.x - subtitle.GetRight(), dump->GetSize().x);
}

// The layout follows the fonts the machine has: whatever they are, every
// shown control lies inside the dialog, has at least the size its content
// needs (no text or picture cut off) and overlaps no other control, and a
// group box holds each control either whole or not at all.
TEST_F(DialogTest, NoControlIsCutOffOrOverlapsAnother) {
  const wxRect client(dialog->GetClientSize());
  std::vector<wxWindow*> controls, boxes;
  for (wxWindow* child : dialog->GetChildren()) {
    if (!child->IsShown()) continue;
    (wxDynamicCast(child, wxStaticBox) ? boxes : controls).push_back(child);
  }
  ASSERT_GT(controls.size(), 40u);
  auto name = [](wxWindow* w) { return std::string(w->GetName().utf8_str()); };
  for (wxWindow* window : controls) {
    SCOPED_TRACE(name(window));
    const wxRect rect = window->GetRect();
    EXPECT_TRUE(client.Contains(rect)) << "outside the dialog";
    // The play buttons show a picture and a blank label, whose line their
    // best size keeps; the play button test checks their pictures.
    if (!dynamic_cast<wxPushButton*>(window)) {
      const wxSize best = window->GetBestSize();
      EXPECT_GE(rect.width, best.x) << "cut off";
      EXPECT_GE(rect.height, best.y) << "cut off";
    }
    for (wxWindow* other : controls) {
      EXPECT_TRUE(other == window || !rect.Intersects(other->GetRect())) << "covers " << name(other);
    }
    for (wxWindow* box : boxes) {
      const wxRect area = box->GetRect();
      EXPECT_TRUE(area.Contains(rect) || !area.Intersects(rect))
          << "across the edge of " << box->GetLabel();
    }
  }
  for (wxWindow* box : boxes) {
    SCOPED_TRACE(std::string(box->GetLabel().utf8_str()));
    const wxRect area = box->GetRect();
    EXPECT_TRUE(client.Contains(area)) << "outside the dialog";
    EXPECT_GE(area.width, box->GetBestSize().x) << "label cut off";
    for (wxWindow* other : boxes) {
      const wxRect rect = other->GetRect();
      EXPECT_TRUE(other == box || area.Contains(rect) || rect.Contains(area) || !area.Intersects(rect))
          << "crosses " << other->GetLabel();
    }
  }
}

// The "Sim Player" box holds its five buttons whole: each stands below the
// box's label and above its bottom frame line, and that line, as drawn on
// the screen, runs unbroken under them. (GTK draws the line on the box's
// last pixel row and counts no frame in the borders it gives the sizer, so
// the line is read from the screen.)
TEST_F(DialogTest, PlayerBoxHoldsItsButtonsAboveItsFrameLine) {
  wxStaticBox* box = nullptr;
  for (wxWindow* child : dialog->GetChildren()) {
    auto* candidate = wxDynamicCast(child, wxStaticBox);
    if (candidate && candidate->GetLabel() == "Sim Player") box = candidate;
  }
  ASSERT_NE(box, nullptr);
  const wxRect outer = box->GetRect();
  wxImage shown;
  ASSERT_TRUE(guitest::PumpUntil([&] {
    shown = guitest::GrabWindow(dialog);
    return shown.IsOk() && shown.GetHeight() > outer.GetBottom();
  }));
  // The bottom line: the lowest row of the box whose pixel at the box's
  // right end, where no button stands, differs from the dialog's ground.
  const wxColour ground = guitest::PixelAt(shown, outer.x + outer.width / 2, outer.y - 2);
  const int probeX = outer.GetRight() - 2;
  int lineY = outer.GetBottom();
  while (lineY > outer.y && guitest::PixelAt(shown, probeX, lineY) == ground) --lineY;
  ASSERT_GT(lineY, outer.y + outer.height / 2) << "no bottom line found";

  int labelBorder = 0, frameBorder = 0;
  box->GetBordersForSizer(&labelBorder, &frameBorder);
  for (long id : {D::ID_BUTTON3, D::ID_BUTTON5, D::ID_BUTTON6, D::ID_BUTTON7, D::ID_BUTTON8}) {
    const wxRect button = dialog->FindWindow(id)->GetRect();
    SCOPED_TRACE(dialog->FindWindow(id)->GetName());
    EXPECT_GE(button.y, outer.y + labelBorder);
    EXPECT_LT(button.GetBottom(), lineY) << "the bottom line is at y " << lineY;
  }
  const wxColour line = guitest::PixelAt(shown, probeX, lineY);
  int covered = 0;
  for (int x = outer.x + 2; x < probeX; ++x) covered += guitest::PixelAt(shown, x, lineY) != line;
  EXPECT_EQ(covered, 0) << "pixels of the bottom line (y " << lineY << ") covered";
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

// The dialog makes the play buttons sticky and blank and gives them their
// pictures (the buttons' own layout is tested with the controls): a
// triangle, blue when released and orange when pressed (then drawn one
// pixel down and right), its tip on the side it points to, on a
// transparent ground that shows the button's face.
TEST_F(DialogTest, PlayButtonsAreStickyAndBlankWithTheirPictures) {
  for (wxPushButton* button : {access->PlayReverseButton(), access->PlayForwardButton()}) {
    const bool pointsRight = button == access->PlayForwardButton();
    SCOPED_TRACE(pointsRight ? "forward" : "reverse");
    EXPECT_EQ(button->GetLabel(), " ");
    EXPECT_TRUE(button->IsSticky());
    EXPECT_FALSE(button->GetValue());
    EXPECT_EQ(button->GetSize().x, 32);
    EXPECT_GE(button->GetSize().y, 32);
    for (int shift : {0, 1}) {
      button->SetPressed(shift == 1);
      const wxImage image = button->RenderToImage();
      const wxColour face = guitest::PixelAt(image, 16, 40);  // below the picture
      auto ground = [&](int x, int y) { return guitest::PixelAt(image, x + shift, y + shift) == face; };
      EXPECT_TRUE(ground(1, 1) && ground(29, 29));
      const wxColour body = guitest::PixelAt(image, 16 + shift, 15 + shift);
      EXPECT_TRUE(shift ? body.Red() > 200 && body.Blue() < 100 : body.Blue() > 180 && body.Red() < 100)
          << body.GetAsString();
      EXPECT_EQ(ground(25, 15), !pointsRight);
      EXPECT_EQ(ground(6, 15), pointsRight);
    }
    button->SetPressed(false);
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
  EXPECT_FALSE(shortForm.empty());
  EXPECT_EQ(BarywalkDialog::BuildInfo(true), shortForm + "-Linux-Unicode build");
}

}  // namespace
