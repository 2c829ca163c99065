// TMessage and TWndMethod: a message as the framework passes it around, and a
// message handler as a value. A TWndMethod is an object and one of its member
// functions (like a method pointer): two of them are equal when they name the
// same member of the same object, so a hook can tell whether a handler it
// installed is still in place before it puts the old one back, and copying or
// replacing one never destroys code that is running.
//
//   fw::TWndMethod m = fw::TWndMethod::Bind<&TMySkinner::WndProc>(this);
//   m(message);                         // calls this->WndProc(message)
//   if (control->WindowProc == m) ...   // still ours?
#pragma once

#include <windows.h>

namespace fw {

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

class TWndMethod {
 public:
  using TInvoker = void (*)(void* object, TMessage& message);

  constexpr TWndMethod() = default;
  // A plain function with a context pointer.
  constexpr TWndMethod(void* context, TInvoker invoker) : object_(context), invoker_(invoker) {}

  // Member M (void (C::*)(TMessage&)) of *object; virtual members dispatch
  // on the object's dynamic type, as a call through the object would.
  template <auto M, class C>
  static TWndMethod Bind(C* object) {
    return TWndMethod(object, &Invoke<M, C>);
  }

  void operator()(TMessage& message) const { invoker_(object_, message); }
  explicit operator bool() const { return invoker_ != nullptr; }
  bool operator==(const TWndMethod&) const = default;

  void* Object() const { return object_; }
  TInvoker Invoker() const { return invoker_; }

 private:
  template <auto M, class C>
  static void Invoke(void* object, TMessage& message) {
    (static_cast<C*>(object)->*M)(message);
  }

  void* object_ = nullptr;
  TInvoker invoker_ = nullptr;
};

}  // namespace fw
