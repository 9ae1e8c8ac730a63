#include "controls/push_button.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/settings.h>

namespace {

// Face size when the caller leaves it to the button.
const int kDefaultFaceSize = 32;

const wxColour kLightEdge(255, 255, 255);
const wxColour kDarkEdge(128, 128, 128);

// A horizontal or vertical line, both end points included. Drawn as a filled
// one-pixel rectangle: the cairo back end blends the ends of stroked lines.
void DrawEdge(wxDC& dc, const wxColour& colour, int x1, int y1, int x2, int y2) {
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(colour));
  dc.DrawRectangle(std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1,
                   std::abs(y2 - y1) + 1);
}

bool Usable(const std::unique_ptr<wxIcon>& icon) { return icon && icon->IsOk(); }

}  // namespace

wxBEGIN_EVENT_TABLE(wxPushButton, wxWindow)
  EVT_MOUSE_EVENTS(wxPushButton::OnMouse)
  EVT_PAINT(wxPushButton::OnPaint)
  EVT_SIZE(wxPushButton::OnSize)
  EVT_ERASE_BACKGROUND(wxPushButton::OnEraseBackground)
wxEND_EVENT_TABLE()

wxPushButton::wxPushButton(wxWindow* parent, wxWindowID id, const wxString& label,
                           const wxPoint& pos, const wxSize& size, long /*style*/,
                           const wxValidator& /*validator*/, const wxString& /*name*/,
                           wxIcon* bitmapLabel, wxIcon* bitmapSelected, wxIcon* bitmapFocus,
                           wxIcon* bitmapDisabled)
    : m_label(label),
      m_font(10, wxFONTFAMILY_DEFAULT, wxFONTSTYLE_NORMAL, wxFONTWEIGHT_BOLD, false,
             wxEmptyString, wxFONTENCODING_DEFAULT),
      m_bitmapX(0),
      m_bitmapY(0),
      m_value(0),
      m_state(StateNormal),
      m_drawn(false),
      m_enabled(true),
      m_sticky(false),
      m_width(size.x < 0 ? kDefaultFaceSize : size.x),
      m_height(size.y < 0 ? kDefaultFaceSize : size.y) {
  // Every pixel comes from the buffer, so the toolkit need not erase first.
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  wxWindow::Create(parent, id, pos, size, 0, wxPanelNameStr);
  SetBitmaps(bitmapLabel, bitmapSelected, bitmapFocus, bitmapDisabled);
}

wxPushButton::~wxPushButton() = default;

void wxPushButton::SetBitmaps(wxIcon* bitmapLabel, wxIcon* bitmapSelected, wxIcon* bitmapFocus,
                              wxIcon* bitmapDisabled) {
  wxIcon* const given[] = {bitmapLabel, bitmapSelected, bitmapFocus, bitmapDisabled};
  std::unique_ptr<wxIcon>* const slots[] = {&m_bitmapLabel, &m_bitmapSelected, &m_bitmapFocus,
                                            &m_bitmapDisabled};
  // An icon we already own may come back; it must survive the exchange.
  for (auto* slot : slots) {
    if (*slot && std::find(std::begin(given), std::end(given), slot->get()) != std::end(given))
      slot->release();
  }
  // The same icon handed over for two states is owned once; the later state
  // gets its own (shared-data) copy.
  for (size_t i = 0; i < std::size(given); ++i) {
    const bool repeated = given[i] && std::find(given, given + i, given[i]) != given + i;
    slots[i]->reset(repeated ? new wxIcon(*given[i]) : given[i]);
  }
  if (Usable(m_bitmapLabel)) {
    m_width = m_bitmapLabel->GetWidth();
    m_height = m_bitmapLabel->GetHeight();
  }
  SetLabel(m_label);
}

bool wxPushButton::DisableButton() {
  m_enabled = false;
  m_state = StateDisabled;
  Redraw();
  return true;
}

