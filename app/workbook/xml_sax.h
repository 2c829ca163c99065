// TXmlSax: a push parser over expat for the XML parts of a workbook. Element
// and attribute names reach the handler without their namespace prefix.
// A document type declaration (and with it every entity declaration) is
// refused, so no entity is ever expanded and no external file is read;
// nesting deeper than kMaxXmlDepth is refused.
// Errors throw EPlanilhaError; an exception thrown by the handler stops the
// parser and comes out of Feed unchanged.
#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

namespace app {

class TXmlHandler {
 public:
  virtual ~TXmlHandler() = default;
  // attrs: name, value, name, value, ..., nullptr (names without prefix
  // are found with Attr()).
  virtual void Start(std::string_view name, const char** attrs) = 0;
  virtual void End(std::string_view name) = 0;
  virtual void Text(const char* text, int length) = 0;
};

// Local part of a qualified name ("x:row" -> "row").
std::string_view LocalName(const char* name);
// The value of attribute `local` (prefix ignored), or nullptr.
const char* Attr(const char** attrs, std::string_view local);

class TXmlSax {
 public:
  // `part` names the document in error messages.
  TXmlSax(TXmlHandler& handler, std::string part);
  ~TXmlSax();
  TXmlSax(const TXmlSax&) = delete;
  TXmlSax& operator=(const TXmlSax&) = delete;

  void Feed(const char* data, size_t size, bool final);

 private:
  static void OnStart(void* self, const char* name, const char** attrs);
  static void OnEnd(void* self, const char* name);
  static void OnText(void* self, const char* text, int length);
  static void OnDoctype(void* self, const char*, const char*, const char*, int);
  static void OnEntity(void* self, const char*, int, const char*, int, const char*, const char*,
                       const char*, const char*);
  void Fail(std::exception_ptr error);

  TXmlHandler& handler_;
  std::string part_;
  void* parser_;
  std::exception_ptr error_;
  long depth_ = 0;
};

}  // namespace app
