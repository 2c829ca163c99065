// TXmlPartText: the bytes of one XML part of a workbook on their way from
// the zip entry to a parser, turned into the text both parsers (the sheet
// scanner and expat) take, so that they read every part alike:
//   - UTF-8 without a byte-order mark; a part in UTF-16 (told by its
//     byte-order mark or by its first characters, as XML allows) is
//     converted; a part whose declaration names any other encoding, or one
//     its bytes contradict, is refused;
//   - line ends normalised as XML prescribes: CR LF and a lone CR become LF
//     (a character reference such as &#13; is not a line end and stays);
//   - checked: well-formed UTF-8 with no character XML forbids (NUL and the
//     other control characters but tab, LF and CR; U+FFFE, U+FFFF).
// Errors throw EPlanilhaError naming the part.
//
//   app::TXmlPartText text(part, [&](const char* p, size_t n) { parser.Feed(p, n, false); });
//   zip.Read(part, limit, [&](const char* p, size_t n) { p ? text.Feed(p, n) : text.Finish(); });
//   parser.Feed("", 0, true);
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace app {

class TXmlPartText {
 public:
  using TSink = std::function<void(const char* data, size_t size)>;
  TXmlPartText(std::string part, TSink sink);

  void Feed(const char* data, size_t size);
  // The end of the part: what was held back goes out; a character cut short
  // is an error.
  void Finish();

 private:
  enum class TStage : uint8_t { kStart, kUtf8, kUtf16Le, kUtf16Be };

  // Picks the encoding from the first bytes (held in start_ until there are
  // four of them or the part ends).
  void Start(bool final);
  void FeedUtf8(const char* data, size_t size);
  void FeedUtf16(const char* data, size_t size);
  // Checked, normalised UTF-8 on its way out: held while the XML
  // declaration is still incomplete.
  void Emit(const char* data, size_t size);
  void CheckDeclaration(bool final);
  [[noreturn]] void Damaged(const std::string& why) const;

  std::string part_;
  TSink sink_;
  TStage stage_ = TStage::kStart;
  std::string start_;
  // UTF-8: the start of a character cut by the end of the last chunk.
  char carry_[4] = {};
  size_t carried_ = 0;
  // The last chunk ended with CR, already given out as LF: an LF that
  // starts the next chunk belongs to it.
  bool after_cr_ = false;
  // UTF-16: an odd byte and a high surrogate cut by the end of the chunk.
  int odd_byte_ = -1;
  char16_t high_surrogate_ = 0;
  std::string converted_;
  std::string normalised_;
  bool declaration_pending_ = true;
  std::string declaration_;
};

}  // namespace app
