#include "framework/subclass.h"

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace fw {

// The bookkeeping of one installed subclass. It lives in the pool, apart from
// the TSubclass, so that a call running inside the handler keeps it while the
// TSubclass (or its owner) is destroyed.
struct TSubclassRecord {
  HWND wnd = nullptr;
  WNDPROC previous = nullptr;
  TWndMethod handler;  // empty: the procedure passes every message on
  TSubclass* owner = nullptr;
  bool unicode = true;
  bool ended = false;  // out of the window's chain (or the window is gone)
  int running = 0;     // calls of this procedure on the stack
  int slot = -1;
};

namespace {

LRESULT Dispatch(int slot, HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);

template <size_t N>
LRESULT CALLBACK SlotProc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  return Dispatch(static_cast<int>(N), wnd, msg, wparam, lparam);
}

template <size_t... I>
constexpr std::array<WNDPROC, sizeof...(I)> MakeProcs(std::index_sequence<I...> /*unused*/) {
  return {&SlotProc<I>...};
}

// One distinct window procedure per slot: the procedure's address tells
// which subclass of a chain a call belongs to.
constexpr std::array<WNDPROC, TSubclass::kCapacity> kProcs =
    MakeProcs(std::make_index_sequence<TSubclass::kCapacity>{});

class TPool {
 public:
  TPool() {
    free_.reserve(TSubclass::kCapacity);
    for (int i = TSubclass::kCapacity - 1; i >= 0; --i)
      free_.push_back(i);
  }

  TSubclassRecord* Take() {
    if (free_.empty()) return nullptr;
    int slot = free_.back();
    free_.pop_back();
    slots_[static_cast<size_t>(slot)] = std::make_unique<TSubclassRecord>();
    slots_[static_cast<size_t>(slot)]->slot = slot;
    return slots_[static_cast<size_t>(slot)].get();
  }

  void Release(int slot) {
    slots_[static_cast<size_t>(slot)].reset();
    free_.push_back(slot);
  }

  TSubclassRecord* At(int slot) const { return slots_[static_cast<size_t>(slot)].get(); }

  // The record whose procedure is `proc`, or nullptr for a foreign procedure.
  TSubclassRecord* FindByProcedure(WNDPROC proc) const {
    for (size_t i = 0; i < kProcs.size(); ++i) {
      if (kProcs[i] == proc) return slots_[i].get();
    }
    return nullptr;
  }

  int Live() const { return TSubclass::kCapacity - static_cast<int>(free_.size()); }

 private:
  std::array<std::unique_ptr<TSubclassRecord>, TSubclass::kCapacity> slots_;
  std::vector<int> free_;
};

TPool& Pool() {
  static TPool pool;
  return pool;
}

WNDPROC CurrentProcedure(const TSubclassRecord& r) {
  return reinterpret_cast<WNDPROC>(r.unicode ? GetWindowLongPtrW(r.wnd, GWLP_WNDPROC)
                                             : GetWindowLongPtrA(r.wnd, GWLP_WNDPROC));
}

void SetProcedure(const TSubclassRecord& r, WNDPROC proc) {
  auto value = reinterpret_cast<LONG_PTR>(proc);
  if (r.unicode) {
    SetWindowLongPtrW(r.wnd, GWLP_WNDPROC, value);
  } else {
    SetWindowLongPtrA(r.wnd, GWLP_WNDPROC, value);
  }
}

LRESULT CallProcedure(WNDPROC proc, bool unicode, HWND wnd, UINT msg, WPARAM wparam,
                      LPARAM lparam) {
  if (proc == nullptr) return 0;
  return unicode ? CallWindowProcW(proc, wnd, msg, wparam, lparam)
                 : CallWindowProcA(proc, wnd, msg, wparam, lparam);
}

// Frees an ended record once no call of its procedure is running.
void ReleaseIfDone(TSubclassRecord& r) {
  if (!r.ended || r.running > 0) return;
  if (r.owner != nullptr) r.owner = nullptr;
  Pool().Release(r.slot);
}

// Takes the record's procedure out of the window while it is on top, then
// every pass-through of ours that this uncovers. Not while the record's own
// call runs: its handler may still pass the message to the procedure below.
void Unchain(TSubclassRecord& top) {
  TSubclassRecord* r = &top;
  while (r != nullptr) {
    if (r != &top && top.running > 0) break;
    SetProcedure(*r, r->previous);
    r->ended = true;
    TSubclassRecord* below = Pool().FindByProcedure(r->previous);
    bool pass_through = below != nullptr && below->wnd == r->wnd && below->owner == nullptr &&
                        !below->ended && below->unicode == r->unicode;
    if (r != &top) ReleaseIfDone(*r);
    r = pass_through ? below : nullptr;
  }
}

LRESULT Dispatch(int slot, HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  TSubclassRecord* r = Pool().At(slot);
  if (r == nullptr) return DefWindowProcW(wnd, msg, wparam, lparam);  // a stale address
  ++r->running;
  TMessage m{msg, wparam, lparam, 0};
  try {
    if (r->handler) {
      r->handler(m);
    } else {
      m.Result = CallProcedure(r->previous, r->unicode, wnd, msg, wparam, lparam);
    }
  } catch (...) {
    HandleCallbackException();
  }
  if (msg == WM_NCDESTROY) {
    // The window is gone: so is the subclass.
    r->ended = true;
    r->handler = {};
    if (r->owner != nullptr) r->owner->Remove();
  }
  --r->running;
  ReleaseIfDone(*r);
  return m.Result;
}

}  // namespace

