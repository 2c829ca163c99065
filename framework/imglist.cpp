#include "framework/imglist.h"

namespace fw {

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::~TImageList() {
  if (handle_ != nullptr) ImageList_Destroy(handle_);
}

const TClassInfo& TImageList::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TImageList>("TImageList", TComponent::StaticClassInfo())
          .Int("Width", &TImageList::Width, &TImageList::SetWidth)
          .Int("Height", &TImageList::Height, &TImageList::SetHeight)
          .Build();
  return info;
}

void TImageList::Recreate() {
  if (handle_ != nullptr) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

void TImageList::SetWidth(int32_t v) {
  if (v != width_) {
    width_ = v;
    Recreate();
  }
}

void TImageList::SetHeight(int32_t v) {
  if (v != height_) {
    height_ = v;
    Recreate();
  }
}

HIMAGELIST TImageList::Handle() {
  if (handle_ == nullptr) {
    handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4);
    if (handle_ == nullptr) throw Exception("Cannot create the image list");
  }
  return handle_;
}

int32_t TImageList::Count() const {
  return handle_ != nullptr ? ImageList_GetImageCount(handle_) : 0;
}

int32_t TImageList::AddMasked(TBitmap& strip, TColor mask_color) {
  if (strip.Empty()) return -1;
  if (mask_color == clNone) mask_color = strip.TransparentColor();
  // The image list takes a device-dependent copy; the strip stays ours.
  TBitmap copy;
  copy.Assign(strip);
  // Without alpha the image list cuts the images with the mask colour.
  GdiFlush();
  uint32_t* p = copy.Pixels();
  for (size_t i = 0, n = static_cast<size_t>(copy.Width()) * copy.Height(); i < n; ++i) {
    p[i] &= 0x00FFFFFFu;
  }
  int index = ImageList_AddMasked(Handle(), copy.Handle(), ColorToRGB(mask_color));
  if (index < 0) throw Exception("Cannot add to the image list");
  return index;
}

void TImageList::Clear() {
  if (handle_ != nullptr) ImageList_RemoveAll(handle_);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int32_t index, bool enabled) {
  if (handle_ == nullptr || index < 0 || index >= Count()) return;
  ImageList_DrawEx(handle_, index, canvas.Handle(), x, y, 0, 0, CLR_NONE, CLR_NONE,
                   ILD_TRANSPARENT | (enabled ? 0 : ILD_BLEND50));
}

void TImageList::GetBitmap(int32_t index, TBitmap& out) {
  out.SetSize(width_, height_);
  if (handle_ == nullptr || index < 0 || index >= Count()) return;
  ImageList_Draw(handle_, index, out.Canvas()->Handle(), 0, 0, ILD_NORMAL);
  GdiFlush();
}

}  // namespace fw
