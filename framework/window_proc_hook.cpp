#include "framework/window_proc_hook.h"

#include "framework/controls.h"

namespace fw {

void TWindowProcLink::Dispatch(TMessage& message) {
  // The link may leave the chain, or its control go, while the handler runs:
  // it is freed only when its last call returns.
  struct TLeave {
    TWindowProcLink* link;
    ~TLeave() {
      if (--link->running > 0 || !link->dead) return;
      if (link->control != nullptr) {
        link->control->FreeHookLink(link);
      } else {
        delete link;  // orphaned by its control's destruction
      }
    }
  };
  ++running;
  TLeave leave{this};
  if (handler) {
    handler(message);
  } else {
    previous(message);
  }
}

void TWindowProcHook::Hook(TControl& control, TWndMethod handler) {
  Unhook();
  auto link = std::make_unique<TWindowProcLink>();
  link->control = &control;
  link->owner = this;
  link->handler = handler;
  link->previous = control.WindowProc;
  control.WindowProc = link->Method();
  link_ = link.get();
  previous_ = link->previous;
  control.hook_links_.push_back(std::move(link));
}

void TWindowProcHook::Unhook() {
  TWindowProcLink* link = link_;
  if (link == nullptr) return;
  link_ = nullptr;
  link->owner = nullptr;
  link->handler = {};
  // A handler that unhooks itself may still pass its message on.
  if (link->running == 0) previous_ = {};
  if (link->control->WindowProc == link->Method()) link->control->UnchainHook(link);
  // Otherwise a later hook lies above: the link stays as a pass-through.
}

TControl* TWindowProcHook::Control() const {
  return link_ != nullptr ? link_->control : nullptr;
}

bool TWindowProcHook::OnTop() const {
  return link_ != nullptr && link_->control->WindowProc == link_->Method();
}

void TWindowProcHook::CallPrevious(TMessage& message) const {
  if (previous_) previous_(message);
}

}  // namespace fw
