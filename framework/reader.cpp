#include "framework/reader.h"

#include <map>
#include <optional>
#include <vector>

#include "framework/strings.h"

namespace fw {

namespace {

struct TClassEntry {
  const TClassInfo* Info;
  TComponentFactory Factory;
};

std::string Upper(std::string_view s) {
  std::string r(s);
  for (char& c : r) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return r;
}

std::map<std::string, TClassEntry>& Classes() {
  static std::map<std::string, TClassEntry> classes;
  return classes;
}

std::map<std::string, int64_t>& Constants() {
  static std::map<std::string, int64_t> constants;
  return constants;
}

enum class TToken { tkEnd, tkIdent, tkInteger, tkString, tkSymbol };

class TParser {
 public:
  explicit TParser(std::string_view text) : text_(text) { Next(); }

  TToken Kind() const { return kind_; }
  const std::string& Text() const { return token_; }
  int64_t Integer() const { return integer_; }
  int Line() const { return token_line_; }
  bool IsSymbol(char c) const { return kind_ == TToken::tkSymbol && token_[0] == c; }
  bool IsIdent(std::string_view word) const {
    return kind_ == TToken::tkIdent && SameText(token_, word);
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw EReadError("Line " + std::to_string(token_line_) + ": " + what);
  }

  void Expect(char c) {
    if (!IsSymbol(c)) Fail(std::string("'") + c + "' expected");
    Next();
  }
  std::string ExpectIdent() {
    if (kind_ != TToken::tkIdent) Fail("identifier expected");
    std::string s = token_;
    Next();
    return s;
  }

  void Next() {
    SkipBlanks();
    token_line_ = line_;
    token_.clear();
    if (pos_ >= text_.size()) {
      kind_ = TToken::tkEnd;
      return;
    }
    char c = text_[pos_];
    if (IsLetter(c)) {
      while (pos_ < text_.size() &&
             (IsLetter(text_[pos_]) || IsDigit(text_[pos_]) || text_[pos_] == '.')) {
        token_.push_back(text_[pos_++]);
      }
      kind_ = TToken::tkIdent;
    } else if (IsDigit(c) || c == '-' || c == '$') {
      ReadInteger();
    } else if (c == '\'' || c == '#') {
      ReadString();
    } else {
      token_.push_back(c);
      ++pos_;
      kind_ = TToken::tkSymbol;
    }
  }

 private:
  static bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
  }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  void SkipBlanks() {
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n')
          ++pos_;
      } else {
        break;
      }
    }
  }

  void ReadInteger() {
    bool negative = false;
    if (text_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    int base = 10;
    if (pos_ < text_.size() && text_[pos_] == '$') {
      base = 16;
      ++pos_;
    }
    uint64_t value = 0;
    size_t digits = 0;
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      int d = -1;
      if (IsDigit(c))
        d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
      if (d < 0) break;
      value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
      if (value > 0xFFFFFFFFull) Fail("number out of range");
      ++digits;
      ++pos_;
    }
    if (digits == 0) Fail("number expected");
    integer_ = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    kind_ = TToken::tkInteger;
  }

  void ReadString() {
    std::string out;
    while (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) {
      if (text_[pos_] == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated text");
          if (text_[pos_] == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              out.push_back('\'');
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          out.push_back(text_[pos_++]);
        }
      } else {
        ++pos_;
        uint32_t code = 0;
        size_t digits = 0;
        while (pos_ < text_.size() && IsDigit(text_[pos_]) && digits < 7) {
          code = code * 10 + static_cast<uint32_t>(text_[pos_++] - '0');
          ++digits;
        }
        if (digits == 0 || code > 0x10FFFF) Fail("character code expected");
        std::wstring w(1, static_cast<wchar_t>(code));
        out += WideToUtf8(w);
      }
    }
    token_ = std::move(out);
    kind_ = TToken::tkString;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  int token_line_ = 1;
  TToken kind_ = TToken::tkEnd;
  std::string token_;
  int64_t integer_ = 0;
};

class TReader {
 public:
  TReader(TComponent& root, std::string_view text) : root_(root), parser_(text) {}

