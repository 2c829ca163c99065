// Placeholders of the skinners being written on other branches: they keep
// the engine linking meanwhile and are removed as each family arrives.
#include "skin/controls/skin_box.h"
#include "skin/controls/skin_progress.h"
#include "skin/controls/skin_sizer.h"
#include "skin/controls/skin_status_bar.h"
#include "skin/controls/skin_tab.h"

namespace skin::win {

#define PENDING_CLASS_INFO(C, P)                                                      \
  const fw::TClassInfo& C::StaticClassInfo() {                                        \
    static const fw::TClassInfo info = fw::TClassBuilder<C>(#C, P::StaticClassInfo()).Build(); \
    return info;                                                                      \
  }

PENDING_CLASS_INFO(TSkinBox, TSkinControl)
void TSkinBox::Attach(ISkinForm*, TSkinData*, bool, fw::TCanvas*) {}
void TSkinBox::Detach() {}
PENDING_CLASS_INFO(TSkinGroupBox, TSkinControl)
void TSkinGroupBox::PaintTo(HDC, const RECT&) {}
PENDING_CLASS_INFO(TSkinObjImage, TSkinControl)
void TSkinObjImage::Attach(ISkinForm*, TSkinData*, bool, fw::TCanvas*) {}
void TSkinObjImage::Detach() {}
void TSkinObjImage::SkinChanged() {}
void TSkinObjImage::ApplyGlyphs() {}
PENDING_CLASS_INFO(TSkinStatusBar, TSkinControl)
bool TSkinStatusBar::BeforeMessage(fw::TMessage& m) { return TSkinControl::BeforeMessage(m); }
void TSkinStatusBar::PaintTo(HDC, const RECT&) {}
PENDING_CLASS_INFO(TSkinProgress, TSkinControl)
bool TSkinProgress::BeforeMessage(fw::TMessage& m) { return TSkinControl::BeforeMessage(m); }
void TSkinProgress::PaintTo(HDC, const RECT&) {}
PENDING_CLASS_INFO(TSkinTrackBar, TSkinControl)
void TSkinTrackBar::SkinChanged() {}
bool TSkinTrackBar::BeforeMessage(fw::TMessage& m) { return TSkinControl::BeforeMessage(m); }
PENDING_CLASS_INFO(TSkinTab, TSkinControl)
void TSkinTab::AttachHandle(HWND w, TSkinData* d, ISkinForm* f, fw::TCanvas* c) { TSkinControl::AttachHandle(w, d, f, c); }
void TSkinTab::SkinChanged() {}
void TSkinTab::PaintTo(HDC, const RECT&) {}
void TSkinTab::Notification(fw::TComponent* c, fw::TOperation o) { TSkinControl::Notification(c, o); }
void TSkinTab::PrepareTabs() {}
PENDING_CLASS_INFO(TSkinTab31, TSkinControl)
void TSkinTab31::Attach(ISkinForm*, TSkinData*, bool, fw::TCanvas*) {}
bool TSkinTab31::BeforeMessage(fw::TMessage& m) { return TSkinControl::BeforeMessage(m); }
void TSkinTab31::PaintTo(HDC, const RECT&) {}
PENDING_CLASS_INFO(TSkinSizer, TSkinControl)
void TSkinSizer::PaintTo(HDC, const RECT&) {}

}  // namespace skin::win
