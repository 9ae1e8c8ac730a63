// A self-drawn image button. It paints everything itself: the face, one
// image per visual state, an optional line of text under the image and a
// one-pixel 3-D border while pressed or highlighted. In sticky mode a click
// leaves it down until the program releases it with SetPressed/SetValue.
//
// Images are wxIcon objects allocated with `new`; the button takes ownership
// of every icon handed to it (constructor and SetBitmaps) and deletes it when
// it is replaced or the button goes. Transparent pixels show the face.
#pragma once

#include <memory>

#include <wx/bitmap.h>
#include <wx/font.h>
#include <wx/icon.h>
#include <wx/validate.h>
#include <wx/window.h>

class wxDC;

class wxPushButton : public wxWindow {
 public:
  // Visual states (m_state).
  enum { StateNormal = 0, StatePressed = 1, StateHighlighted = 2, StateDisabled = 3 };

  // `style`, `validator` and `name` are accepted for the usual constructor
  // shape and not used. A size component of -1 means 32 pixels.
  wxPushButton(wxWindow* parent, wxWindowID id, const wxString& label = wxEmptyString,
               const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
               long style = 0, const wxValidator& validator = wxDefaultValidator,
               const wxString& name = "wxPushButton", wxIcon* bitmapLabel = nullptr,
               wxIcon* bitmapSelected = nullptr, wxIcon* bitmapFocus = nullptr,
               wxIcon* bitmapDisabled = nullptr);
  ~wxPushButton() override;

  // Replaces all four images (taking ownership, any may be null). The normal
  // image's size becomes the face size; then the label is laid out again.
  virtual void SetBitmaps(wxIcon* bitmapLabel, wxIcon* bitmapSelected = nullptr,
                          wxIcon* bitmapFocus = nullptr, wxIcon* bitmapDisabled = nullptr);
  // Greys the label and ignores the mouse; returns true.
  virtual bool DisableButton();
  virtual void EnableButton();
  virtual bool GetValue() const;
  // Sets the value and notifies the parent when the value changes.
  virtual void SetValue(bool on);

 protected:
  virtual void OnMouse(wxMouseEvent& event);
  virtual void OnPaint(wxPaintEvent& event);
  virtual void OnEraseBackground(wxEraseEvent& event);
  virtual void OnSize(wxSizeEvent& event);

 public:
  // Shows the button down or up without notifying anyone (used by the player).
  virtual void SetPressed(bool on);

  // Until the first paint this also lays the button out: the label adds its
  // font's point size + 2 to the height and may widen the face.
  void SetLabel(const wxString& label) override;
  wxString GetLabel() const override;
  // Enable(false) is DisableButton(); the window itself stays enabled.
  bool Enable(bool enable = true) override;

  void SetSticky(bool on);
  bool IsSticky() const { return m_sticky; }
  int GetState() const { return m_state; }

  // The off-screen picture of the button as last rendered.
  const wxBitmap& GetBuffer() const { return m_buffer; }
  // Renders the current state into the buffer and returns it as an image.
  wxImage RenderToImage();

 protected:
  wxSize DoGetBestSize() const override;

 private:
  enum BorderKind { BorderSunken, BorderRaised };

  void LayOut();
  void Render();
  void Redraw();
  void DrawBorder(wxDC& dc, BorderKind kind) const;
  void DrawLabel(wxDC& dc, int shift) const;
  const wxIcon* ImageForState() const;
  bool IsInside(const wxPoint& point) const;
  void Notify(wxObject* origin);

  std::unique_ptr<wxIcon> m_bitmapLabel;
  std::unique_ptr<wxIcon> m_bitmapSelected;
  std::unique_ptr<wxIcon> m_bitmapFocus;  // kept for completeness, never drawn
  std::unique_ptr<wxIcon> m_bitmapDisabled;
  wxBitmap m_buffer;
  wxString m_label;
  wxFont m_font;
  int m_bitmapX;
  int m_bitmapY;
  int m_value;
  int m_state;
  bool m_drawn;
  bool m_enabled;
  bool m_sticky;
  int m_width;
  int m_height;

  wxDECLARE_EVENT_TABLE();
};
