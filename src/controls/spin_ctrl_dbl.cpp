#include "controls/spin_ctrl_dbl.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <wx/spinbutt.h>
#include <wx/spinctrl.h>
#include <wx/valtext.h>

const char wxSpinCtrlDblNameStr[] = "wxSpinCtrlDbl";

namespace {

// Characters a number may be typed with; everything else is refused.
const char kNumberCharacters[] = " 0123456789+-.eE";

// Pixels kept free for the text cursor behind the last character.
constexpr int kCursorWidth = 2;

// Size of the arrow buttons assumed while there are none.
const wxSize kFallbackArrowSize(15, 22);

wxTextValidator NumberCharacterValidator() {
  wxArrayString includes;
  for (const char* c = kNumberCharacters; *c != '\0'; ++c) includes.Add(wxString(*c));
  wxTextValidator validator(wxFILTER_INCLUDE_CHAR_LIST);
  validator.SetIncludes(includes);
  return validator;
}

// The event's integer is the value rounded half up; values beyond int are
// pinned to its limits rather than converted out of range.
int EventInteger(double value) {
  const double rounded = value + 0.5;
  if (std::isnan(rounded)) return 0;
  if (rounded >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (rounded <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(rounded);
}

// Stands for a character that a key types but that has no code point of
// its own here: never one a number is written with.
constexpr wxUint32 kSomeOtherCharacter = 0xFFFD;

// The character a key press types, 0 when it types none (arrows, function
// keys, modifiers, dead keys). At the key press the toolkit's key code
// names the key, not the character: Shift+3 comes as '3' although it types
// '#', Shift+= as '=' although it types '+'. On GTK the raw key code is the
// X keysym that the keyboard's layout and the modifiers held make of the
// press, that is the character itself.
wxUint32 TypedCharacter(const wxKeyEvent& event) {
#ifdef __WXGTK__
  const wxUint32 keysym = event.GetRawKeyCode();
  if ((keysym >= 0x20 && keysym <= 0x7E) || (keysym >= 0xA0 && keysym <= 0xFF))
    return keysym;  // Latin-1 keysyms are their own code points
  if (keysym >= 0x01000100 && keysym <= 0x0110FFFF) return keysym - 0x01000000;  // Unicode
  if (keysym == 0xFF80) return ' ';                                            // keypad space
  if (keysym >= 0xFFAA && keysym <= 0xFFB9) return "*+,-./0123456789"[keysym - 0xFFAA];
  if (keysym == 0xFFBD) return '=';                                            // keypad =
  // The other keysyms below the function keys are the characters of other
  // scripts (Greek, Cyrillic, ...); from 0xFE00 on they type nothing.
  if (keysym > 0xFF && keysym < 0xFE00) return kSomeOtherCharacter;
  return 0;
#else
  const wxChar typed = event.GetUnicodeKey();
  return typed == WXK_NONE ? 0 : typed;
#endif
}

// A printable character typed without Control or Alt (those make
// shortcuts such as copy and paste) that no number is written with.
bool IsRefusedCharacter(const wxKeyEvent& event) {
  if (event.ControlDown() || event.AltDown() || event.MetaDown()) return false;
  const wxUint32 typed = TypedCharacter(event);
  if (typed < WXK_SPACE || typed == WXK_DELETE) return false;
  for (const char* c = kNumberCharacters; *c != '\0'; ++c) {
    if (typed == static_cast<wxUint32>(*c)) return false;
  }
  return true;
}

// Step factor from the modifier keys: Shift doubles, Control multiplies by
// ten, Alt by a hundred.
double KeyMultiplier(const wxKeyEvent& event) {
  double multiplier = event.ShiftDown() ? 2.0 : 1.0;
  if (event.ControlDown()) multiplier *= 10.0;
  if (event.AltDown()) multiplier *= 100.0;
  return multiplier;
}

}  // namespace

// ---------------------------------------------------------------------------
// wxSpinCtrlDblTextCtrl

wxBEGIN_EVENT_TABLE(wxSpinCtrlDblTextCtrl, wxTextCtrl)
  EVT_KEY_DOWN(wxSpinCtrlDblTextCtrl::OnKeyDown)
  EVT_CHAR(wxSpinCtrlDblTextCtrl::OnChar)
  EVT_KILL_FOCUS(wxSpinCtrlDblTextCtrl::OnKillFocus)
wxEND_EVENT_TABLE()

wxSpinCtrlDblTextCtrl::wxSpinCtrlDblTextCtrl(wxSpinCtrlDbl* owner, wxWindowID id,
                                             const wxString& value, const wxPoint& pos,
                                             const wxSize& size, long style,
                                             const wxValidator& validator, const wxString& name)
    : wxTextCtrl(owner, id, value, pos, size, style, validator, name), m_spinCtrl(owner) {}

wxSpinCtrlDblTextCtrl::~wxSpinCtrlDblTextCtrl() {
  if (m_spinCtrl) m_spinCtrl->m_textCtrl = nullptr;
  m_spinCtrl = nullptr;
}

// A character is refused at the key press already, judged by the character
// the key types. Refused only as typed text (the character event), it would
// have replaced the selection first: GTK deletes the selected text before
// it offers the new character for insertion.
void wxSpinCtrlDblTextCtrl::OnKeyDown(wxKeyEvent& event) {
  if (m_spinCtrl && IsRefusedCharacter(event)) return;
  event.Skip();
}

void wxSpinCtrlDblTextCtrl::OnChar(wxKeyEvent& event) {
  if (m_spinCtrl)
    m_spinCtrl->OnChar(event);
  else
    event.Skip();
}

void wxSpinCtrlDblTextCtrl::OnKillFocus(wxFocusEvent& event) {
  if (m_spinCtrl) m_spinCtrl->SyncFromText(true, true);
  event.Skip();
}

// ---------------------------------------------------------------------------
// wxSpinCtrlDbl

wxIMPLEMENT_DYNAMIC_CLASS(wxSpinCtrlDbl, wxControl);

wxBEGIN_EVENT_TABLE(wxSpinCtrlDbl, wxControl)
  EVT_SPIN_UP(wxID_ANY, wxSpinCtrlDbl::OnSpinUp)
  EVT_SPIN_DOWN(wxID_ANY, wxSpinCtrlDbl::OnSpinDown)
  EVT_TEXT_ENTER(wxID_ANY, wxSpinCtrlDbl::OnTextEnter)
  EVT_TEXT(wxID_ANY, wxSpinCtrlDbl::OnText)
  EVT_SET_FOCUS(wxSpinCtrlDbl::OnSetFocus)
  EVT_KILL_FOCUS(wxSpinCtrlDbl::OnKillFocus)
wxEND_EVENT_TABLE()

wxSpinCtrlDbl::wxSpinCtrlDbl() { Init(); }

wxSpinCtrlDbl::wxSpinCtrlDbl(wxWindow* parent, wxWindowID id, const wxString& value,
                             const wxPoint& pos, const wxSize& size, long style, double min,
                             double max, double initial, double increment, int digits,
                             const wxString& name) {
  Init();
  Create(parent, id, value, pos, size, style, min, max, initial, increment, digits, name);
}

wxSpinCtrlDbl::wxSpinCtrlDbl(wxWindow* parent, wxWindowID id, const wxString& value,
                             const wxPoint& pos, const wxSize& size, long style, int min,
                             int max, int initial, const wxString& name) {
  Init();
  Create(parent, id, value, pos, size, style, min, max, initial, 1.0, -1, name);
}

void wxSpinCtrlDbl::Init() {
  m_spinButton = nullptr;
  m_textCtrl = nullptr;
  m_min = 0.0;
  m_max = 100.0;
  m_value = 0.0;
  m_defaultValue = 0.0;
  m_confirmedValue = 0.0;
  m_increment = 1.0;
  m_digits = -1;
  m_textFormat.clear();
}

wxSpinCtrlDbl::~wxSpinCtrlDbl() {
  // The field must not call back into a half-destroyed owner.
  if (m_textCtrl) {
    m_textCtrl->m_spinCtrl = nullptr;
    delete m_textCtrl;
    m_textCtrl = nullptr;
  }
  delete m_spinButton;
  m_spinButton = nullptr;
}

bool wxSpinCtrlDbl::Create(wxWindow* parent, wxWindowID id, const wxString& value,
                           const wxPoint& pos, const wxSize& size, long style, double min,
                           double max, double initial, double increment, int digits,
                           const wxString& name) {
  if (!wxControl::Create(parent, id, pos, size, style | wxNO_BORDER, wxDefaultValidator, name))
    return false;
  wxControl::SetLabel(name);

  // Colours the parent was given are taken over. Copying the system's
  // colours as the control's own would pin them: the arrows and the field
  // would then look the same enabled and disabled.
  if (parent->UseBackgroundColour()) SetBackgroundColour(parent->GetBackgroundColour());
  if (parent->UseForegroundColour()) SetForegroundColour(parent->GetForegroundColour());

  const wxSize best = DoGetBestSize();
  const int width = size.x == -1 ? best.x : size.x;
  const int height = size.y == -1 ? best.y : size.y;

  m_spinButton = new wxSpinButton(this, id, wxPoint(0, 0), wxSize(-1, height),
                                  wxSP_VERTICAL | wxSP_ARROW_KEYS | wxSP_WRAP, "wxSpinButton");
  // The field is the one tab stop: neither the control's own window nor the
  // arrow pair (on GTK a hidden entry) takes the focus. Focus given to the
  // control itself goes on to the field.
  SetCanFocus(false);
  m_spinButton->SetCanFocus(false);
  const wxSize arrows = m_spinButton->GetSize();

  m_textCtrl = new wxSpinCtrlDblTextCtrl(this, id, value, wxPoint(0, 0),
                                         wxSize(std::max(width - arrows.x, 0), height),
                                         wxTE_NOHIDESEL | wxTE_PROCESS_ENTER,
                                         NumberCharacterValidator());

  DoSetSize(pos.x, pos.y, width, height, wxSIZE_AUTO);
  SetInitialSize(wxSize(width, height));

  m_min = min;
  m_max = max;
  m_value = m_defaultValue = m_confirmedValue = initial;
  m_increment = increment;

  SetDigits(digits, FormatGeneral);

  PutText(value.empty() ? FormatValue(initial) : value);
  return true;
}

wxTextCtrl* wxSpinCtrlDbl::GetTextCtrl() const { return m_textCtrl; }

// --- value --------------------------------------------------------------

void wxSpinCtrlDbl::SetText(const wxString& text) {
  if (!m_textCtrl || text == m_textCtrl->GetValue()) return;
  PutText(text);
  text.ToDouble(&m_value);
  m_confirmedValue = m_value;
  SendUpdateEvent();
}

void wxSpinCtrlDbl::SetValue(double value) {
  if (!m_textCtrl || !IsInRange(value)) return;
  const wxString text = FormatValue(value);
  if (value != m_value || text != m_textCtrl->GetValue()) {
    PutText(text);
    // Keep exactly what the text shows, so reading back gives the same value.
    m_value = value;
    text.ToDouble(&m_value);
  }
  m_confirmedValue = m_value;
}

void wxSpinCtrlDbl::SetValueFromString(const wxString& text, bool force) {
  if (!m_textCtrl) return;
  double number = 0.0;
  if (text.ToDouble(&number))
    SetValue(number);
  else if (force)
    PutText(text);
}

void wxSpinCtrlDbl::ResetToDefault() { SetValue(m_defaultValue); }

void wxSpinCtrlDbl::RestoreConfirmedValue() {
  if (!m_textCtrl) return;
  // The text is put back even when typing left the value as it was.
  PutText(FormatValue(m_confirmedValue));
  m_value = m_confirmedValue;
}

bool wxSpinCtrlDbl::HasRange() const { return m_max >= m_min; }

bool wxSpinCtrlDbl::IsInRange(double value) const {
  return !HasRange() || (m_min <= value && value <= m_max);
}

void wxSpinCtrlDbl::SyncFromText(bool sendEvent, bool forceValid) {
  if (!m_textCtrl) return;
  double typed = 0.0;
  if (m_textCtrl->GetValue().ToDouble(&typed)) {
    const bool outside = !IsInRange(typed);
    if (outside && !forceValid) return;
    // A text beyond the range is replaced by the bound even when the value
    // is already there.
    const double value = ClampToRange(typed);
    if (value != m_value || outside) {
      SetValue(value);
      if (sendEvent) SendUpdateEvent();
    }
    m_confirmedValue = m_value;
  } else if (forceValid) {
    SetValue(ClampToRange(m_value));
  }
}

void wxSpinCtrlDbl::SetRange(double min, double max) {
  m_min = min;
  m_max = max;
  FitFieldToRange();
  if (!HasRange()) return;
  if (m_value > m_max)
    SetValue(m_max);
  else if (m_value < m_min)
    SetValue(m_min);
}

void wxSpinCtrlDbl::SetIncrement(double increment) {
  m_increment = increment;
  FitFieldToRange();
  SetValue(m_value);
}

void wxSpinCtrlDbl::SetDigits(int digits, FormatKind kind) {
  if (digits < -1) return;
  m_digits = digits;
  if (digits == -1) {
    switch (kind) {
      case FormatFixed: m_textFormat = "%lf"; break;
      case FormatExponential: m_textFormat = "%le"; break;
      default: m_textFormat = "%lg"; break;
    }
  } else {
    switch (kind) {
      case FormatFixed: m_textFormat = wxString::Format("%%.%dlf", digits); break;
      case FormatExponential: m_textFormat = wxString::Format("%%.%dle", digits); break;
      default: m_textFormat = wxString::Format("%%.%dlg", digits); break;
    }
  }
  FitFieldToRange();
  SetValue(m_value);
}

void wxSpinCtrlDbl::SendUpdateEvent() {
  if (!m_textCtrl) return;
  const long insertionPoint = m_textCtrl->GetInsertionPoint();
  const wxString text = m_textCtrl->GetValue();

  wxCommandEvent event(wxEVT_COMMAND_SPINCTRL_UPDATED, GetId());
  event.SetEventObject(this);
  event.SetInt(EventInteger(m_value));
  event.SetString(text);
  GetEventHandler()->ProcessEvent(event);

  // A handler may have touched the field; the user keeps his text and caret.
  if (!m_textCtrl) return;
  if (m_textCtrl->GetValue() != text) m_textCtrl->ChangeValue(text);
  m_textCtrl->SetInsertionPoint(insertionPoint);
}

void wxSpinCtrlDbl::PutText(const wxString& text) {
  if (m_textCtrl->GetValue() != text) m_textCtrl->ChangeValue(text);
  m_textCtrl->DiscardEdits();
}

wxString wxSpinCtrlDbl::FormatValue(double value) const {
  return wxString::Format(m_textFormat, value);
}

double wxSpinCtrlDbl::ClampToRange(double value) const {
  if (!HasRange()) return value;
  if (value > m_max) return m_max;
  if (value < m_min) return m_min;
  return value;
}

// --- events -------------------------------------------------------------

void wxSpinCtrlDbl::OnSpinUp(wxSpinEvent&) { StepFromArrowButton(m_increment); }

void wxSpinCtrlDbl::OnSpinDown(wxSpinEvent&) { StepFromArrowButton(-m_increment); }

// The arrow buttons stop at the bounds: a step that would leave the range
// does nothing at all.
void wxSpinCtrlDbl::StepFromArrowButton(double step) {
  if (!m_textCtrl) return;
  if (m_textCtrl->IsModified()) SyncFromText(false, true);
  const double next = m_value + step;
  if (!IsInRange(next)) return;
  m_value = next;
  SetValue(next);
  SendUpdateEvent();
  if (m_textCtrl) m_textCtrl->SetInsertionPointEnd();
}

void wxSpinCtrlDbl::OnTextEnter(wxCommandEvent& event) {
  SyncFromText(true, true);
  event.Skip();
}

void wxSpinCtrlDbl::OnText(wxCommandEvent& event) {
  // Only the user's typing counts; texts the control puts in are not marked.
  // The value follows the typing at once (an empty or unfinished text such
  // as "-" leaves it, "12e" gives 12) but never leaves the range, which the
  // program relies on; the text itself is corrected on Enter or focus loss.
  if (m_textCtrl && m_textCtrl->IsModified()) {
    double typed = m_value;
    m_textCtrl->GetValue().ToDouble(&typed);
    m_value = ClampToRange(typed);
    SendUpdateEvent();
  }
  event.Skip();
}

void wxSpinCtrlDbl::OnSetFocus(wxFocusEvent& event) {
  if (m_textCtrl) m_textCtrl->SetFocus();
  event.Skip();
}

void wxSpinCtrlDbl::OnKillFocus(wxFocusEvent& event) {
  SyncFromText(true, true);
  event.Skip();
}

void wxSpinCtrlDbl::OnChar(wxKeyEvent& event) {
  if (!m_textCtrl) {
    event.Skip();
    return;
  }
  const double multiplier = KeyMultiplier(event);
  switch (event.GetKeyCode()) {
    case WXK_TAB:
      NavigateFromTab(event);
      break;
    case WXK_ESCAPE:
      RestoreConfirmedValue();
      SendUpdateEvent();
      break;
    case WXK_SPACE:
      SetValue(m_value);
      break;
    case WXK_UP:
    case WXK_NUMPAD_UP:
      StepFromKey(m_increment * multiplier);
      break;
    case WXK_DOWN:
    case WXK_NUMPAD_DOWN:
      StepFromKey(-m_increment * multiplier);
      break;
    case WXK_PAGEUP:
    case WXK_NUMPAD_PAGEUP:
      StepFromKey(m_increment * 10.0 * multiplier);
      break;
    case WXK_PAGEDOWN:
    case WXK_NUMPAD_PAGEDOWN:
      StepFromKey(-m_increment * 10.0 * multiplier);
      break;
    default:
      event.Skip();  // typed into the field; the validator filters it
      break;
  }
}

// Unlike the arrow buttons, keys report even a step that the range refused.
void wxSpinCtrlDbl::StepFromKey(double step) {
  if (m_textCtrl->IsModified()) SyncFromText(false, true);
  SetValue(m_value + step);
  SendUpdateEvent();
}

// The parent is asked to move the focus on. Where it leaves that to the
// toolkit (GTK traverses natively and ignores the request), the toolkit's own
// traversal moves on from the field instead, so Tab never gets stuck here.
void wxSpinCtrlDbl::NavigateFromTab(const wxKeyEvent& event) {
  wxWindow* parent = GetParent();
  if (!parent) return;
  int flags = wxNavigationKeyEvent::FromTab;
  flags |= event.ShiftDown() ? wxNavigationKeyEvent::IsBackward : wxNavigationKeyEvent::IsForward;
  if (event.ControlDown()) flags |= wxNavigationKeyEvent::WinChange;

  wxNavigationKeyEvent navigation;
  navigation.SetFlags(flags);
  navigation.SetEventObject(this);
  navigation.SetCurrentFocus(this);
  if (!parent->GetEventHandler()->ProcessEvent(navigation)) Navigate(flags);
}

// --- appearance and layout ----------------------------------------------

bool wxSpinCtrlDbl::SetForegroundColour(const wxColour& colour) {
  if (!m_textCtrl) return wxControl::SetForegroundColour(colour);
  m_textCtrl->SetForegroundColour(colour);
  m_textCtrl->Refresh();
  return true;
}

bool wxSpinCtrlDbl::SetBackgroundColour(const wxColour& colour) {
  if (!m_textCtrl) return wxControl::SetBackgroundColour(colour);
  m_textCtrl->SetBackgroundColour(colour);
  m_textCtrl->Refresh();
  return true;
}

bool wxSpinCtrlDbl::SetFont(const wxFont& font) {
  if (!m_textCtrl) return false;
  return m_textCtrl->SetFont(font);
}

// All instances share the size of the toolkit's own integer spin control,
// measured once per process.
wxSize wxSpinCtrlDbl::DoGetBestSize() const {
  static wxSize s_bestSize(-999, -999);
  if (s_bestSize == wxSize(-999, -999)) {
    if (!GetHandle()) return wxSize(95, 22);  // not created yet: nothing to measure with
    auto* probe = new wxSpinCtrl(const_cast<wxSpinCtrlDbl*>(this), wxID_ANY, wxEmptyString,
                                 wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 0, 100, 0,
                                 "wxSpinCtrl");
    wxSize best = probe->GetBestSize();
    delete probe;
    if (best.x < 20) best.x = 95;
    if (best.y <= 9) best.y = 22;
    s_bestSize = best;
  }
  return s_bestSize;
}

void wxSpinCtrlDbl::DoSetSize(int x, int y, int width, int height, int sizeFlags) {
  // A missing component means "best size" when asked for, else "as it is"
  // (so that Move() keeps the size).
  const wxSize best = DoGetBestSize();
  const wxSize current = GetSize();
  if (width < 0)
    width = (sizeFlags & wxSIZE_AUTO_WIDTH) || current.x <= 0 ? best.x : current.x;
  if (height < 0)
    height = (sizeFlags & wxSIZE_AUTO_HEIGHT) || current.y <= 0 ? best.y : current.y;
  wxControl::DoSetSize(x, y, width, height, sizeFlags);
  LayoutChildren(width, height);
}

void wxSpinCtrlDbl::FitFieldToRange() {
  if (!m_textCtrl || !m_spinButton || !HasRange()) return;
  const double candidates[] = {m_min, m_max, m_min + m_increment, m_max - m_increment};
  int needed = 0;
  for (double value : candidates) {
    if (IsInRange(value))
      needed = std::max(needed, m_textCtrl->GetSizeFromText(FormatValue(value)).x);
  }
  // Room for the text cursor after the last character.
  needed += kCursorWidth;
  if (needed <= m_textCtrl->GetSize().x) return;
  const wxSize size(needed + m_spinButton->GetSize().x, GetSize().y);
  SetMinSize(size);
  SetSize(size);
  InvalidateBestSize();
}

// Text field on the left, arrow buttons at their natural width on the right.
void wxSpinCtrlDbl::LayoutChildren(int width, int height) {
  const wxSize arrows = m_spinButton ? m_spinButton->GetSize() : kFallbackArrowSize;
  if (m_textCtrl)
    m_textCtrl->SetSize(0, 0, std::max(width - arrows.x, 0), height, wxSIZE_AUTO);
  if (m_spinButton) m_spinButton->SetSize(width - arrows.x, 0, -1, height, wxSIZE_AUTO);
}