void wxPushButton::EnableButton() {
  if (m_enabled) return;
  m_enabled = true;
  m_state = m_value == 1 ? StatePressed : StateNormal;
  Redraw();
}

bool wxPushButton::GetValue() const { return m_value == 1; }

void wxPushButton::SetValue(bool on) {
  const int value = on ? 1 : 0;
  if (m_value != value) {
    m_value = value;
    Notify(this);
  }
  if (m_enabled && m_state != value) {
    m_state = value;
    Redraw();
  }
}

void wxPushButton::SetPressed(bool on) {
  m_value = on ? 1 : 0;
  if (m_enabled && m_state != m_value) {
    m_state = m_value;
    Redraw();
  }
}

void wxPushButton::SetSticky(bool on) { m_sticky = on; }

void wxPushButton::SetLabel(const wxString& label) {
  m_bitmapX = 0;
  m_bitmapY = 0;
  m_label = label;
  if (!m_drawn) LayOut();
  Redraw();
}

wxString wxPushButton::GetLabel() const { return m_label; }

bool wxPushButton::Enable(bool enable) {
  if (!enable) return DisableButton();
  EnableButton();
  return true;
}

wxImage wxPushButton::RenderToImage() {
  Render();
  return m_buffer.ConvertToImage();
}

wxSize wxPushButton::DoGetBestSize() const { return wxSize(m_width, m_height); }

// Face size, image position and window size from the image and the label.
// Each call with a label adds a text line to the current height; SetBitmaps
// starts again from the image's height.
void wxPushButton::LayOut() {
  int textWidth = 0;
  int textHeight = 0;
  GetTextExtent(m_label, &textWidth, &textHeight, nullptr, nullptr, &m_font);
  if (m_width < textWidth) m_width = textWidth + 8;

  const int imageWidth = Usable(m_bitmapLabel) ? m_bitmapLabel->GetWidth() : 0;
  m_bitmapX = imageWidth > m_width ? 0 : (m_width - imageWidth) >> 1;

  if (!m_label.empty()) m_height = m_font.GetPointSize() + m_height + 2;

  m_buffer = wxBitmap(std::max(m_width, 1), std::max(m_height, 1));
  SetSize(m_width, m_height);
  InvalidateBestSize();
}

// --- mouse ---------------------------------------------------------------

void wxPushButton::OnMouse(wxMouseEvent& event) {
  if (!m_enabled) return;

  if (event.ButtonDown()) {
    m_value = 1;
    m_state = StatePressed;
    Notify(GetParent());
  } else if (event.ButtonUp()) {
    if (!m_sticky) {
      m_value = 0;
      m_state = StateNormal;
      if (IsInside(event.GetPosition())) {
        m_state = StateHighlighted;
        Notify(GetParent());
      }
    }
  } else if (event.Entering()) {
    if (m_value == 0) m_state = StateHighlighted;
  } else if (event.Leaving()) {
    if (m_sticky) {
      m_state = m_value != 0 ? StatePressed : StateNormal;
    } else {
      if (m_value == 1) {
        m_value = 0;
        m_state = StateNormal;
        Notify(GetParent());
      } else {
        m_state = StateNormal;
      }
    }
  }
  Redraw();
}

bool wxPushButton::IsInside(const wxPoint& point) const {
  const wxSize size = GetSize();
  return point.x >= 0 && point.x < size.x && point.y >= 0 && point.y < size.y;
}

// The parent handles the click directly, as if it came from one of its own
// buttons.
void wxPushButton::Notify(wxObject* origin) {
  wxWindow* parent = GetParent();
  if (!parent) return;
  wxCommandEvent event(wxEVT_COMMAND_BUTTON_CLICKED, GetId());
  event.SetEventObject(origin);
  event.SetInt(m_value);
  parent->GetEventHandler()->ProcessEvent(event);
}

// --- drawing ---------------------------------------------------------------

void wxPushButton::OnPaint(wxPaintEvent&) {
  wxPaintDC dc(this);
  if (!m_drawn) {
    Render();
    m_drawn = true;
  }
  dc.DrawBitmap(m_buffer, 0, 0, false);
}

