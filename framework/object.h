// TObject and the run-time type information of the framework: every class
// describes itself with a TClassInfo (its name, its parent's info and its
// published properties and methods). Properties are read and written by name,
// so code that knows only a property's name (a form reader, a skinner) can
// serve every class that publishes a property of that name.
//
//   const fw::TClassInfo& TPanel::StaticClassInfo() {
//     static const fw::TClassInfo info = fw::TClassBuilder<TPanel>("TPanel", &TControl::...)
//         .Enum("BevelOuter", {"bvNone", "bvLowered", "bvRaised"}, &TPanel::BevelOuter,
//               &TPanel::SetBevelOuter)
//         .Build();
//     return info;
//   }
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace fw {

class TObject;
class TPersistent;

// Base of the framework's exceptions; the message is UTF-8.
class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TTypeKind { tkInteger, tkEnumeration, tkSet, tkString, tkClass, tkMethod };

// One published property. Ordinal kinds (integer, enumeration, set) go through
// GetOrd/SetOrd; enumerations and sets name their values in Names (a set's
// value is a bit mask, bit n for Names[n]).
struct TPropInfo {
  std::string Name;
  TTypeKind Kind = TTypeKind::tkInteger;
  std::vector<std::string> Names;
  std::function<int64_t(const TObject&)> GetOrd;
  std::function<void(TObject&, int64_t)> SetOrd;
  std::function<std::wstring(const TObject&)> GetStr;
  std::function<void(TObject&, const std::wstring&)> SetStr;
  std::function<TObject*(const TObject&)> GetObj;
  std::function<void(TObject&, TObject*)> SetObj;
  // Events: binds the handler made by a published method's factory (see
  // TMethodInfo) to the event of the instance; false when the method has
  // another signature.
  std::function<bool(TObject&, const std::any& factory, TObject& root)> SetMethod;
};

// A published method, as the form reader binds it to events: Factory holds a
// std::function<std::function<Sig>(TObject& root)> that makes the handler.
struct TMethodInfo {
  std::string Name;
  std::any Factory;
};

class TClassInfo {
 public:
  TClassInfo(std::string name, const TClassInfo* parent)
      : name_(std::move(name)), parent_(parent) {}

  const std::string& ClassName() const { return name_; }
  const TClassInfo* Parent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& other) const;
  // Searches this class, then its ancestors; names compare without letter case.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  // Properties of this class and its ancestors, ancestors first.
  std::vector<const TPropInfo*> AllProperties() const;

  void AddProperty(TPropInfo info) { props_.push_back(std::move(info)); }
  void AddMethod(TMethodInfo info) { methods_.push_back(std::move(info)); }

 private:
  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> props_;
  std::vector<TMethodInfo> methods_;
};

// The class-info pair of a framework class: its static TClassInfo and the
// override that reports it. A class registered for stored descriptions
// without it would report its parent's name; RegisterComponentClass refuses
// such a class at compile time.
#define FW_CLASS_INFO(Class)                           \
 public:                                               \
  using ThisClass = Class;                             \
  static const ::fw::TClassInfo& StaticClassInfo();    \
  const ::fw::TClassInfo& ClassInfo() const override { \
    return StaticClassInfo();                          \
  }

class TObject {
 public:
  using ThisClass = TObject;
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const { return ClassInfo().ClassName(); }
  bool InheritsFrom(const TClassInfo& info) const { return ClassInfo().InheritsFrom(info); }
};

// TPersistent: an object whose published properties can be copied from
// another of its kind (fonts, string lists, bitmaps).
class TPersistent : public TObject {
 public:
  FW_CLASS_INFO(TPersistent)
  // Copies the source's state; the base class refuses (EConvertError-like).
  virtual void Assign(const TPersistent& source);
};

bool SameText(std::string_view a, std::string_view b);

// Builds the TClassInfo of class C. Getters and setters are member functions
// of C (or of a base class of C); a property without setter is read-only.
template <class C>
class TClassBuilder {
 public:
  TClassBuilder(std::string name, const TClassInfo& parent) : info_(std::move(name), &parent) {}

  template <class G, class S = std::nullptr_t>
  TClassBuilder& Int(const char* name, G get, S set = nullptr) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkInteger;
    SetOrdinal(p, get, set);
    info_.AddProperty(std::move(p));
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassBuilder& Enum(const char* name, std::initializer_list<const char*> names, G get,
                      S set = nullptr) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkEnumeration;
    p.Names.assign(names.begin(), names.end());
    SetOrdinal(p, get, set);
    info_.AddProperty(std::move(p));
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassBuilder& Bool(const char* name, G get, S set = nullptr) {
    return Enum(name, {"False", "True"}, get, set);
  }

