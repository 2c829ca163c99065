#include "framework/object.h"

#include <charconv>

namespace fw {

namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

const TPropInfo* Find(const TObject* instance, std::string_view name, TTypeKind kind) {
  if (instance == nullptr) return nullptr;
  const TPropInfo* p = instance->ClassInfo().FindProperty(name);
  return (p != nullptr && p->Kind == kind) ? p : nullptr;
}

}  // namespace

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    if (c == &other) return true;
  }
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    for (const TPropInfo& p : c->props_) {
      if (SameText(p.Name, name)) return &p;
    }
  }
  return nullptr;
}

const TMethodInfo* TClassInfo::FindMethod(std::string_view name) const {
  for (const TClassInfo* c = this; c != nullptr; c = c->parent_) {
    for (const TMethodInfo& m : c->methods_) {
      if (SameText(m.Name, name)) return &m;
    }
  }
  return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
  std::vector<const TPropInfo*> result;
  if (parent_ != nullptr) result = parent_->AllProperties();
  for (const TPropInfo& p : props_)
    result.push_back(&p);
  return result;
}

const TClassInfo& TObject::StaticClassInfo() {
  static const TClassInfo info("TObject", nullptr);
  return info;
}

const TClassInfo& TPersistent::StaticClassInfo() {
  static const TClassInfo info("TPersistent", &TObject::StaticClassInfo());
  return info;
}

void TPersistent::Assign(const TPersistent& source) {
  throw Exception("Cannot assign a " + source.ClassName() + " to a " + ClassName());
}

int64_t GetIntProp(const TObject* instance, std::string_view name) {
  const TPropInfo* p = Find(instance, name, TTypeKind::tkInteger);
  return p != nullptr ? p->GetOrd(*instance) : 0;
}

std::string GetEnumName(const TObject* instance, std::string_view name) {
  const TPropInfo* p = Find(instance, name, TTypeKind::tkEnumeration);
  if (p == nullptr) return {};
  int64_t v = p->GetOrd(*instance);
  if (v < 0 || v >= static_cast<int64_t>(p->Names.size())) return {};
  return p->Names[static_cast<size_t>(v)];
}

std::wstring GetTextProp(const TObject* instance, std::string_view name) {
  const TPropInfo* p = Find(instance, name, TTypeKind::tkString);
  return p != nullptr ? p->GetStr(*instance) : std::wstring();
}

TObject* GetObjectProp(const TObject* instance, std::string_view name, const TClassInfo* of_class) {
  const TPropInfo* p = Find(instance, name, TTypeKind::tkClass);
  if (p == nullptr) return nullptr;
  TObject* o = p->GetObj(*instance);
  if (o != nullptr && of_class != nullptr && !o->InheritsFrom(*of_class)) return nullptr;
  return o;
}

bool SetPropByName(TObject* instance, std::string_view name, std::string_view value) {
  if (instance == nullptr) return false;
  const TPropInfo* p = instance->ClassInfo().FindProperty(name);
  if (p == nullptr || !p->SetOrd) return false;
  if (p->Kind == TTypeKind::tkEnumeration) {
    for (size_t i = 0; i < p->Names.size(); ++i) {
      if (SameText(p->Names[i], value)) {
        p->SetOrd(*instance, static_cast<int64_t>(i));
        return true;
      }
    }
    return false;
  }
  if (p->Kind == TTypeKind::tkInteger) {
    int64_t v = 0;
    auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size()) return false;
    p->SetOrd(*instance, v);
    return true;
  }
  return false;
}

bool SetIntProp(TObject* instance, std::string_view name, int64_t value) {
  const TPropInfo* p = Find(instance, name, TTypeKind::tkInteger);
  if (p == nullptr || !p->SetOrd) return false;
  p->SetOrd(*instance, value);
  return true;
}

bool SetTextProp(TObject* instance, std::string_view name, const std::wstring& value) {
  const TPropInfo* p = Find(instance, name, TTypeKind::tkString);
  if (p == nullptr || !p->SetStr) return false;
  p->SetStr(*instance, value);
  return true;
}

bool IsPublishedProp(const TObject* instance, std::string_view name) {
  return instance != nullptr && instance->ClassInfo().FindProperty(name) != nullptr;
}

}  // namespace fw
