// TSheetXmlScanner: a small streaming XML tokenizer for worksheet parts,
// which are by far the largest part of a workbook and use only a handful of
// plain elements. It gives start tags (name and attributes, prefixes
// removed), end tags and raw text to a handler, chunk by chunk, several
// times faster than a general parser. What it accepts is a subset of XML:
//   - a document type declaration (<!DOCTYPE ...>) is refused, so no entity
//     is ever declared, expanded or fetched;
//   - references in text and attribute values are limited to the five
//     predefined entities and character references (DecodeXmlText);
//   - comments, processing instructions and CDATA sections are understood;
//   - a token longer than 64 MiB, unbalanced tags or a document that ends
//     inside a tag are errors.
// Errors throw EPlanilhaError naming the part.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace app {

struct TXmlAttr {
  std::string_view name;   // without prefix
  std::string_view value;  // raw (see DecodeXmlText)
};

class TSheetXmlHandler {
 public:
  virtual ~TSheetXmlHandler() = default;
  virtual void Start(std::string_view name, const std::vector<TXmlAttr>& attrs) = 0;
  virtual void End(std::string_view name) = 0;
  // Text between tags; `cdata` text is literal, other text still holds its
  // references. May come in several pieces.
  virtual void Text(std::string_view text, bool cdata) = 0;
};

// Appends `raw` to `out` with references replaced. Throws EPlanilhaError for
// an unknown or malformed reference.
void DecodeXmlText(std::string_view raw, std::string& out);

class TSheetXmlScanner {
 public:
  TSheetXmlScanner(TSheetXmlHandler& handler, std::string part)
      : handler_(handler), part_(std::move(part)) {}
  void Feed(const char* data, size_t size, bool final);

 private:
  // Scans complete tokens of [p, p + n); returns the bytes consumed.
  size_t Scan(const char* p, size_t n, bool final);
  [[noreturn]] void Damaged(const std::string& why) const;

  TSheetXmlHandler& handler_;
  std::string part_;
  std::string pending_;
  std::vector<TXmlAttr> attrs_;
  long depth_ = 0;
  bool seen_root_ = false;
};

}  // namespace app