  void Read() {
    ReadObject(nullptr);
    if (parser_.Kind() != TToken::tkEnd) parser_.Fail("text after the last 'end'");
    // References to components read after the one that names them.
    for (const TFixup& f : fixups_) {
      TComponent* ref = root_.FindComponent(f.Name);
      if (ref == nullptr) {
        throw EReadError("Line " + std::to_string(f.Line) + ": invalid value for " + f.Prop->Name +
                         ": " + f.Name);
      }
      f.Prop->SetObj(*f.Target, ref);
    }
    // Every component read learns that reading is over, in stored order.
    for (TComponent* c : loaded_)
      c->ClearComponentState(csReading);
    for (TComponent* c : loaded_)
      c->Loaded();
  }

 private:
  void ReadObject(TComponent* parent) {
    if (!parser_.IsIdent("object")) parser_.Fail("'object' expected");
    parser_.Next();
    std::string name = parser_.ExpectIdent();
    parser_.Expect(':');
    int class_line = parser_.Line();
    std::string class_name = parser_.ExpectIdent();
    TComponent* component = nullptr;
    if (parent == nullptr) {
      if (!SameText(class_name, root_.ClassName())) {
        throw EReadError("Line " + std::to_string(class_line) + ": the description is of " +
                         class_name + ", not " + root_.ClassName());
      }
      component = &root_;
      component->SetComponentState(csLoading | csReading);
      component->SetName(name);
    } else {
      auto it = Classes().find(Upper(class_name));
      if (it == Classes().end()) {
        throw EReadError("Line " + std::to_string(class_line) + ": class " + class_name +
                         " not found");
      }
      std::unique_ptr<TComponent> guard(it->second.Factory(nullptr));
      guard->SetComponentState(csLoading | csReading);
      guard->SetName(name);
      root_.InsertComponent(guard.get());
      component = guard.release();  // the root owns it now
      component->SetParentComponent(parent);
    }
    loaded_.push_back(component);
    while (!parser_.IsIdent("end")) {
      if (parser_.Kind() == TToken::tkEnd) parser_.Fail("'end' expected");
      if (parser_.IsIdent("object")) {
        ReadObject(component);
      } else {
        ReadProperty(*component);
      }
    }
    parser_.Next();
  }

  void ReadProperty(TComponent& component) {
    int line = parser_.Line();
    std::string path = parser_.ExpectIdent();
    parser_.Expect('=');
    // Walk the dotted path through object properties.
    TObject* target = &component;
    std::string_view rest = path;
    for (;;) {
      size_t dot = rest.find('.');
      std::string_view head = rest.substr(0, dot);
      const TPropInfo* p = target->ClassInfo().FindProperty(head);
      if (p == nullptr) {
        throw EReadError("Line " + std::to_string(line) + ": " + component.Name() + ": property " +
                         std::string(head) + " does not exist");
      }
      if (dot == std::string_view::npos) {
        SetValue(*target, *p, component, line);
        return;
      }
      if (p->Kind != TTypeKind::tkClass || p->GetObj(*target) == nullptr) {
        throw EReadError("Line " + std::to_string(line) + ": " + std::string(head) +
                         " is not an object property");
      }
      target = p->GetObj(*target);
      rest = rest.substr(dot + 1);
    }
  }

  [[noreturn]] void Bad(int line, const TPropInfo& p, const std::string& what) {
    throw EReadError("Line " + std::to_string(line) + ": invalid value for " + p.Name + ": " +
                     what);
  }

