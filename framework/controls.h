// Controls: TControl (every visual component), TWinControl (one with a
// window of its own) and TGraphicControl (painted by its parent).
//
// Every message of a control goes through its WindowProc, a replaceable
// message handler (a TWndMethod: an object and its member). A skinner puts
// its own handler in front with a TWindowProcHook and passes on what it does
// not handle; the hook puts the old handler back when it goes:
//
//   fw::TWindowProcHook hook(*control, fw::TWndMethod::Bind<&TSkinner::WndProc>(this));
//   ... in TSkinner::WndProc: hook.CallPrevious(m);
//
// Windowed controls route their window's messages (standard window classes
// are subclassed with a TSubclass) into WindowProc; the default WndProc ends
// in the window class's own procedure. Graphic controls receive WM_PAINT
// (wParam: a DC whose origin is the control's top-left) and mouse messages
// from their parent through Perform.
//
// Framework messages (CM_*, CN_*: CM_BASE to 0xBFFF) performed on a windowed
// control whose window exists go through the window (SendMessage), so a raw
// subclass of that window (a TSubclass installed after the control's own)
// sees them before WindowProc does; an exception thrown by WindowProc still
// reaches the caller of Perform. Before the window exists, while it is being
// destroyed and while the control is, they go straight to WindowProc. Other
// messages always go straight to WindowProc.
//
// Controls get CM_MOUSEENTER and CM_MOUSELEAVE when the mouse comes onto
// them and leaves them (graphic controls from their parent), and windowed
// controls CM_ENTER and CM_EXIT when they get and lose the focus within
// their form (OnEnter and OnExit are raised there). Bounds follow
// the window: a window moved or sized by the user or by the system updates
// Left, Top, Width and Height (WM_WINDOWPOSCHANGED), and aligned children
// are laid out again.
//
// Destruction: free a component with Free() (or let its owner free it). A
// control frees the components it owns (skinners, say) first, while the
// control and its window are still whole.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/graphics.h"
#include "framework/list_walk.h"
#include "framework/subclass.h"
#include "framework/window_proc_hook.h"
#include "framework/wnd_method.h"

namespace fw {

using TNotifyEvent = std::function<void(TObject* sender)>;
using TShiftState = uint32_t;
enum : uint32_t { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;

// Framework messages (control messages and reflected notifications).
inline constexpr UINT CM_BASE = 0xB000;
inline constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
inline constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
// The focus moved within a form (lParam: the control that has it now);
// broadcast to every control of the form.
inline constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
inline constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
inline constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
inline constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
inline constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
inline constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
inline constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
inline constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
inline constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
inline constexpr UINT CM_ENTER = CM_BASE + 26;
inline constexpr UINT CM_EXIT = CM_BASE + 27;
inline constexpr UINT CM_RELEASE = CM_BASE + 33;
inline constexpr UINT CM_RECREATEWND = CM_BASE + 51;
inline constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 54;
// The control's BiDiMode changed; its parent's changed (broadcast to the
// children, which follow it with ParentBiDiMode).
inline constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
inline constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
inline constexpr UINT CN_BASE = 0xBC00;
inline constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
inline constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
inline constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
inline constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
inline constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
inline constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
inline constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
inline constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
inline constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
inline constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
inline constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
inline constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
inline constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
inline constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Reading order and alignment of a text: right to left mirrors the
// alignment (left becomes right), NoAlign keeps it, ReadingOnly only reads.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

class TWinControl;
class TForm;

// The alignment a text shows with under `mode`: right to left (bdRightToLeft)
// swaps left and right.
TAlignment BiDiAlignment(TAlignment alignment, TBiDiMode mode);
// DrawText flags for a text aligned so under `mode`: DT_LEFT, DT_CENTER or
// DT_RIGHT (mirrored), with DT_RTLREADING for a right-to-left reading order.
UINT BiDiDrawTextFlags(TAlignment alignment, TBiDiMode mode);

// A control's colour and whether it follows its parent's, saved and put
// back together (a skinner that paints a control in its own colour).
struct TControlColour {
  TColor Color = 0;
  bool ParentColor = false;
};

class TControl : public TComponent {
  FW_CLASS_INFO(TControl)

 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  // The control's message handler; see TWindowProcHook for putting another
  // in front of it.
  TWndMethod WindowProc;
  // Sends a message to the control and returns its result: through the
  // window for framework messages (see above), else straight to WindowProc.
  LRESULT Perform(UINT msg, WPARAM wparam = 0, LPARAM lparam = 0);

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  void SetParentComponent(TComponent* parent) override;

