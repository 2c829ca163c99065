// TSkinControl: the base of every control skinner. A skinner sits in front
// of one control's message handling, lets the control do the work it still
// has to do, tracks the mouse-over, pressed, focused and enabled states, and
// paints the control from skin elements.
//
//   auto* s = new skin::win::TSkinButton(button);   // owned by the control
//   s->Attach(form_link, skin_data, /*use_skin_colour=*/false, &controller->ControlCanvas);
//   ... the control is drawn from the skin until the controller frees `s`
//
// Two ways in, one message flow: Attach puts the skinner in front of a
// framework control's WindowProc (fw::TWindowProcHook); AttachHandle
// subclasses a window by its handle (fw::TSubclass), for raw windows of
// dialogs and for parts of controls. Either way every message goes through
// WndProc: BeforeMessage (false: handled here), the control's previous
// handling, AfterMessage.
//
// Painting has one path and one error policy: Paint and PaintClient find the
// rectangle and the DC, call the subclass's PaintTo, and swallow what
// painting throws (the window keeps what was drawn). Errors of message
// handling go on to the application's error path through the boundary of the
// window procedure. Skin elements are read from SkinData at every paint,
// never kept, so a skin that is loaded again leaves no skinner pointing into
// freed elements.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/component.h"
#include "framework/controls.h"
#include "framework/graphics.h"
#include "framework/subclass.h"
#include "framework/window_proc_hook.h"
#include "framework/wnd_method.h"
#include "skin/data/skin_elements.h"
#include "skin/data/win/skin_data_component.h"

namespace skin::win {

// The private message that switches a skinner between skinned and
// pass-through (wParam > 0: skinned) without unhooking it.
inline constexpr UINT WM_SKINENABLE = 0x3506;

// Framework messages the skinners react to, by the numbers the framework
// sends them with.
inline constexpr UINT CM_ENABLEDCHANGED = 0xB00C;
inline constexpr UINT CM_MOUSEENTER = 0xB013;
inline constexpr UINT CM_MOUSELEAVE = 0xB014;
inline constexpr UINT CM_ENTER = 0xB01A;
inline constexpr UINT CM_EXIT = 0xB01B;
inline constexpr UINT CM_RELEASE = 0xB021;
inline constexpr UINT CM_RECREATEWND = 0xB033;
// Sent by check-box-like controls of other libraries when their state
// changes; check and radio skinners repaint on it.
inline constexpr UINT CM_STATECHANGED = 0xB0D0;
inline constexpr UINT CN_NOTIFY = 0xBC4E;

class TSkinControl;

// The form controller as the skinners see it: registration and the hot
// push button. The controller implements it; skinners never include the
// controller's header.
class ISkinForm {
 public:
  // Adds a skinner to the controller's list; true when it was there already
  // (the list holds each skinner once).
  virtual bool RegisterSkinner(TSkinControl* skinner) = 0;
  // Removes it (searching from the end of the list).
  virtual void UnregisterSkinner(TSkinControl* skinner) = 0;
  // The push button shown hot (the mouse is over it), or nullptr.
  virtual TSkinControl* GetHotButton() const = 0;
  virtual void SetHotButton(TSkinControl* button) = 0;

 protected:
  ~ISkinForm() = default;
};

// MouseState bits.
enum : uint8_t {
  kMouseInside = 1,  // the mouse is on the control
  kMousePressed = 2  // the left button (or the space bar) is held on it
};

// Lifecycle of a skinner (Status).
enum TSkinnerStatus : int32_t {
  ssnCreated = 0,
  ssnAttached = 1,
  ssnDetached = 2,   // a colour-only skinner that gave its colour back
  ssnDestroyed = 6,  // the window is gone; the controller frees it
};

// The frame numbers of push-button-like elements.
enum : int {
  kFrameNormal = 1,
  kFramePressed = 2,
  kFrameDisabled = 3,
  kFrameHot = 4,  // mouse over, or focused
  kFrameDefault = 5,
};

class TSkinControl : public fw::TComponent {
  FW_CLASS_INFO(TSkinControl)

