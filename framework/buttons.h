// Buttons with glyphs: TBitBtn, a push button with a glyph (a bitmap of
// NumGlyphs images side by side: normal, disabled, pressed, down) beside its
// caption, and TSpeedButton, a flat tool button painted by its parent that
// can stay down (alone or in a group).
#pragma once

#include "framework/controls.h"
#include "framework/std_buttons.h"

namespace fw {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TImageList;

class TBitBtn : public TButton {
  FW_CLASS_INFO(TBitBtn)

 public:
  explicit TBitBtn(TComponent* owner);

  TBitmap* Glyph() { return &glyph_; }
  int32_t NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int32_t v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  // Distance from the edge to the glyph; -1 centres glyph and text.
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t v);
  // Distance between glyph and text.
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t v);
  // Without a Glyph, the image ImageIndex of Images is the glyph (-1: none);
  // a disabled button shows DisabledIndex, or ImageIndex dimmed when that
  // is -1. Images is cleared when the image list is freed.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  int32_t ImageIndex() const { return image_index_; }
  void SetImageIndex(int32_t v);
  int32_t DisabledIndex() const { return disabled_index_; }
  void SetDisabledIndex(int32_t v);
  // How glyph and text sit as a block (read by painters that place them by
  // it); the button's own drawing places them by Margin alone.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v);

  // Where glyph and text go inside `client` (pure layout, tested alone).
  struct TLayoutResult {
    POINT GlyphPos;
    RECT TextRect;
  };
  static TLayoutResult CalcLayout(const RECT& client, SIZE glyph, SIZE text, TButtonLayout layout,
                                  int32_t margin, int32_t spacing);

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;
  void UpdateDefaultStyle() override;

 private:
  void DrawItem(const DRAWITEMSTRUCT& dis);
  TObject* ImagesObject() const;
  void SetImagesObject(TObject* v);

  TBitmap glyph_;
  int32_t num_glyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
  TImageList* images_ = nullptr;
  int32_t image_index_ = -1;
  int32_t disabled_index_ = -1;
  TAlignment alignment_ = taCenter;
};

// A button painted by its parent: raised, flat (a frame only while the mouse
// is on it) or down. With a GroupIndex it stays down when clicked and puts
// the other buttons of its group up; AllowAllUp lets the last one come up.
class TSpeedButton : public TGraphicControl {
  FW_CLASS_INFO(TSpeedButton)

 public:
  explicit TSpeedButton(TComponent* owner);

  TBitmap* Glyph() { return &glyph_; }
  int32_t NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int32_t v);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v);
  int32_t Margin() const { return margin_; }
  void SetMargin(int32_t v);
  int32_t Spacing() const { return spacing_; }
  void SetSpacing(int32_t v);
  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool Down() const { return down_; }
  void SetDown(bool v);
  int32_t GroupIndex() const { return group_index_; }
  void SetGroupIndex(int32_t v) { group_index_ = v; }
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool v) { allow_all_up_ = v; }

  void Click() override;

 protected:
  void Paint() override;
  void WndProc(TMessage& message) override;

 private:
  TBitmap glyph_;
  int32_t num_glyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
  bool flat_ = false;
  bool down_ = false;
  bool pressed_ = false;  // the mouse button is held on it
  int32_t group_index_ = 0;
  bool allow_all_up_ = false;
};

// True when `text` marks `ch` as its accelerator ("&Abrir" for 'a').
bool IsAccel(wchar_t ch, const std::wstring& text);

}  // namespace fw
