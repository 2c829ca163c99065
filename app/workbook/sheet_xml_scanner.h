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
//   - a token longer than 64 MiB, an end tag that does not match its start
//     tag, nesting deeper than kMaxXmlDepth or a document that ends inside
//     a tag are errors.
// The text it is given has been through TXmlPartText (UTF-8, checked, line
// ends normalised).
// Errors throw EPlanilhaError naming the part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/workbook/xlsx_limits.h"

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

// Errors of the scanner (EPlanilhaError naming the part).
[[noreturn]] void SheetXmlDamaged(const std::string& part, const std::string& why);
[[noreturn]] void SheetXmlRefusesDtd(const std::string& part);

// The scanner is a template over its handler so that a reader with a final
// handler class (the worksheet reader) gets direct, inlinable calls for the
// millions of tags of a large sheet; TSheetXmlScanner calls any
// TSheetXmlHandler through its virtual functions.
template <class Handler>
class TBasicSheetXmlScanner {
 public:
  TBasicSheetXmlScanner(Handler& handler, std::string part)
      : handler_(handler), part_(std::move(part)) {}
  void Feed(const char* data, size_t size, bool final);

 private:
  // Scans complete tokens of [p, p + n); returns the bytes consumed.
  size_t Scan(const char* p, size_t n, bool final);
  // An element opens and closes: its qualified name is kept until its end
  // tag, which must name it again.
  void Open(std::string_view name);
  void Close(std::string_view name);

  Handler& handler_;
  std::string part_;
  std::string pending_;
  std::vector<TXmlAttr> attrs_;
  long depth_ = 0;
  bool seen_root_ = false;
  // The names of the open elements, back to back, and where each starts.
  std::string open_names_;
  std::vector<size_t> open_starts_;
};

using TSheetXmlScanner = TBasicSheetXmlScanner<TSheetXmlHandler>;
extern template class TBasicSheetXmlScanner<TSheetXmlHandler>;

