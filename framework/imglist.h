// TImageList: a row of equal-sized images (with a mask) drawn by index.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/component.h"
#include "framework/graphics.h"

namespace fw {

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* owner);
  ~TImageList() override;
  FW_CLASS_INFO(TImageList)

  int32_t Width() const { return width_; }
  void SetWidth(int32_t v);
  int32_t Height() const { return height_; }
  void SetHeight(int32_t v);
  int32_t Count() const;
  HIMAGELIST Handle();

  // Adds the images of a strip as wide as a multiple of Width; pixels of
  // `mask_color` are transparent (clNone: the bottom-left pixel's colour).
  // Returns the index of the first image added.
  int32_t AddMasked(TBitmap& strip, TColor mask_color = clNone);
  void Clear();
  void Draw(TCanvas& canvas, int x, int y, int32_t index, bool enabled = true);
  // Copies image `index` into `out` (resized to Width x Height).
  void GetBitmap(int32_t index, TBitmap& out);

 private:
  void Recreate();

  int32_t width_ = 16;
  int32_t height_ = 16;
  HIMAGELIST handle_ = nullptr;
};

}  // namespace fw