  int32_t Left() const { return left_; }
  int32_t Top() const { return top_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  void SetLeft(int32_t v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int32_t v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int32_t v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int32_t v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
  virtual int32_t ClientWidth() const { return ClientRect().right; }
  virtual int32_t ClientHeight() const { return ClientRect().bottom; }
  virtual void SetClientWidth(int32_t v) { SetWidth(v); }
  virtual void SetClientHeight(int32_t v) { SetHeight(v); }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible and every parent visible (and windows shown).
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);

  TColor Color() const { return color_; }
  // Sets the colour; the control no longer follows its parent's.
  void SetColor(TColor color);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool v);
  TControlColour SaveColour() const { return TControlColour{color_, parent_color_}; }
  void RestoreColour(const TControlColour& saved);
  TFont* Font() { return &font_; }
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool v);

  // Reading order and alignment (see TBiDiMode). A windowed control reads
  // right to left with WS_EX_RTLREADING, has its vertical scroll bar on the
  // left with WS_EX_LEFTSCROLLBAR (bdRightToLeft, bdRightToLeftNoAlign; the
  // skin engine takes that style as a window's right-to-left sign) and its
  // generic alignment mirrored with WS_EX_RIGHT (bdRightToLeft). With
  // ParentBiDiMode (the default) a control follows its parent's.
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode v);
  bool ParentBiDiMode() const { return parent_bidi_mode_; }
  void SetParentBiDiMode(bool v);
  bool UseRightToLeftReading() const { return bidi_mode_ != bdLeftToRight; }
  bool UseRightToLeftAlignment() const { return bidi_mode_ == bdRightToLeft; }
  bool UseRightToLeftScrollBar() const {
    return bidi_mode_ == bdRightToLeft || bidi_mode_ == bdRightToLeftNoAlign;
  }
  // The extended styles BiDiMode gives a window.
  DWORD BiDiExStyle() const;

  std::wstring Caption() const { return GetTextValue(); }
  void SetCaption(const std::wstring& text) { SetTextValue(text); }
  std::wstring Text() const { return GetTextValue(); }
  void SetText(const std::wstring& text) { SetTextValue(text); }

  // Whether the mouse is on the control (between CM_MOUSEENTER and
  // CM_MOUSELEAVE).
  bool MouseInControl() const { return mouse_in_control_; }

  virtual void Invalidate();
  void Repaint();
  virtual void Click();

  TNotifyEvent OnClick;
  // A right click (or the context-menu key) on the control; `screen` is
  // where a menu would open.
  std::function<void(TObject* sender, POINT screen)> OnContextPopup;

  // The form this control is on, the outermost one when forms are embedded
  // (itself for a form on its own); nullptr when none.
  TForm* GetParentForm() const;
  // Whether `control` is this control or one of its parents.
  bool IsInside(const TControl* control) const;

 protected:
  virtual void WndProc(TMessage& message);
  // What the control does with a message nobody else handled.
  virtual void DefaultHandler(TMessage& /*message*/) {}
  virtual std::wstring GetTextValue() const { return text_; }
  virtual void SetTextValue(const std::wstring& text);
  virtual void FontChanged() { Invalidate(); }
  virtual void ColorChanged() { Invalidate(); }
  virtual void BoundsChanged() {}
  // Applies the parent's colour (ParentColor) and tells the control.
  void TakeParentColor();
  // Applies the parent's BiDiMode (ParentBiDiMode) and tells the control.
  void TakeParentBiDiMode();
  // The BiDiMode changed (after CM_BIDIMODECHANGED).
  virtual void BiDiModeChanged() { Invalidate(); }

  std::wstring text_;
  TWinControl* parent_ = nullptr;
  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  TAlign align_ = alNone;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_ = clBtnFace;
  bool parent_color_ = false;
  bool parent_font_ = true;
  TBiDiMode bidi_mode_ = bdLeftToRight;
  bool parent_bidi_mode_ = true;
  bool mouse_down_ = false;
  bool mouse_in_control_ = false;
  TFont font_;