namespace sheet_xml_detail {

inline constexpr size_t kMaxToken = size_t{64} << 20;

inline bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Characters that end a tag or attribute name, looked up in one step: the
// name loops run for every byte of every tag, the hottest code of a read.
enum : uint8_t { kSpace = 1, kGt = 2, kSlash = 4, kEquals = 8 };
inline constexpr auto kClass = [] {
  struct Table {
    uint8_t v[256] = {};
  } t;
  t.v[static_cast<uint8_t>(' ')] = t.v[static_cast<uint8_t>('\t')] = kSpace;
  t.v[static_cast<uint8_t>('\n')] = t.v[static_cast<uint8_t>('\r')] = kSpace;
  t.v[static_cast<uint8_t>('>')] = kGt;
  t.v[static_cast<uint8_t>('/')] = kSlash;
  t.v[static_cast<uint8_t>('=')] = kEquals;
  return t;
}();

inline bool Is(char c, uint8_t classes) {
  return (kClass.v[static_cast<uint8_t>(c)] & classes) != 0;
}

inline std::string_view Local(std::string_view name) {
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Position of `needle` in [p + from, p + n), or npos.
inline size_t Find(const char* p, size_t n, size_t from, std::string_view needle) {
  if (from > n) return std::string_view::npos;
  return std::string_view(p + from, n - from).find(needle) == std::string_view::npos
             ? std::string_view::npos
             : from + std::string_view(p + from, n - from).find(needle);
}

}  // namespace sheet_xml_detail

template <class Handler>
void TBasicSheetXmlScanner<Handler>::Feed(const char* data, size_t size, bool final) {
  size_t offset = 0;
  // A token cut by the previous chunk is completed from this one a piece at
  // a time (up to the next '>'), so that the rest of the chunk is scanned
  // where it lies instead of being copied.
  while (!pending_.empty() && offset < size) {
    const void* gt = std::memchr(data + offset, '>', size - offset);
    const size_t take =
        gt == nullptr ? size - offset
                      : static_cast<size_t>(static_cast<const char*>(gt) - (data + offset)) + 1;
    pending_.append(data + offset, take);
    offset += take;
    const size_t used = Scan(pending_.data(), pending_.size(), final && offset == size);
    pending_.erase(0, used);
    if (pending_.size() > sheet_xml_detail::kMaxToken)
      SheetXmlDamaged(part_, "elemento ou texto grande demais");
  }
  if (pending_.empty()) {
    const size_t used = Scan(data + offset, size - offset, final);
    pending_.assign(data + offset + used, size - offset - used);
  } else if (final) {
    const size_t used = Scan(pending_.data(), pending_.size(), true);
    pending_.erase(0, used);
  }
  if (pending_.size() > sheet_xml_detail::kMaxToken)
    SheetXmlDamaged(part_, "elemento ou texto grande demais");
  if (final) {
    if (!pending_.empty()) SheetXmlDamaged(part_, "XML incompleto");
    if (!seen_root_ || depth_ != 0) SheetXmlDamaged(part_, "XML incompleto");
  }
}

template <class Handler>
void TBasicSheetXmlScanner<Handler>::Open(std::string_view name) {
  if (depth_ >= kMaxXmlDepth) {
    SheetXmlDamaged(part_,
                    "elementos aninhados em mais de " + std::to_string(kMaxXmlDepth) + " níveis");
  }
  if (name.size() > kMaxXmlNameBytes) SheetXmlDamaged(part_, "nome de elemento grande demais");
  open_starts_.push_back(open_names_.size());
  open_names_.append(name);
  ++depth_;
}

template <class Handler>
void TBasicSheetXmlScanner<Handler>::Close(std::string_view name) {
  if (depth_ == 0) SheetXmlDamaged(part_, "marca de fim sem início");
  const std::string_view open = std::string_view(open_names_).substr(open_starts_.back());
  if (name != open) {
    SheetXmlDamaged(part_, "a marca de fim </" + std::string(name.substr(0, 40)) +
                               "> não corresponde a <" + std::string(open.substr(0, 40)) + ">");
  }
  open_names_.resize(open_starts_.back());
  open_starts_.pop_back();
  --depth_;
}

template <class Handler>
size_t TBasicSheetXmlScanner<Handler>::Scan(const char* p, size_t n, bool final) {
  size_t i = 0;
  while (i < n) {
    if (p[i] != '<') {
      const void* lt = std::memchr(p + i, '<', n - i);
      if (lt == nullptr) {
        if (!final) return i;  // text continues in the next chunk
        // Trailing text after the root: only white space may follow.
        for (size_t k = i; k < n; ++k) {
          if (!sheet_xml_detail::IsSpace(p[k]))
            SheetXmlDamaged(part_, "texto fora do elemento raiz");
        }
        return n;
      }
      const size_t end = static_cast<size_t>(static_cast<const char*>(lt) - p);
      if (depth_ > 0) {
        handler_.Text(std::string_view(p + i, end - i), false);
      } else {
        for (size_t k = i; k < end; ++k) {
          if (!sheet_xml_detail::IsSpace(p[k]))
            SheetXmlDamaged(part_, "texto fora do elemento raiz");
        }
      }
      i = end;
      continue;
    }
    // A markup token starting at i.
    if (i + 1 >= n) return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
    const char c1 = p[i + 1];
    if (c1 == '?') {
      const size_t end = sheet_xml_detail::Find(p, n, i + 2, "?>");
      if (end == std::string_view::npos)
        return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
      i = end + 2;
      continue;
    }
    if (c1 == '!') {
      if (n - i < 9 && !final) return i;
      if (std::string_view(p + i, std::min<size_t>(4, n - i)) == "<!--") {
        const size_t end = sheet_xml_detail::Find(p, n, i + 4, "-->");
        if (end == std::string_view::npos)
          return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
        i = end + 3;
        continue;
      }
      if (std::string_view(p + i, std::min<size_t>(9, n - i)) == "<![CDATA[") {
        const size_t end = sheet_xml_detail::Find(p, n, i + 9, "]]>");
        if (end == std::string_view::npos)
          return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
        if (depth_ > 0) handler_.Text(std::string_view(p + i + 9, end - i - 9), true);
        i = end + 3;
        continue;
      }
      SheetXmlRefusesDtd(part_);
    }
    if (c1 == '/') {
      // The name runs to a space or the '>'; usually the '>' follows at
      // once, otherwise it is searched for past the name.
      size_t name_end = i + 2;
      while (name_end < n &&
             !sheet_xml_detail::Is(p[name_end], sheet_xml_detail::kSpace | sheet_xml_detail::kGt))
        ++name_end;
      size_t end = name_end;
      if (end >= n || p[end] != '>') {
        const void* gt = end < n ? std::memchr(p + end, '>', n - end) : nullptr;
        if (gt == nullptr) return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
        end = static_cast<size_t>(static_cast<const char*>(gt) - p);
      }
      const std::string_view end_name(p + i + 2, name_end - i - 2);
      Close(end_name);
      handler_.End(sheet_xml_detail::Local(end_name));
      i = end + 1;
      continue;
    }
    // A handler may take whole elements of its most frequent kind in one
    // step (a worksheet's cells); it returns 0 for anything it leaves to the
    // general path below. Such an element is complete, so depth is unchanged.
    if constexpr (requires { handler_.TakeElement(p, n); }) {
      if (depth_ > 0) {
        if (const size_t taken = handler_.TakeElement(p + i, n - i)) {
          i += taken;
          continue;
        }
      }
    }
    // Start tag: name, then attributes with quoted values (which may hold '>').
    size_t k = i + 1;
    while (k < n && !sheet_xml_detail::Is(p[k], sheet_xml_detail::kSpace | sheet_xml_detail::kGt |
                                                    sheet_xml_detail::kSlash))
      ++k;
    if (k >= n) return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
    const std::string_view name(p + i + 1, k - i - 1);
    if (name.empty()) SheetXmlDamaged(part_, "marca sem nome");
    attrs_.clear();
    bool self_closing = false;
    for (;;) {
      while (k < n && sheet_xml_detail::Is(p[k], sheet_xml_detail::kSpace))
        ++k;
      if (k >= n) return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
      if (p[k] == '>') {
        ++k;
        break;
      }
      if (p[k] == '/') {
        if (k + 1 >= n) return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
        if (p[k + 1] != '>') SheetXmlDamaged(part_, "marca malformada");
        self_closing = true;
        k += 2;
        break;
      }
      const size_t an = k;
      while (k < n &&
             !sheet_xml_detail::Is(p[k], sheet_xml_detail::kEquals | sheet_xml_detail::kSpace |
                                             sheet_xml_detail::kGt | sheet_xml_detail::kSlash))
        ++k;
      const size_t an_end = k;
      while (k < n && sheet_xml_detail::Is(p[k], sheet_xml_detail::kSpace))
        ++k;
      if (k >= n) return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
      if (p[k] != '=' || an_end == an) SheetXmlDamaged(part_, "atributo malformado");
      ++k;
      while (k < n && sheet_xml_detail::Is(p[k], sheet_xml_detail::kSpace))
        ++k;
      if (k >= n) return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
      const char quote = p[k];
      if (quote != '"' && quote != '\'') SheetXmlDamaged(part_, "atributo sem aspas");
      const void* close = std::memchr(p + k + 1, quote, n - k - 1);
      if (close == nullptr) return final ? (SheetXmlDamaged(part_, "XML incompleto"), n) : i;
      const size_t vend = static_cast<size_t>(static_cast<const char*>(close) - p);
      attrs_.push_back({sheet_xml_detail::Local(std::string_view(p + an, an_end - an)),
                        std::string_view(p + k + 1, vend - k - 1)});
      k = vend + 1;
    }
    if (depth_ == 0) {
      if (seen_root_) SheetXmlDamaged(part_, "mais de um elemento raiz");
      seen_root_ = true;
    }
    handler_.Start(sheet_xml_detail::Local(name), attrs_);
    if (self_closing) {
      handler_.End(sheet_xml_detail::Local(name));
    } else {
      Open(name);
    }
    i = k;
  }
  return n;
}

}  // namespace app
