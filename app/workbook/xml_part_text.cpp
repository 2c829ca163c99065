#include "app/workbook/xml_part_text.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/errors.h"
#include "app/workbook/sheet_xml_scanner.h"
#include "unicode/utf8.h"

namespace app {

namespace {

// Bytes of the UTF-8 character that starts with `lead`; 0 for a byte no
// character starts with.
size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// True when all eight bytes at p lie in 0x20..0x7F, printable ASCII that
// needs no closer look: nearly every byte of a part. (The first term finds a
// byte below 0x20, the second a byte of 0x80 or more.)
bool PlainAscii(const char* p) {
  uint64_t x = 0;
  std::memcpy(&x, p, sizeof x);
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHigh = 0x8080808080808080ULL;
  return ((((x - kOnes * 0x20) & ~x) | x) & kHigh) == 0;
}

bool IsXmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return out;
}

// The value of the encoding declaration in `declaration` ("<?xml ... ?>"),
// or "" when it names none.
std::string DeclaredEncoding(std::string_view declaration) {
  const size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return "";
  size_t k = at + 8;
  while (k < declaration.size() && IsXmlSpace(declaration[k]))
    ++k;
  if (k >= declaration.size() || declaration[k] != '=') return "";
  ++k;
  while (k < declaration.size() && IsXmlSpace(declaration[k]))
    ++k;
  if (k >= declaration.size() || (declaration[k] != '"' && declaration[k] != '\'')) return "";
  const size_t close = declaration.find(declaration[k], k + 1);
  if (close == std::string_view::npos) return "";
  return std::string(declaration.substr(k + 1, close - k - 1));
}

// A declaration longer than this is no declaration a writer makes; the
// parser judges what follows.
constexpr size_t kMaxDeclaration = 1024;

}  // namespace

TXmlPartText::TXmlPartText(std::string part, TSink sink)
    : part_(std::move(part)), sink_(std::move(sink)) {}

void TXmlPartText::Damaged(const std::string& why) const {
  SheetXmlDamaged(part_, why);
}

void TXmlPartText::Feed(const char* data, size_t size) {
  if (stage_ == TStage::kStart) {
    // Only the first four bytes are held to tell the encoding.
    const size_t take = std::min(size, 4 - start_.size());
    start_.append(data, take);
    data += take;
    size -= take;
    if (start_.size() < 4) return;
    Start(false);
  }
  if (size == 0) return;
  if (stage_ == TStage::kUtf8) {
    FeedUtf8(data, size);
  } else {
    FeedUtf16(data, size);
  }
}

void TXmlPartText::Finish() {
  if (stage_ == TStage::kStart) Start(true);
  if (carried_ > 0) Damaged("texto UTF-8 incompleto");
  if (odd_byte_ >= 0 || high_surrogate_ != 0) Damaged("texto UTF-16 incompleto");
  if (declaration_pending_) CheckDeclaration(true);
}

void TXmlPartText::Start(bool final) {
  if (start_.size() < 4 && !final) return;
  char bytes[4] = {};
  const size_t count = start_.size();
  std::memcpy(bytes, start_.data(), count);
  start_.clear();
  auto at = [&](size_t k) { return k < count ? static_cast<unsigned char>(bytes[k]) : -1; };
  size_t skip = 0;
  stage_ = TStage::kUtf8;
  if (at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
    skip = 3;  // the UTF-8 byte-order mark (.NET writers put one)
  } else if (at(0) == 0xFF && at(1) == 0xFE) {
    stage_ = TStage::kUtf16Le;
    skip = 2;
  } else if (at(0) == 0xFE && at(1) == 0xFF) {
    stage_ = TStage::kUtf16Be;
    skip = 2;
  } else if (at(0) == '<' && at(1) == 0 && at(2) == '?' && at(3) == 0) {
    stage_ = TStage::kUtf16Le;  // "<?" in UTF-16 without a byte-order mark
  } else if (at(0) == 0 && at(1) == '<' && at(2) == 0 && at(3) == '?') {
    stage_ = TStage::kUtf16Be;
  }
  if (count == skip) return;
  if (stage_ == TStage::kUtf8) {
    FeedUtf8(bytes + skip, count - skip);
  } else {
    FeedUtf16(bytes + skip, count - skip);
  }
}

