// Timers: TTimerHandle, a timer owned by an object (started and stopped by
// it, killed in its destructor), and TTimer, the timer component (Interval,
// Enabled, OnTimer) a form can hold.
//
//   class THoverCheck {
//     fw::TTimerHandle timer_;
//    public:
//     THoverCheck() { timer_.Start(250, [this] { Check(); }); }
//   };                                         // killed with the object
//
// Ticks arrive through the thread's message loop (and through modal loops:
// message boxes, menus), in the thread that started the timer. A callback
// may stop or destroy its own timer; exceptions it raises go to the
// application's error handler.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "framework/component.h"

namespace fw {

class TTimerHandle {
 public:
  TTimerHandle() = default;
  ~TTimerHandle() { Stop(); }
  TTimerHandle(const TTimerHandle&) = delete;
  TTimerHandle& operator=(const TTimerHandle&) = delete;

  // Starts (or restarts) the timer: `on_tick` runs every `interval_ms`.
  // Throws Exception when the system has no timer left.
  void Start(uint32_t interval_ms, std::function<void()> on_tick);
  void Stop();
  bool Running() const { return id_ != 0; }

  // Timers running in the process (leak checks).
  static int LiveCount();

 private:
  static void CALLBACK TimerProc(HWND wnd, UINT msg, UINT_PTR id, DWORD time);

  UINT_PTR id_ = 0;
  std::function<void()> on_tick_;
};

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  FW_CLASS_INFO(TTimer)
  void Loaded() override;

  uint32_t Interval() const { return interval_; }
  void SetInterval(uint32_t ms);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Assigning the handler through SetOnTimer starts a timer that is enabled.
  void SetOnTimer(std::function<void(TObject*)> handler);

  std::function<void(TObject* sender)> OnTimer;

 private:
  void Update();

  uint32_t interval_ = 1000;
  bool enabled_ = true;
  TTimerHandle timer_;
};

}  // namespace fw