 public:
  // `owner`: the control served (freed with it), or the controller for raw
  // windows.
  explicit TSkinControl(fw::TComponent* owner);
  ~TSkinControl() override;

  // Hooks the owner, a framework windowed control, through its WindowProc;
  // a second call does nothing. With `use_skin_colour` the control takes the
  // skin's background colour until Detach.
  virtual void Attach(ISkinForm* form, TSkinData* data, bool use_skin_colour, fw::TCanvas* canvas);
  // Subclasses a window by its handle (raw windows, parts of controls).
  virtual void AttachHandle(HWND wnd, TSkinData* data, ISkinForm* form, fw::TCanvas* canvas);
  // Hooks the owner, a graphic control (no window of its own: speed
  // buttons, gauges), through its WindowProc; true when the skinner was
  // registered with the controller already.
  bool AttachGraphic(ISkinForm* form, TSkinData* data, fw::TCanvas* canvas);
  // Undoes what the attach changed on the control (the base: its colour).
  // The hook itself goes with the skinner.
  virtual void Detach();
  // The skin changed: the skin colour again, and a repaint.
  virtual void SkinChanged();

  // Paints the whole window (non-client area included) into `dc`, or
  // through the window DC when `dc` is nullptr. Errors are swallowed.
  virtual void Paint(HDC dc);
  // Sends a message through the skinner's own procedure (as the window
  // would deliver it).
  void WndProc(fw::TMessage& m);
  // The handling that was in place before the attach.
  void CallOldProc(fw::TMessage& m);
  // Invalidates the control (and, for a raw window, updates it at once).
  void Repaint();

  // --- State (public as the controller and the tests read it) ---
  uint8_t MouseState = 0;
  fw::TCanvas* Canvas = nullptr;  // the controller's shared canvas (not owned)
  bool Enabled = true;
  bool Focused = false;
  std::wstring Caption;
  bool SkinEnabled = true;
  TSkinData* SkinData = nullptr;  // not owned
  HWND Handle = nullptr;
  fw::TWinControl* Control = nullptr;  // the framework windowed control served
  RECT WindowRect{};
  fw::TControl* GraphicControl = nullptr;  // a graphic control served (speed buttons)
  bool UseSkinColour = false;
  fw::TControlColour SavedColour{};
  bool Attached = false;
  int32_t Status = ssnCreated;
  ISkinForm* SkinForm = nullptr;  // not owned

  // Whether the skinner reaches its control through the raw window (true)
  // or through the framework's WindowProc.
  bool HookedByHandle() const { return subclass_.Installed(); }
  bool HookedByWindowProc() const { return hook_.Hooked(); }
  // The framework object the published properties are read from: the
  // control, the graphic control, or the framework control whose window was
  // attached by handle; nullptr for raw windows.
  fw::TControl* Served() const;

  // --- Property access by name (nullptr and missing properties are safe) ---
  int64_t GetIntProp(std::string_view name) const;
  // Lower-cased enumeration value name ("true", "blglyphleft"); "" if none.
  std::string GetEnumName(std::string_view name) const;
  std::wstring GetTextProp(std::string_view name) const;
  fw::TObject* GetObjectProp(std::string_view name) const;
  bool PropTrue(std::string_view name) const { return GetEnumName(name) == "true"; }
  bool HasProp(std::string_view name) const;

 protected:
  // true: let the previous handling run, then AfterMessage; false: handled.
  virtual bool BeforeMessage(fw::TMessage& m);
  virtual void AfterMessage(fw::TMessage& m);
  // Draws the skinned control into `dc` within `rect` (window coordinates,
  // origin 0,0). Empty in the base.
  virtual void PaintTo(HDC dc, const RECT& rect);
  // The window was created again (the framework recreated the control's
  // window): Handle is the new one. Subclasses re-hook what they hooked.
  virtual void WindowRecreated() {}
  // WM_PAINT handled by the skinner: the DC of wParam, or BeginPaint.
  void PaintClient(fw::TMessage& m);
  // The fields every attach to a windowed control sets: the skin, the
  // controller, the canvas, the control and its window.
  void Bind(fw::TWinControl& control, TSkinData* data, ISkinForm* form, fw::TCanvas* canvas);
  // Puts WndProc in front of a control's WindowProc (graphic controls have
  // no window to subclass), and takes it away again.
  void HookWindowProc(fw::TControl& control);
  void UnhookWindowProc() { hook_.Unhook(); }