 private:
  friend class TWinControl;
  friend class TWindowProcHook;
  friend struct TWindowProcLink;
  void FreeHookLink(TWindowProcLink* link);
  void UnchainHook(TWindowProcLink* link);
  TWindowProcLink* FindHookLink(const TWndMethod& method) const;

  std::vector<std::unique_ptr<TWindowProcLink>> hook_links_;
};

struct TCreateParams {
  std::wstring ClassName;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  // True when ClassName is a system class (EDIT, BUTTON, ...) that is
  // subclassed after creation; false for the framework's own classes.
  bool SystemClass = false;
  UINT ClassStyle = CS_DBLCLKS;
};

class TWinControl : public TControl {
  FW_CLASS_INFO(TWinControl)

 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  // The window, created on first use (with the parents' windows).
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // Destroys the window and creates it again with the current properties
  // (for properties that only a new window can take); children come back
  // with it. Subclasses of the old window end with it.
  void RecreateWnd();
  // True from the old window's destruction until the new window exists (a
  // WM_NCDESTROY seen meanwhile is no end of the control), for the control
  // and for every control inside it, whose windows go and come back with
  // its own. CM_RECREATEWND follows once the new windows are there: to the
  // control, then to each windowed control inside it (parents first).
  bool Recreating() const;
  // The control served by a window of this thread (or by its parent, for
  // the edit part of a combo box); nullptr for raw windows.
  static TWinControl* FindControl(HWND wnd);

  void SetParent(TWinControl* parent) override;
  // A control without a Parent control placed on a raw window (a dialog, a
  // combo box's list): its window is created as a child of `wnd`, its bounds
  // are in that window's client coordinates, and it is destroyed with that
  // window (the control stays). A Parent control, when there is one, wins.
  //
  //   overlay->SetParentWindow(GetParent(target));
  //   overlay->SetBounds(x, y, w, h);   // where target's bar lies
  HWND ParentWindow() const { return parent_window_; }
  void SetParentWindow(HWND wnd);

  // Whether the control is made to hold other controls (panels, group
  // boxes, scroll boxes, tab sheets): what is inside it is its own
  // contents. Forms, even embedded ones, are not containers in this sense.
  virtual bool IsContainer() const { return false; }

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }

  int32_t TabOrder() const;
  void SetTabOrder(int32_t order);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool v) { tab_stop_ = v; }
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool v);
  // Kept for skinners that paint off-screen and ask for it; the framework's
  // own painting does not depend on it.
  bool DoubleBuffered() const { return double_buffered_; }
  void SetDoubleBuffered(bool v) { double_buffered_ = v; }

  bool Focused() const;
  virtual bool CanFocus() const;
  virtual void SetFocus();
  // Controls in tab order, containers followed by their contents.
  void GetTabOrderList(std::vector<TWinControl*>& list);
  TWinControl* FindNextControl(TWinControl* current, bool forward, bool check_tab_stop,
                               bool check_parent);

  void Invalidate() override;
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
  RECT ClientRect() const override;
  void SetEnabled(bool enabled) override;
  // Lays the aligned children out again in the client area. It happens by
  // itself when the client area changes size (with the window or without)
  // and when an aligned child changes its own bounds.
  void Realign() { AlignControls(); }

  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  // Key handling shared with forms (key preview) and the message loop.
  bool DoKeyDown(TMessage& message);
  bool DoKeyPress(TMessage& message);

  // The window procedure of the framework's own window classes.
  static LRESULT CALLBACK StdWndProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

 protected:
  virtual void CreateParams(TCreateParams& params);
  virtual void CreateWnd();
  // Makes the window CreateWnd asked for (CreateWindowEx; an MDI child asks
  // its MDI client); nullptr when it could not.
  virtual HWND CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  // Called once the window exists (fonts, texts, states applied).
  virtual void HandleCreated() {}
  void WndProc(TMessage& message) override;
  void DefaultHandler(TMessage& message) override;
  std::wstring GetTextValue() const override;
  void SetTextValue(const std::wstring& text) override;
  void FontChanged() override;
  void ColorChanged() override;
  void BiDiModeChanged() override;
  virtual void KeyDown(WORD& key, TShiftState shift);
  virtual void KeyPress(wchar_t& key);
  // Paints the graphic children into dc (the window's client DC).
  void PaintControls(HDC dc);
  virtual void PaintWindow(HDC dc);
  // Whether the window paints itself through PaintWindow (framework classes).
  bool OwnPaint() const { return !system_class_; }
  HBRUSH ColorBrush();
  virtual void AlignControls();
  virtual bool WantSpecialKey(WORD /*key*/) { return false; }
  // The area the aligned children share (the client area by default).
  virtual RECT AlignRect();
  // What the aligned children left of it (after each layout).
  virtual void AlignedRemainder(const RECT& /*remainder*/) {}
  // Reads the window's position and size back into the stored bounds.
  virtual void UpdateBoundsFromWindow();
  // A child control moved or changed size.
  virtual void ControlBoundsChanged(TControl* /*control*/) {}
  // Lays the children out again unless that is what is happening now.
  void RequestAlign();

  HWND handle_ = nullptr;
  HWND parent_window_ = nullptr;
  bool system_class_ = false;

 private:
  // Everything the window sends, whatever its class: into WindowProc.
  static void DispatchToControl(TWinControl* control, HWND wnd, TMessage& message);
  void SystemClassProc(TMessage& message);
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  TControl* GraphicControlAt(POINT pt);
  void RouteMouse(TMessage& message);
  void MouseMoved();
  void MouseLeft();
  void SetMouseControl(TControl* control);
  void DestroyHandle();
  void BindHandle(HWND wnd);
  // Whether a framework message performed now goes through the window.
  bool RoutesThroughWindow() const;
  LRESULT PerformThroughWindow(UINT msg, WPARAM wparam, LPARAM lparam);
  // The windowed controls inside this one, parents first.
  void GetWindowedDescendants(std::vector<TWinControl*>& list) const;

  TSubclass subclass_;
  std::vector<TControl*> controls_;
  TListWalk<TControl>* control_walks_ = nullptr;  // walks over controls_ in progress
  std::vector<TWinControl*> tab_list_;
  int32_t stored_tab_order_ = -1;
  bool tab_stop_ = false;
  bool ctl3d_ = true;
  bool double_buffered_ = false;
  bool tracking_leave_ = false;
  bool recreating_ = false;
  bool window_closing_ = false;  // from WM_DESTROY to WM_NCDESTROY
  bool aligning_ = false;        // AlignControls is placing the children
  SIZE aligned_client_{-1, -1};  // the client size of the last layout
  TControl* mouse_capture_ = nullptr;
  TControl* mouse_control_ = nullptr;  // graphic child under the mouse
  TGdiHandle<HBRUSH> brush_;

  friend class TControl;
  friend class TApplication;
  friend class TForm;
};

