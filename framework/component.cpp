#include "framework/component.h"

#include <algorithm>

namespace fw {

namespace {

bool IsIdentifier(const std::string& s) {
  if (s.empty()) return false;
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    bool digit = c >= '0' && c <= '9';
    if (!letter && !(digit && i > 0)) return false;
  }
  return true;
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_ != nullptr) owner_->RemoveComponent(this);
}

void TComponent::DestroyComponents() {
  state_ |= csDestroying;
  // Those who asked to be told about this component's end go first, so none
  // of them keeps a pointer to it while its owned components are freed.
  while (!free_notifies_.empty()) {
    TComponent* c = free_notifies_.back();
    free_notifies_.pop_back();
    auto& back = c->free_notifies_;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
    c->Notification(this, TOperation::opRemove);
  }
  // Owned components, last created first.
  while (!components_.empty()) {
    components_.back()->Free();  // its destructor removes it from components_
  }
}

const TClassInfo& TComponent::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TComponent>("TComponent", TPersistent::StaticClassInfo())
          .Str(
              "Name", [](const TComponent& c) { return c.NameW(); },
              [](TComponent& c, const std::wstring& v) {
                c.SetName(std::string(v.begin(), v.end()));
              })
          .Int("Tag", &TComponent::Tag, &TComponent::SetTag)
          .Build();
  return info;
}

TComponent* TComponent::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_) {
    if (SameText(c->name_, name)) return c;
  }
  return nullptr;
}

void TComponent::SetName(const std::string& name) {
  if (name == name_) return;
  if (!name.empty() && !IsIdentifier(name)) {
    throw Exception("'" + name + "' is not a valid component name");
  }
  if (owner_ != nullptr && !name.empty()) {
    TComponent* other = owner_->FindComponent(name);
    if (other != nullptr && other != this) {
      throw Exception("A component named " + name + " already exists");
    }
  }
  name_ = name;
}

void TComponent::FreeNotification(TComponent* component) {
  if (component == nullptr || component == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), component) == free_notifies_.end()) {
    free_notifies_.push_back(component);
    component->free_notifies_.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (component == nullptr) return;
  auto& mine = free_notifies_;
  mine.erase(std::remove(mine.begin(), mine.end(), component), mine.end());
  auto& theirs = component->free_notifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->owner_ != nullptr) component->owner_->RemoveComponent(component);
  if (!component->name_.empty() && FindComponent(component->name_) != nullptr) {
    throw Exception("A component named " + component->name_ + " already exists");
  }
  components_.push_back(component);
  component->owner_ = this;
  NotifyAll(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  NotifyAll(component, TOperation::opRemove);
  components_.erase(std::find(components_.begin(), components_.end(), component));
  component->owner_ = nullptr;
}

void TComponent::NotifyAll(TComponent* component, TOperation operation) {
  // The owner and every component it owns hear about a component that joins
  // or leaves. A handler may add or free components: the walk goes over the
  // list as it was, and skips one that has left the list since.
  Notification(component, operation);
  std::vector<TComponent*> list = components_;
  for (TComponent* c : list) {
    if (c == component) continue;
    if (std::find(components_.begin(), components_.end(), c) == components_.end()) continue;
    c->Notification(component, operation);
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove) RemoveFreeNotification(component);
}

}  // namespace fw
