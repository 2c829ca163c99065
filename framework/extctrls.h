// TImage: a picture painted by its parent, optionally stretched to the
// control's box (alpha blended over the parent).
#pragma once

#include "framework/controls.h"

namespace fw {

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  FW_CLASS_INFO(TImage)

  TPicture* Picture() { return &picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

 protected:
  void Paint() override;

 private:
  TPicture picture_;
  bool stretch_ = false;
  bool center_ = false;
  bool transparent_ = false;
};

}  // namespace fw
