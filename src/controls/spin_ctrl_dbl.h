// A spin control for real numbers: a text field with a pair of arrow
// buttons beside it. The program reads the value directly with GetValue().
#pragma once

#include <wx/control.h>
#include <wx/spinctrl.h>  // wxEVT_COMMAND_SPINCTRL_UPDATED, the event this control sends
#include <wx/textctrl.h>

class wxSpinButton;
class wxSpinEvent;
class wxSpinCtrlDbl;

extern const char wxSpinCtrlDblNameStr[];

// The text field of a wxSpinCtrlDbl. It hands its keys and its focus loss to
// the owning control. Owner and field forget each other when either goes.
class wxSpinCtrlDblTextCtrl : public wxTextCtrl {
 public:
  wxSpinCtrlDblTextCtrl(wxSpinCtrlDbl* owner, wxWindowID id, const wxString& value,
                        const wxPoint& pos, const wxSize& size, long style,
                        const wxValidator& validator,
                        const wxString& name = wxTextCtrlNameStr);
  ~wxSpinCtrlDblTextCtrl() override;

 private:
  friend class wxSpinCtrlDbl;

  void OnKeyDown(wxKeyEvent& event);
  void OnChar(wxKeyEvent& event);
  void OnKillFocus(wxFocusEvent& event);

  wxSpinCtrlDbl* m_spinCtrl;  // the owner; null once it has gone

  wxDECLARE_EVENT_TABLE();
};

class wxSpinCtrlDbl : public wxControl {
 public:
  // printf conversion used for the displayed value (see SetDigits).
  enum FormatKind { FormatFixed = 0, FormatExponential = 1, FormatGeneral = 2 };

  // Creates nothing; call Create() afterwards.
  wxSpinCtrlDbl();
  wxSpinCtrlDbl(wxWindow* parent, wxWindowID id, const wxString& value = wxEmptyString,
                const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
                long style = 0, double min = 0.0, double max = 100.0, double initial = 0.0,
                double increment = 1.0, int digits = -1,
                const wxString& name = wxSpinCtrlDblNameStr);
  // Integer bounds and initial value, increment 1 and automatic digits.
  wxSpinCtrlDbl(wxWindow* parent, wxWindowID id, const wxString& value, const wxPoint& pos,
                const wxSize& size, long style, int min, int max, int initial,
                const wxString& name = wxSpinCtrlDblNameStr);
  ~wxSpinCtrlDbl() override;

  bool Create(wxWindow* parent, wxWindowID id, const wxString& value = wxEmptyString,
              const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize,
              long style = 0, double min = 0.0, double max = 100.0, double initial = 0.0,
              double increment = 1.0, int digits = -1,
              const wxString& name = wxSpinCtrlDblNameStr);

  // Puts `text` into the field (when it differs), reads the value from it and
  // sends the update event.
  virtual void SetText(const wxString& text);
  // Shows `value` with the display format and keeps the value the text
  // shows. Values out of range are ignored. Sends no event.
  virtual void SetValue(double value);
  // SetValue of the number in `text`; a text that is no number is shown as
  // it is when `force` is set.
  virtual void SetValueFromString(const wxString& text, bool force);
  // Back to the value the control was created with.
  virtual void ResetToDefault();
  // Cancels an edit in progress: back to the last value that was set or
  // confirmed (Enter, focus loss, a step), as the field showed it.
  void RestoreConfirmedValue();
  // A range is in force when max >= min; otherwise every value is accepted.
  virtual bool HasRange() const;
  virtual bool IsInRange(double value) const;
  // Takes the value from the field's text. With `forceValid` the value is
  // clamped into the range and a text that is no number is replaced by the
  // current value.
  virtual void SyncFromText(bool sendEvent, bool forceValid);

  void SetRange(double min, double max);
  void SetIncrement(double increment);
  // digits >= 0 fixes the number of digits; -1 is automatic (%lg for the
  // general kind, the C default of six for the others).
  void SetDigits(int digits, FormatKind kind = FormatGeneral);

  double GetValue() const { return m_value; }
  double GetMin() const { return m_min; }
  double GetMax() const { return m_max; }
  double GetIncrement() const { return m_increment; }
  int GetDigits() const { return m_digits; }
  const wxString& GetTextFormat() const { return m_textFormat; }
  wxTextCtrl* GetTextCtrl() const;
  wxSpinButton* GetSpinButton() const { return m_spinButton; }

  // Sends wxEVT_COMMAND_SPINCTRL_UPDATED with the current value and text.
  void SendUpdateEvent();

  bool SetForegroundColour(const wxColour& colour) override;
  bool SetBackgroundColour(const wxColour& colour) override;
  bool SetFont(const wxFont& font) override;

 protected:
  wxSize DoGetBestSize() const override;
  void DoSetSize(int x, int y, int width, int height, int sizeFlags = wxSIZE_AUTO) override;

  // Keys typed in the text field.
  void OnChar(wxKeyEvent& event);

 private:
  friend class wxSpinCtrlDblTextCtrl;

  void Init();
  void OnSpinUp(wxSpinEvent& event);
  void OnSpinDown(wxSpinEvent& event);
  void OnTextEnter(wxCommandEvent& event);
  void OnText(wxCommandEvent& event);
  void OnSetFocus(wxFocusEvent& event);
  void OnKillFocus(wxFocusEvent& event);

  void StepFromArrowButton(double step);
  void StepFromKey(double step);
  void NavigateFromTab(const wxKeyEvent& event);
  void PutText(const wxString& text);
  wxString FormatValue(double value) const;
  double ClampToRange(double value) const;
  void LayoutChildren(int width, int height);
  // Widens the control so that its field shows the longest text of the
  // range whole: the bounds and one step inside each bound, as formatted.
  void FitFieldToRange();

  wxSpinButton* m_spinButton;
  wxSpinCtrlDblTextCtrl* m_textCtrl;
  double m_min;
  double m_max;
  double m_value;
  double m_defaultValue;
  double m_confirmedValue;  // restored by Escape
  double m_increment;
  int m_digits;
  wxString m_textFormat;

  wxDECLARE_DYNAMIC_CLASS(wxSpinCtrlDbl);
  wxDECLARE_EVENT_TABLE();
};