// A windowed control of the framework's own that paints itself on a canvas.
class TCustomControl : public TWinControl {
  FW_CLASS_INFO(TCustomControl)

 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  TCanvas* Canvas() { return &canvas_; }

 protected:
  // The canvas holds the paint DC (with the control's font) while Paint runs.
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;
  TCanvas canvas_;
};

class TGraphicControl;

// A DC on a graphic control's place in its parent's window, for painting at
// once outside WM_PAINT (a hover frame drawn as the mouse comes): the origin
// is the control's top-left corner, drawing is clipped to the control, and
// while it lives the control's Canvas() draws on it (with the control's
// font). Get() is nullptr when the control is not showing or its parent has
// no window. The DC is released when it goes.
//
//   fw::TControlDC dc = speed_button->PaintDC();
//   if (dc.Get() != nullptr) speed_button->Canvas()->FrameRect(RECT{0, 0, 23, 22});
class TControlDC {
 public:
  explicit TControlDC(TGraphicControl& control);
  ~TControlDC();
  TControlDC(const TControlDC&) = delete;
  TControlDC& operator=(const TControlDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  TGraphicControl& control_;
  HWND wnd_ = nullptr;
  HDC dc_ = nullptr;
  HDC previous_ = nullptr;  // the canvas's DC before (one made inside Paint)
};

class TGraphicControl : public TControl {
  FW_CLASS_INFO(TGraphicControl)

 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  // The DC of WM_PAINT while Paint runs, the one of a TControlDC while it
  // lives, else none (Handle() nullptr).
  TCanvas* Canvas() { return &canvas_; }
  // A DC for painting the control at once; see TControlDC.
  TControlDC PaintDC() { return TControlDC(*this); }

 protected:
  void WndProc(TMessage& message) override;
  virtual void Paint() {}
  TCanvas canvas_;

 private:
  friend class TControlDC;
};

}  // namespace fw