void TXmlPartText::FeedUtf8(const char* data, size_t size) {
  // While the declaration is not yet judged, the text up to the next '>'
  // goes first, so that an encoding it names is refused as such before the
  // bytes after it are checked as UTF-8.
  if (declaration_pending_ && carried_ == 0) {
    const void* gt = std::memchr(data, '>', size);
    const size_t head =
        gt == nullptr ? size : static_cast<size_t>(static_cast<const char*>(gt) - data) + 1;
    if (head < size) {
      FeedUtf8(data, head);
      FeedUtf8(data + head, size - head);
      return;
    }
  }
  size_t i = 0;
  // A character cut by the end of the previous chunk is completed first.
  if (carried_ > 0) {
    const size_t need = SequenceLength(static_cast<unsigned char>(carry_[0]));
    while (carried_ < need && i < size)
      carry_[carried_++] = data[i++];
    if (carried_ < need) return;
    char32_t cp = 0;
    size_t used = 0;
    if (!unicode::TryDecodeUtf8(std::string_view(carry_, need), used, cp) || used != need) {
      Damaged("texto que não é UTF-8 válido");
    }
    if (cp == 0xFFFE || cp == 0xFFFF) Damaged("caractere inválido");
    carried_ = 0;
    Emit(carry_, need);
  }
  if (after_cr_ && i < size) {
    if (data[i] == '\n') ++i;
    after_cr_ = false;
  }
  const size_t begin = i;
  size_t end = size;
  bool has_cr = false;
  while (i < size) {
    if (i + 8 <= size && PlainAscii(data + i)) {
      i += 8;
      continue;
    }
    const auto c = static_cast<unsigned char>(data[i]);
    if (c >= 0x20 && c < 0x80) {
      ++i;
      continue;
    }
    if (c < 0x20) {
      if (c == '\r') {
        has_cr = true;
      } else if (c != '\t' && c != '\n') {
        Damaged(c == 0 ? "byte nulo no texto"
                       : "caractere de controle (código " + std::to_string(c) + ") no texto");
      }
      ++i;
      continue;
    }
    const size_t length = SequenceLength(c);
    if (length == 0) Damaged("texto que não é UTF-8 válido");
    if (i + length > size) {
      // Cut by the end of the chunk: checked once the next one completes it.
      end = i;
      break;
    }
    char32_t cp = 0;
    size_t used = 0;
    if (!unicode::TryDecodeUtf8(std::string_view(data + i, length), used, cp) || used != length) {
      Damaged("texto que não é UTF-8 válido");
    }
    if (cp == 0xFFFE || cp == 0xFFFF) Damaged("caractere inválido");
    i += length;
  }
  carried_ = size - end;
  std::memcpy(carry_, data + end, carried_);
  if (!has_cr) {
    Emit(data + begin, end - begin);
    return;
  }
  // CR LF and a lone CR become LF.
  normalised_.clear();
  for (size_t k = begin; k < end; ++k) {
    if (data[k] != '\r') {
      normalised_.push_back(data[k]);
      continue;
    }
    normalised_.push_back('\n');
    if (k + 1 < end && data[k + 1] == '\n') ++k;
  }
  after_cr_ = end == size && data[end - 1] == '\r';
  Emit(normalised_.data(), normalised_.size());
}

void TXmlPartText::FeedUtf16(const char* data, size_t size) {
  converted_.clear();
  const bool little = stage_ == TStage::kUtf16Le;
  auto put = [&](char16_t unit) {
    if (high_surrogate_ != 0) {
      if (unit < 0xDC00 || unit > 0xDFFF) Damaged("texto UTF-16 inválido");
      const char32_t cp = 0x10000 + ((static_cast<char32_t>(high_surrogate_) - 0xD800) << 10) +
                          (static_cast<char32_t>(unit) - 0xDC00);
      high_surrogate_ = 0;
      unicode::AppendUtf8(cp, converted_);
    } else if (unit >= 0xD800 && unit <= 0xDBFF) {
      high_surrogate_ = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      Damaged("texto UTF-16 inválido");
    } else if (unit < 0x80) {
      converted_.push_back(static_cast<char>(unit));
    } else {
      unicode::AppendUtf8(unit, converted_);
    }
  };
  auto unit_of = [&](unsigned char first, unsigned char second) {
    return static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second);
  };
  size_t i = 0;
  if (odd_byte_ >= 0) {
    put(unit_of(static_cast<unsigned char>(odd_byte_), static_cast<unsigned char>(data[0])));
    odd_byte_ = -1;
    i = 1;
  }
  for (; i + 1 < size; i += 2)
    put(unit_of(static_cast<unsigned char>(data[i]), static_cast<unsigned char>(data[i + 1])));
  if (i < size) odd_byte_ = static_cast<unsigned char>(data[i]);
  // The converted text goes through the same checks and line ends as UTF-8.
  FeedUtf8(converted_.data(), converted_.size());
}

void TXmlPartText::Emit(const char* data, size_t size) {
  if (size == 0) return;
  if (!declaration_pending_) {
    sink_(data, size);
    return;
  }
  declaration_.append(data, size);
  CheckDeclaration(false);
}

void TXmlPartText::CheckDeclaration(bool final) {
  const std::string_view text(declaration_);
  if (text.size() < 6 && !final) return;
  if (text.starts_with("<?xml") && text.size() >= 6 && IsXmlSpace(text[5])) {
    const size_t end = text.find("?>");
    if (end == std::string_view::npos && !final && text.size() < kMaxDeclaration) return;
    if (end != std::string_view::npos) {
      const std::string declared = DeclaredEncoding(text.substr(0, end));
      const std::string name = Lower(declared);
      const bool utf16 = stage_ == TStage::kUtf16Le || stage_ == TStage::kUtf16Be;
      if (!name.empty() && name != "utf-8" && !name.starts_with("utf-16")) {
        throw EPlanilhaError("A planilha usa a codificação de texto \"" + declared + "\" em \"" +
                             part_ + "\", que não é aceita (somente UTF-8 ou UTF-16).");
      }
      if (!name.empty() && name.starts_with("utf-16") != utf16) {
        Damaged("a declaração diz \"" + declared + "\", mas o texto está em " +
                (utf16 ? "UTF-16" : "UTF-8"));
      }
    }
  }
  declaration_pending_ = false;
  const std::string held = std::move(declaration_);
  declaration_.clear();
  if (!held.empty()) sink_(held.data(), held.size());
}

}  // namespace app
