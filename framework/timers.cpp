#include "framework/timers.h"

#include <map>

#include "framework/subclass.h"

namespace fw {

namespace {

// Running timers by the identifier the system gave them.
std::map<UINT_PTR, TTimerHandle*>& RunningTimers() {
  static std::map<UINT_PTR, TTimerHandle*> running;
  return running;
}

}  // namespace

void TTimerHandle::Start(uint32_t interval_ms, std::function<void()> on_tick) {
  Stop();
  UINT_PTR id = SetTimer(nullptr, 0, interval_ms, &TTimerHandle::TimerProc);
  if (id == 0) throw Exception("Not enough timers available");
  id_ = id;
  on_tick_ = std::move(on_tick);
  RunningTimers()[id] = this;
}

void TTimerHandle::Stop() {
  if (id_ == 0) return;
  KillTimer(nullptr, id_);
  RunningTimers().erase(id_);
  id_ = 0;
}

int TTimerHandle::LiveCount() {
  return static_cast<int>(RunningTimers().size());
}

void CALLBACK TTimerHandle::TimerProc(HWND /*wnd*/, UINT /*msg*/, UINT_PTR id, DWORD /*time*/) {
  auto it = RunningTimers().find(id);
  if (it == RunningTimers().end()) return;
  // A copy: the callback may stop or destroy its own timer.
  std::function<void()> tick = it->second->on_tick_;
  try {
    if (tick) tick();
  } catch (...) {
    HandleCallbackException();
  }
}

// --- TTimer ----------------------------------------------------------------------

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

const TClassInfo& TTimer::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TTimer>("TTimer", TComponent::StaticClassInfo())
                                     .Int("Interval", &TTimer::Interval, &TTimer::SetInterval)
                                     .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled)
                                     .Event<void(TObject*)>("OnTimer", &TTimer::OnTimer)
                                     .Build();
  return info;
}

void TTimer::Loaded() {
  TComponent::Loaded();
  Update();
}

void TTimer::SetInterval(uint32_t ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetOnTimer(std::function<void(TObject*)> handler) {
  OnTimer = std::move(handler);
  Update();
}

void TTimer::Update() {
  timer_.Stop();
  if (!enabled_ || interval_ == 0 || !OnTimer || IsLoading()) return;
  timer_.Start(interval_, [this] {
    // A copy: the handler may free the timer.
    auto handler = OnTimer;
    if (handler) handler(this);
  });
}

}  // namespace fw
