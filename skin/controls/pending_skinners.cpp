// Placeholders of the skinners being written on other branches: they keep
// the engine linking meanwhile and are removed as each family arrives.
#include "skin/controls/scroll_overlay.h"
#include "skin/controls/skin_combo_box.h"
#include "skin/controls/skin_edit.h"
#include "skin/controls/skin_header.h"
#include "skin/controls/skin_scrollbar.h"
#include "skin/controls/skin_up_down.h"

namespace skin::win {

#define PENDING_CLASS_INFO(C, P)                                                      \
  const fw::TClassInfo& C::StaticClassInfo() {                                        \
    static const fw::TClassInfo info = fw::TClassBuilder<C>(#C, P::StaticClassInfo()).Build(); \
    return info;                                                                      \
  }

PENDING_CLASS_INFO(TSkinEdit, TSkinControl)
void TSkinEdit::AfterMessage(fw::TMessage& m) { TSkinControl::AfterMessage(m); }
void TSkinEdit::PaintTo(HDC, const RECT&) {}
void TSkinEdit::Notification(fw::TComponent* c, fw::TOperation o) { TSkinControl::Notification(c, o); }

PENDING_CLASS_INFO(TSkinUpDown, TSkinControl)
bool TSkinUpDown::BeforeMessage(fw::TMessage& m) { return TSkinControl::BeforeMessage(m); }
void TSkinUpDown::PaintTo(HDC, const RECT&) {}

PENDING_CLASS_INFO(TSkinComBox, TSkinControl)
TSkinComBox::~TSkinComBox() = default;
void TSkinComBox::Attach(ISkinForm* f, TSkinData* d, bool u, fw::TCanvas* c) { TSkinControl::Attach(f, d, u, c); }
void TSkinComBox::Detach() { TSkinControl::Detach(); }
void TSkinComBox::AfterMessage(fw::TMessage& m) { TSkinControl::AfterMessage(m); }
void TSkinComBox::PaintTo(HDC, const RECT&) {}
void TSkinComBox::WindowRecreated() {}

PENDING_CLASS_INFO(TSkinScrollbar, TSkinControl)
TSkinScrollbar::~TSkinScrollbar() = default;
void TSkinScrollbar::AttachScroll(fw::TWinControl*, TSkinData*, ISkinForm*, fw::TCanvas*) {}
void TSkinScrollbar::Detach() { TSkinControl::Detach(); }
void TSkinScrollbar::AfterMessage(fw::TMessage& m) { TSkinControl::AfterMessage(m); }
void TSkinScrollbar::PaintTo(HDC, const RECT&) {}
void TSkinScrollbar::WindowRecreated() {}
PENDING_CLASS_INFO(TSkinScrollbarH, TSkinScrollbar)
void TSkinScrollbarH::AttachHandle(HWND, TSkinData*, ISkinForm*, fw::TCanvas*) {}
void TSkinScrollbarH::AfterMessage(fw::TMessage& m) { TSkinControl::AfterMessage(m); }
PENDING_CLASS_INFO(TSkinListView, TSkinScrollbar)
void TSkinListView::AttachScroll(fw::TWinControl*, TSkinData*, ISkinForm*, fw::TCanvas*) {}
PENDING_CLASS_INFO(TSkinScControl, TSkinControl)
TSkinScControl::~TSkinScControl() = default;
void TSkinScControl::AttachScroll(fw::TWinControl*, TSkinData*, ISkinForm*, fw::TCanvas*) {}
void TSkinScControl::Detach() { TSkinControl::Detach(); }
void TSkinScControl::AfterMessage(fw::TMessage& m) { TSkinControl::AfterMessage(m); }
void TSkinScControl::PaintTo(HDC, const RECT&) {}

PENDING_CLASS_INFO(TSkinHeader, TSkinControl)
bool TSkinHeader::BeforeMessage(fw::TMessage& m) { return TSkinControl::BeforeMessage(m); }
void TSkinHeader::PaintTo(HDC, const RECT&) {}

}  // namespace skin::win