  // A set: the getter and setter take the bit mask as an integer.
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Set(const char* name, std::initializer_list<const char*> names, G get,
                     S set = nullptr) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkSet;
    p.Names.assign(names.begin(), names.end());
    SetOrdinal(p, get, set);
    info_.AddProperty(std::move(p));
    return *this;
  }

  template <class G, class S = std::nullptr_t>
  TClassBuilder& Str(const char* name, G get, S set = nullptr) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkString;
    p.GetStr = [get](const TObject& o) -> std::wstring {
      return std::wstring(std::invoke(get, static_cast<const C&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetStr = [set](TObject& o, const std::wstring& v) {
        std::invoke(set, static_cast<C&>(o), v);
      };
    }
    info_.AddProperty(std::move(p));
    return *this;
  }

  // An object property: the getter returns a pointer to a TObject subclass.
  // Without a setter the reader fills the object in place (Font.Name = ...).
  template <class G, class S = std::nullptr_t>
  TClassBuilder& Obj(const char* name, G get, S set = nullptr) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkClass;
    p.GetObj = [get](const TObject& o) -> TObject* {
      return std::invoke(get, const_cast<C&>(static_cast<const C&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetObj = [set](TObject& o, TObject* v) { std::invoke(set, static_cast<C&>(o), v); };
    }
    info_.AddProperty(std::move(p));
    return *this;
  }

  // An event: `field` is a data member std::function<Sig> of C.
  template <class Sig, class F>
  TClassBuilder& Event(const char* name, F field) {
    TPropInfo p;
    p.Name = name;
    p.Kind = TTypeKind::tkMethod;
    p.SetMethod = [field](TObject& o, const std::any& factory, TObject& root) {
      using Factory = std::function<std::function<Sig>(TObject&)>;
      const Factory* f = std::any_cast<Factory>(&factory);
      if (f == nullptr) return false;
      std::invoke(field, static_cast<C&>(o)) = (*f)(root);
      return true;
    };
    info_.AddProperty(std::move(p));
    return *this;
  }

  // A published method of C with the signature void(Args...).
  template <class... Args>
  TClassBuilder& Method(const char* name, void (C::*method)(Args...)) {
    using Sig = void(Args...);
    std::function<std::function<Sig>(TObject&)> factory = [method](TObject& root) {
      C* self = static_cast<C*>(&root);
      return std::function<Sig>([self, method](Args... args) { (self->*method)(args...); });
    };
    info_.AddMethod(TMethodInfo{name, std::any(std::move(factory))});
    return *this;
  }

  TClassInfo Build() { return std::move(info_); }

 private:
  template <class G, class S>
  static void SetOrdinal(TPropInfo& p, G get, S set) {
    p.GetOrd = [get](const TObject& o) -> int64_t {
      return static_cast<int64_t>(std::invoke(get, static_cast<const C&>(o)));
    };
    if constexpr (!std::is_same_v<S, std::nullptr_t>) {
      p.SetOrd = [set](TObject& o, int64_t v) {
        using Arg = std::remove_cvref_t<decltype(SetterArg(set))>;
        std::invoke(set, static_cast<C&>(o), static_cast<Arg>(v));
      };
    }
  }
  template <class K, class A>
  static A SetterArg(void (K::*)(A));

  TClassInfo info_;
};

// Accessors by name. Each is safe on a null instance and on a missing
// property (or one of another kind): reads give 0, "", nullptr; writes do
// nothing and return false.
int64_t GetIntProp(const TObject* instance, std::string_view name);
std::string GetEnumName(const TObject* instance, std::string_view name);
std::wstring GetTextProp(const TObject* instance, std::string_view name);
TObject* GetObjectProp(const TObject* instance, std::string_view name,
                       const TClassInfo* of_class = nullptr);
// Sets an enumeration by value name (letter case ignored) or an integer from
// its decimal text.
bool SetPropByName(TObject* instance, std::string_view name, std::string_view value);
bool SetIntProp(TObject* instance, std::string_view name, int64_t value);
bool SetTextProp(TObject* instance, std::string_view name, const std::wstring& value);
bool IsPublishedProp(const TObject* instance, std::string_view name);

}  // namespace fw