void wxPushButton::OnEraseBackground(wxEraseEvent&) { Redraw(); }

void wxPushButton::OnSize(wxSizeEvent& event) {
  Redraw();
  event.Skip();
}

// From the first paint on, every change is shown at once.
void wxPushButton::Redraw() {
  if (!m_drawn) return;
  Render();
  if (!IsShownOnScreen()) return;
  wxClientDC dc(this);
  dc.DrawBitmap(m_buffer, 0, 0, false);
  Update();
}

void wxPushButton::Render() {
  wxMemoryDC dc(m_buffer);
  dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  dc.Clear();
  dc.SetFont(m_font);

  int shift = 0;
  if (m_state == StatePressed) {
    DrawBorder(dc, BorderSunken);
    shift = 1;
  } else if (m_state == StateHighlighted) {
    DrawBorder(dc, BorderRaised);
  }
  if (const wxIcon* image = ImageForState())
    dc.DrawIcon(*image, m_bitmapX + shift, m_bitmapY + shift);
  DrawLabel(dc, shift);
  dc.SelectObject(wxNullBitmap);
}

const wxIcon* wxPushButton::ImageForState() const {
  const wxIcon* image = m_bitmapLabel.get();
  switch (m_state) {
    case StatePressed:
      if (m_bitmapSelected) image = m_bitmapSelected.get();
      break;
    case StateHighlighted:
      if (m_value == 1 && m_bitmapSelected) image = m_bitmapSelected.get();
      break;
    case StateDisabled:
      image = m_bitmapDisabled.get();
      break;
    default:
      break;
  }
  return image && image->IsOk() ? image : nullptr;
}

// Fills the face with the parent's background and draws a one-pixel frame:
// dark top/left for sunken, light top/left for raised.
void wxPushButton::DrawBorder(wxDC& dc, BorderKind kind) const {
  const int w = m_width;
  const int h = m_height;
  const wxWindow* parent = GetParent();
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(parent ? parent->GetBackgroundColour()
                             : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE)));
  dc.DrawRectangle(0, 0, w, h);

  if (kind == BorderSunken) {
    DrawEdge(dc, kDarkEdge, 1, 0, w - 2, 0);
    DrawEdge(dc, kDarkEdge, 0, 1, 0, h - 2);
    DrawEdge(dc, kLightEdge, 1, h - 1, w - 2, h - 1);
    DrawEdge(dc, kLightEdge, w - 1, 1, w - 1, h - 2);
  } else {
    DrawEdge(dc, kLightEdge, 1, 0, w - 2, 0);
    DrawEdge(dc, kLightEdge, 0, 1, 0, h - 2);
    DrawEdge(dc, kDarkEdge, 0, h - 1, w - 1, h - 1);
    DrawEdge(dc, kDarkEdge, w - 1, 0, w - 1, h - 1);
  }
  dc.SetBrush(wxNullBrush);
  dc.SetPen(wxNullPen);
}

// The label sits centred at the bottom of the face; a disabled button shows
// it engraved (white, with grey one pixel up and left).
void wxPushButton::DrawLabel(wxDC& dc, int shift) const {
  if (m_label.empty()) return;
  wxCoord textWidth = 0;
  wxCoord textHeight = 0;
  dc.GetTextExtent(m_label, &textWidth, &textHeight);
  textWidth = std::min(textWidth, m_width);
  textHeight = std::min(textHeight, m_height);
  const int x = ((m_width - textWidth) >> 1) + 1 + shift;
  const int y = m_height - textHeight + shift;
  if (m_enabled) {
    dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
    dc.DrawText(m_label, x, y);
  } else {
    dc.SetTextForeground(kLightEdge);
    dc.DrawText(m_label, x, y);
    dc.SetTextForeground(kDarkEdge);
    dc.DrawText(m_label, x - 1, y - 1);
  }
}