bool TSubclass::Install(HWND wnd, TWndMethod handler) {
  if (record_ != nullptr || wnd == nullptr || !IsWindow(wnd)) return false;
  TSubclassRecord* r = Pool().Take();
  if (r == nullptr) return false;
  r->wnd = wnd;
  r->unicode = IsWindowUnicode(wnd) != FALSE;
  r->handler = handler;
  r->owner = this;
  r->previous = CurrentProcedure(*r);
  SetProcedure(*r, kProcs[static_cast<size_t>(r->slot)]);
  record_ = r;
  wnd_ = wnd;
  previous_ = r->previous;
  unicode_ = r->unicode;
  return true;
}

void TSubclass::Remove() {
  TSubclassRecord* r = record_;
  if (r == nullptr) return;
  record_ = nullptr;
  r->owner = nullptr;
  r->handler = {};
  if (r->ended) {
    // Ended by WM_NCDESTROY: nothing left to restore.
  } else if (!IsWindow(r->wnd)) {
    r->ended = true;
  } else if (CurrentProcedure(*r) == kProcs[static_cast<size_t>(r->slot)]) {
    Unchain(*r);
  }
  // Otherwise a later procedure lies above this one: it stays as a
  // pass-through until the window is destroyed.
  ReleaseIfDone(*r);
}

HWND TSubclass::Handle() const {
  return record_ != nullptr ? record_->wnd : nullptr;
}

bool TSubclass::Unicode() const {
  return record_ == nullptr || record_->unicode;
}

bool TSubclass::OnTop() const {
  return record_ != nullptr && IsWindow(record_->wnd) &&
         CurrentProcedure(*record_) == kProcs[static_cast<size_t>(record_->slot)];
}

WNDPROC TSubclass::Procedure() const {
  return record_ != nullptr ? kProcs[static_cast<size_t>(record_->slot)] : nullptr;
}

void TSubclass::CallPrevious(TMessage& message) const {
  message.Result = CallPrevious(message.Msg, message.WParam, message.LParam);
}

LRESULT TSubclass::CallPrevious(UINT msg, WPARAM wparam, LPARAM lparam) const {
  return CallProcedure(previous_, unicode_, wnd_, msg, wparam, lparam);
}

int TSubclass::LiveCount() {
  return Pool().Live();
}

}  // namespace fw