  void SetValue(TObject& target, const TPropInfo& p, TComponent& component, int line) {
    switch (p.Kind) {
      case TTypeKind::tkInteger: {
        int64_t v = 0;
        if (parser_.Kind() == TToken::tkInteger) {
          v = parser_.Integer();
        } else if (parser_.Kind() != TToken::tkIdent || !FindIntegerConstant(parser_.Text(), v)) {
          Bad(line, p, "integer expected");
        }
        parser_.Next();
        if (!p.SetOrd) Bad(line, p, "read-only");
        p.SetOrd(target, v);
        return;
      }
      case TTypeKind::tkEnumeration: {
        if (parser_.Kind() != TToken::tkIdent) Bad(line, p, "name expected");
        std::optional<int64_t> v;
        for (size_t i = 0; i < p.Names.size(); ++i) {
          if (SameText(p.Names[i], parser_.Text())) v = static_cast<int64_t>(i);
        }
        if (!v) Bad(line, p, parser_.Text());
        parser_.Next();
        if (!p.SetOrd) Bad(line, p, "read-only");
        p.SetOrd(target, *v);
        return;
      }
      case TTypeKind::tkSet: {
        parser_.Expect('[');
        int64_t mask = 0;
        while (!parser_.IsSymbol(']')) {
          if (parser_.Kind() != TToken::tkIdent) Bad(line, p, "set member expected");
          bool found = false;
          for (size_t i = 0; i < p.Names.size(); ++i) {
            if (SameText(p.Names[i], parser_.Text())) {
              mask |= int64_t{1} << i;
              found = true;
            }
          }
          if (!found) Bad(line, p, parser_.Text());
          parser_.Next();
          if (parser_.IsSymbol(','))
            parser_.Next();
          else if (!parser_.IsSymbol(']'))
            Bad(line, p, "',' or ']' expected");
        }
        parser_.Next();
        if (!p.SetOrd) Bad(line, p, "read-only");
        p.SetOrd(target, mask);
        return;
      }
      case TTypeKind::tkString: {
        std::wstring value;
        if (parser_.Kind() == TToken::tkString) {
          value = Utf8ToWide(parser_.Text());
          parser_.Next();
        } else if (parser_.IsSymbol('(')) {
          parser_.Next();
          bool first = true;
          while (!parser_.IsSymbol(')')) {
            if (parser_.Kind() != TToken::tkString) Bad(line, p, "text expected");
            if (!first) value += L"\r\n";
            value += Utf8ToWide(parser_.Text());
            first = false;
            parser_.Next();
          }
          parser_.Next();
        } else {
          Bad(line, p, "text expected");
        }
        if (!p.SetStr) Bad(line, p, "read-only");
        p.SetStr(target, value);
        return;
      }
      case TTypeKind::tkMethod: {
        if (parser_.Kind() != TToken::tkIdent) Bad(line, p, "method name expected");
        const TMethodInfo* m = root_.ClassInfo().FindMethod(parser_.Text());
        if (m == nullptr) {
          Bad(line, p, "method " + parser_.Text() + " not found in " + root_.ClassName());
        }
        if (!p.SetMethod(target, m->Factory, root_)) {
          Bad(line, p, "method " + parser_.Text() + " has another signature");
        }
        parser_.Next();
        return;
      }
      case TTypeKind::tkClass: {
        // A reference to another component of the root, by name.
        if (parser_.Kind() != TToken::tkIdent) Bad(line, p, "component name expected");
        if (!p.SetObj) Bad(line, p, "read-only");
        TComponent* ref = root_.FindComponent(parser_.Text());
        if (ref == nullptr) {
          fixups_.push_back(TFixup{&target, &p, parser_.Text(), line});
        } else {
          p.SetObj(target, ref);
        }
        parser_.Next();
        (void)component;
        return;
      }
    }
  }

  struct TFixup {
    TObject* Target;
    const TPropInfo* Prop;
    std::string Name;
    int Line;
  };

  TComponent& root_;
  TParser parser_;
  std::vector<TComponent*> loaded_;
  std::vector<TFixup> fixups_;
};

}  // namespace

void RegisterComponentClass(const TClassInfo& info, TComponentFactory factory) {
  Classes()[Upper(info.ClassName())] = TClassEntry{&info, std::move(factory)};
}

const TClassInfo* FindClassInfo(std::string_view name) {
  auto it = Classes().find(Upper(name));
  return it == Classes().end() ? nullptr : it->second.Info;
}

void RegisterIntegerConstant(std::string_view name, int64_t value) {
  Constants()[Upper(name)] = value;
}

bool FindIntegerConstant(std::string_view name, int64_t& value) {
  auto it = Constants().find(Upper(name));
  if (it == Constants().end()) return false;
  value = it->second;
  return true;
}

void ReadComponent(TComponent& root, std::string_view text) {
  TReader(root, text).Read();
}

}  // namespace fw
