// TBitBtn: a push button with a glyph (a bitmap of NumGlyphs images side by
// side: normal, disabled, pressed, down) beside its caption.
#pragma once

#include "framework/controls.h"

namespace fw {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TWinControl {
 public:
  explicit TBitBtn(TComponent* owner);
  FW_CLASS_INFO(TBitBtn)

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
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }

  void Click() override;

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

 private:
  void DrawItem(const DRAWITEMSTRUCT& dis);
  bool IsActive() const;

  TBitmap glyph_;
  int32_t num_glyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int32_t margin_ = -1;
  int32_t spacing_ = 4;
  bool default_ = false;
  bool cancel_ = false;
};

// True when `text` marks `ch` as its accelerator ("&Abrir" for 'a').
bool IsAccel(wchar_t ch, const std::wstring& text);

}  // namespace fw