  // The skin data as loaded (elements, colours).
  skin::TSkinData& Data() const { return SkinData->Data(); }
  COLORREF SkinColour() const;  // the background (ButtonFace)
  void FillSkinColour(HDC dc, const RECT& r) const;
  // The framework parent's colour, or the skin colour without one.
  void FillParentColour(HDC dc, const RECT& r) const;

  // Common state tracking from a message (mouse, pressed, space bar);
  // true when the state changed.
  bool TrackMouseState(const fw::TMessage& m);
  // Focused and Enabled read again from the window.
  void RefreshState();
  // The window text (wide on the NT family).
  std::wstring WindowText() const;

 private:
  // Re-hooks a window that the framework created again.
  void AfterRecreate();
  // The WindowProc watcher of a framework control attached by handle: it
  // sees CM_RECREATEWND, which the dead window cannot deliver.
  void WatchProc(fw::TMessage& m);
  bool Recreating() const;

  fw::TWindowProcHook hook_;     // Attach
  fw::TSubclass subclass_;       // AttachHandle
  fw::TWindowProcHook watcher_;  // AttachHandle on a framework control's window
  fw::TWinControl* watched_ = nullptr;
};

// --- Drawing routines every skinner shares (into a DC the caller owns) ---

// Frame `frame` of `frame_count` side by side of `element`, nine-sliced to
// `rect` with its margins, tiled or stretched by its Tile, magenta kept out
// when it has Trans. Nothing for a missing or empty element or an inverted
// rectangle.
void DrawElement(HDC dc, const RECT& rect, int frame_count, int frame,
                 const skin::TDataSkinObject* element);
// The same into a framework bitmap's pixels (off-screen buffers).
void DrawElement(fw::TBitmap& target, const RECT& rect, int frame_count, int frame,
                 const skin::TDataSkinObject* element);
// Frame `frame` (1-based) of a strip of `frame_count` frames side by side,
// stretched to `rect`, magenta transparent.
void DrawStripFrame(HDC dc, const RECT& rect, int frame_count, int frame,
                    const skin::TPixels& bitmap);
void DrawStripFrame(fw::TBitmap& target, const RECT& rect, int frame_count, int frame,
                    const skin::TPixels& bitmap);
// One image of a button glyph strip of `num_glyphs` images at `rect`'s
// top-left, drawn with the strip's own transparent colour (its bottom-left
// pixel). `glyph_image` 1 normal, 2 disabled (the image is greyed), 3
// clicked; only a strip of four holds an image for each, the others use
// their first image.
void DrawGlyph(HDC dc, const RECT& rect, int num_glyphs, int glyph_image, fw::TBitmap& glyph);
// Draws `text` ("||" is a line break) as one block inside `rect`: centred
// horizontally with DT_CENTER, else from the left edge; one pixel above the
// vertical centre. Returns the text drawn.
std::wstring DrawCaption(HDC dc, const RECT& rect, UINT alignment, const std::wstring& text);

// The text and image of a header item or a tab inside `rect`: the image
// (when `image_index` is not -1, there is a list and the image is narrower
// than the rectangle) then the text one pixel after it, single line with an
// ellipsis, 2 pixels in from the left or right edge or centred together
// (`alignment` DT_LEFT, DT_CENTER or DT_RIGHT), vertically centred; the
// text in clBtnShadow when `enabled` is false.
void DrawImageAndText(HDC dc, const RECT& rect, HIMAGELIST images, int image_index,
                      const std::wstring& text, UINT alignment, bool enabled);

// The bitmap the status bar and several skinners paint in before copying to
// the screen (one per process: the engine runs in one thread, and nothing
// is kept there between paints).
fw::TBitmap& ScratchBitmap();
// Sizes `bitmap` to w x h, keeping it when it has that size already.
void SizeBuffer(fw::TBitmap& bitmap, int w, int h);

}  // namespace skin::win
