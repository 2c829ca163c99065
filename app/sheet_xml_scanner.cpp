#include "app/sheet_xml_scanner.h"

#include <cstring>

#include "app/errors.h"

namespace app {

namespace {

constexpr size_t kMaxToken = size_t{64} << 20;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Local(std::string_view name) {
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

void AppendUtf8(uint32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Position of `needle` in [p + from, p + n), or npos.
size_t Find(const char* p, size_t n, size_t from, std::string_view needle) {
  if (from > n) return std::string_view::npos;
  return std::string_view(p + from, n - from).find(needle) == std::string_view::npos
             ? std::string_view::npos
             : from + std::string_view(p + from, n - from).find(needle);
}

}  // namespace

void DecodeXmlText(std::string_view raw, std::string& out) {
  size_t i = 0;
  while (i < raw.size()) {
    const size_t amp = raw.find('&', i);
    if (amp == std::string_view::npos) {
      out.append(raw.substr(i));
      return;
    }
    out.append(raw.substr(i, amp - i));
    const size_t semi = raw.find(';', amp);
    if (semi == std::string_view::npos || semi - amp > 12) {
      throw EPlanilhaError("A planilha está danificada: referência XML malformada.");
    }
    const std::string_view ref = raw.substr(amp + 1, semi - amp - 1);
    if (ref == "lt") {
      out.push_back('<');
    } else if (ref == "gt") {
      out.push_back('>');
    } else if (ref == "amp") {
      out.push_back('&');
    } else if (ref == "quot") {
      out.push_back('"');
    } else if (ref == "apos") {
      out.push_back('\'');
    } else if (ref.size() >= 2 && ref[0] == '#') {
      uint32_t cp = 0;
      const bool hex = ref[1] == 'x';
      size_t k = hex ? 2 : 1;
      if (k >= ref.size())
        throw EPlanilhaError("A planilha está danificada: referência XML malformada.");
      for (; k < ref.size(); ++k) {
        const char c = ref[k];
        uint32_t d;
        if (c >= '0' && c <= '9') {
          d = static_cast<uint32_t>(c - '0');
        } else if (hex && c >= 'a' && c <= 'f') {
          d = static_cast<uint32_t>(c - 'a' + 10);
        } else if (hex && c >= 'A' && c <= 'F') {
          d = static_cast<uint32_t>(c - 'A' + 10);
        } else {
          throw EPlanilhaError("A planilha está danificada: referência XML malformada.");
        }
        cp = cp * (hex ? 16 : 10) + d;
        if (cp > 0x10FFFF) break;
      }
      if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        throw EPlanilhaError("A planilha está danificada: caractere XML inválido.");
      }
      AppendUtf8(cp, out);
    } else {
      throw EPlanilhaError("A planilha usa a entidade XML \"" + std::string(ref.substr(0, 40)) +
                           "\", que não é aceita.");
    }
    i = semi + 1;
  }
}

void TSheetXmlScanner::Damaged(const std::string& why) const {
  throw EPlanilhaError("A planilha está danificada: " + why + " em \"" + part_ + "\".");
}

void TSheetXmlScanner::Feed(const char* data, size_t size, bool final) {
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
    if (pending_.size() > kMaxToken) Damaged("elemento ou texto grande demais");
  }
  if (pending_.empty()) {
    const size_t used = Scan(data + offset, size - offset, final);
    pending_.assign(data + offset + used, size - offset - used);
  } else if (final) {
    const size_t used = Scan(pending_.data(), pending_.size(), true);
    pending_.erase(0, used);
  }
  if (pending_.size() > kMaxToken) Damaged("elemento ou texto grande demais");
  if (final) {
    if (!pending_.empty()) Damaged("XML incompleto");
    if (!seen_root_ || depth_ != 0) Damaged("XML incompleto");
  }
}

size_t TSheetXmlScanner::Scan(const char* p, size_t n, bool final) {
  size_t i = 0;
  while (i < n) {
    if (p[i] != '<') {
      const void* lt = std::memchr(p + i, '<', n - i);
      if (lt == nullptr) {
        if (!final) return i;  // text continues in the next chunk
        // Trailing text after the root: only white space may follow.
        for (size_t k = i; k < n; ++k) {
          if (!IsSpace(p[k])) Damaged("texto fora do elemento raiz");
        }
        return n;
      }
      const size_t end = static_cast<size_t>(static_cast<const char*>(lt) - p);
      if (depth_ > 0) {
        handler_.Text(std::string_view(p + i, end - i), false);
      } else {
        for (size_t k = i; k < end; ++k) {
          if (!IsSpace(p[k])) Damaged("texto fora do elemento raiz");
        }
      }
      i = end;
      continue;
    }
    // A markup token starting at i.
    if (i + 1 >= n) return final ? (Damaged("XML incompleto"), n) : i;
    const char c1 = p[i + 1];
    if (c1 == '?') {
      const size_t end = Find(p, n, i + 2, "?>");
      if (end == std::string_view::npos) return final ? (Damaged("XML incompleto"), n) : i;
      i = end + 2;
      continue;
    }
    if (c1 == '!') {
      if (n - i < 9 && !final) return i;
      if (std::string_view(p + i, std::min<size_t>(4, n - i)) == "<!--") {
        const size_t end = Find(p, n, i + 4, "-->");
        if (end == std::string_view::npos) return final ? (Damaged("XML incompleto"), n) : i;
        i = end + 3;
        continue;
      }
      if (std::string_view(p + i, std::min<size_t>(9, n - i)) == "<![CDATA[") {
        const size_t end = Find(p, n, i + 9, "]]>");
        if (end == std::string_view::npos) return final ? (Damaged("XML incompleto"), n) : i;
        if (depth_ > 0) handler_.Text(std::string_view(p + i + 9, end - i - 9), true);
        i = end + 3;
        continue;
      }
      throw EPlanilhaError("A planilha contém uma declaração de tipo de documento (DTD) em \"" +
                           part_ + "\", o que não é aceito.");
    }
    if (c1 == '/') {
      const void* gt = std::memchr(p + i, '>', n - i);
      if (gt == nullptr) return final ? (Damaged("XML incompleto"), n) : i;
      const size_t end = static_cast<size_t>(static_cast<const char*>(gt) - p);
      size_t name_end = i + 2;
      while (name_end < end && !IsSpace(p[name_end]))
        ++name_end;
      if (--depth_ < 0) Damaged("marca de fim sem início");
      handler_.End(Local(std::string_view(p + i + 2, name_end - i - 2)));
      i = end + 1;
      continue;
    }
    // Start tag: name, then attributes with quoted values (which may hold '>').
    size_t k = i + 1;
    while (k < n && !IsSpace(p[k]) && p[k] != '>' && p[k] != '/')
      ++k;
    if (k >= n) return final ? (Damaged("XML incompleto"), n) : i;
    const std::string_view name(p + i + 1, k - i - 1);
    if (name.empty()) Damaged("marca sem nome");
    attrs_.clear();
    bool self_closing = false;
    for (;;) {
      while (k < n && IsSpace(p[k]))
        ++k;
      if (k >= n) return final ? (Damaged("XML incompleto"), n) : i;
      if (p[k] == '>') {
        ++k;
        break;
      }
      if (p[k] == '/') {
        if (k + 1 >= n) return final ? (Damaged("XML incompleto"), n) : i;
        if (p[k + 1] != '>') Damaged("marca malformada");
        self_closing = true;
        k += 2;
        break;
      }
      const size_t an = k;
      while (k < n && p[k] != '=' && !IsSpace(p[k]) && p[k] != '>' && p[k] != '/')
        ++k;
      const size_t an_end = k;
      while (k < n && IsSpace(p[k]))
        ++k;
      if (k >= n) return final ? (Damaged("XML incompleto"), n) : i;
      if (p[k] != '=' || an_end == an) Damaged("atributo malformado");
      ++k;
      while (k < n && IsSpace(p[k]))
        ++k;
      if (k >= n) return final ? (Damaged("XML incompleto"), n) : i;
      const char quote = p[k];
      if (quote != '"' && quote != '\'') Damaged("atributo sem aspas");
      const void* close = std::memchr(p + k + 1, quote, n - k - 1);
      if (close == nullptr) return final ? (Damaged("XML incompleto"), n) : i;
      const size_t vend = static_cast<size_t>(static_cast<const char*>(close) - p);
      attrs_.push_back({Local(std::string_view(p + an, an_end - an)),
                        std::string_view(p + k + 1, vend - k - 1)});
      k = vend + 1;
    }
    if (depth_ == 0) {
      if (seen_root_) Damaged("mais de um elemento raiz");
      seen_root_ = true;
    }
    handler_.Start(Local(name), attrs_);
    if (self_closing) {
      handler_.End(Local(name));
    } else {
      ++depth_;
    }
    i = k;
  }
  return n;
}

}  // namespace app
