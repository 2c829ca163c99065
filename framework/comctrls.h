// TStatusBar: the common control status bar. Without panels it shows one
// simple text.
#pragma once

#include "framework/controls.h"

namespace fw {

class TStatusBar : public TWinControl {
 public:
  explicit TStatusBar(TComponent* owner);
  FW_CLASS_INFO(TStatusBar)

  const std::wstring& SimpleText() const { return simple_text_; }
  void SetSimpleText(const std::wstring& text);
  bool SimplePanel() const { return simple_panel_; }
  void SetSimplePanel(bool v) { simple_panel_ = v; }
  bool SizeGrip() const { return size_grip_; }
  void SetSizeGrip(bool v) { size_grip_ = v; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;

 private:
  std::wstring simple_text_;
  bool simple_panel_ = false;
  bool size_grip_ = false;
};

}  // namespace fw
