// TComponent: the framework's component. A component created with an owner
// is owned by it: the owner frees its components (last created first) when
// it is freed, and a component freed on its own leaves its owner's list.
// Components are created with `new T(owner)` and freed with Free(); one
// without an owner belongs to whoever holds it (a TOwned<T>, which frees it
// with Free()).
//
// Destruction, in this order: BeforeDestruction() while the whole object
// still exists (csDestroying is set; a form fires OnDestroy first), which
// calls DestroyComponents(): those who asked to be told hear of the end, and
// the owned components are freed while the owner is still whole, so one
// that reads its owner's properties by name sees the owner's own class.
// Then the destructors. A component deleted without Free() skips
// BeforeDestruction: the framework's destructors call DestroyComponents()
// at their top for it, when the derived parts are already gone.
//
// Notification(c, opInsert/opRemove) tells a component that `c` joined or
// left its owner, or, after FreeNotification, that `c` is being freed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/object.h"

namespace fw {

enum class TOperation { opInsert, opRemove };

// Component state bits.
enum : uint32_t {
  csLoading = 1u << 0,    // being read from a stored description
  csReading = 1u << 1,    // its properties are being read
  csDesigning = 1u << 2,  // design mode (never set by this program)
  csDestroying = 1u << 3,
};

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  FW_CLASS_INFO(TComponent)

  // Frees the component (and what it owns).
  void Free() {
    BeforeDestruction();
    delete this;
  }
  // Called by Free (and by an owner freeing its components) before the
  // destructors run; the base sets csDestroying and frees the owned
  // components (DestroyComponents). An override calls the base at its end.
  virtual void BeforeDestruction() { DestroyComponents(); }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  // Owned component by name, letter case ignored; nullptr when none.
  TComponent* FindComponent(std::string_view name) const;

  const std::string& Name() const { return name_; }
  // Names are identifiers, unique among the owner's components (an empty
  // name is allowed any number of times).
  virtual void SetName(const std::string& name);
  std::wstring NameW() const { return std::wstring(name_.begin(), name_.end()); }

  int32_t Tag() const { return tag_; }
  void SetTag(int32_t tag) { tag_ = tag; }

  uint32_t ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  void SetComponentState(uint32_t bits) { state_ |= bits; }
  void ClearComponentState(uint32_t bits) { state_ &= ~bits; }

  // Called by the description reader for a nested object: the enclosing
  // object becomes the parent (controls take it as their Parent).
  virtual void SetParentComponent(TComponent* /*parent*/) {}

  // Called once after the component has been read from a description: the
  // base clears csLoading.
  virtual void Loaded() { state_ &= ~csLoading; }

  // Asks `component` to tell this one (opRemove) when it is freed.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Moves an owned component to another owner (nullptr: none).
  void RemoveComponent(TComponent* component);
  void InsertComponent(TComponent* component);

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  // Sets csDestroying, tells those who asked to be told (FreeNotification)
  // and frees the owned components, last created first. Later calls do
  // nothing.
  void DestroyComponents();

 private:
  void NotifyAll(TComponent* component, TOperation operation);

  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
  std::string name_;
  int32_t tag_ = 0;
  uint32_t state_ = 0;
};

// Frees a component held outside any owner with Free(), so it is destroyed
// the way an owner would destroy it.
struct TComponentDeleter {
  void operator()(TComponent* component) const { component->Free(); }
};
template <class T>
using TOwned = std::unique_ptr<T, TComponentDeleter>;

}  // namespace fw
