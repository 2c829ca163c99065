// The readers' common part: the texts worksheet files store numbers and
// dates as, turned into the values cells hold.
#include "app/workbook/workbook_reader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace app {

namespace {

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

}  // namespace

bool IsoDateToSerial(std::string_view text, double& serial) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0;
  double s = 0;
  auto num = [&](size_t at, size_t len, int& out) {
    if (at + len > text.size()) return false;
    auto res = std::from_chars(text.data() + at, text.data() + at + len, out);
    return res.ec == std::errc() && res.ptr == text.data() + at + len;
  };
  if (!num(0, 4, y) || text.size() < 10 || text[4] != '-' || !num(5, 2, mo) || text[7] != '-' ||
      !num(8, 2, d) || mo < 1 || mo > 12 || d < 1 || d > 31) {
    return false;
  }
  if (text.size() > 10) {
    if ((text[10] != 'T' && text[10] != ' ') || !num(11, 2, h) || text.size() < 16 ||
        text[13] != ':' || !num(14, 2, mi)) {
      return false;
    }
    if (text.size() > 16) {
      if (text[16] != ':') return false;
      size_t end = 17;
      while (end < text.size() && ((text[end] >= '0' && text[end] <= '9') || text[end] == '.')) {
        ++end;
      }
      auto res = std::from_chars(text.data() + 17, text.data() + end, s);
      if (res.ec != std::errc()) return false;
      // A trailing "Z" or offset is accepted and ignored.
    }
  }
  const int64_t days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) -
                       DaysFromCivil(1899, 12, 30);
  serial = static_cast<double>(days) + (h * 3600.0 + mi * 60.0 + s) / 86400.0;
  return true;
}

namespace {

constexpr double kPow10[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                             1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Most numbers in a worksheet are written as "-?digits(.digits)?" with few
// digits. With at most 15 digits the whole digits w are exact in a double,
// and so is 10^k for k <= 15: w / 10^k is then one correctly rounded
// division, the very double from_chars finds, at a fraction of its cost.
// Any other form returns false and goes to from_chars.
bool ParseShortDecimal(const char* b, const char* e, double& out) {
  const bool negative = b < e && *b == '-';
  if (negative) ++b;
  if (b == e || *b < '0' || *b > '9') return false;
  uint64_t whole = 0;
  int digits = 0;
  int decimals = -1;  // -1 until the point
  for (const char* p = b; p < e; ++p) {
    const char c = *p;
    if (c >= '0' && c <= '9') {
      if (++digits > 15) return false;
      whole = whole * 10 + static_cast<uint64_t>(c - '0');
      if (decimals >= 0) ++decimals;
    } else if (c == '.' && decimals < 0) {
      decimals = 0;
    } else {
      return false;
    }
  }
  if (decimals == 0) return false;  // "1." is left to from_chars
  double value = static_cast<double>(whole);
  if (decimals > 0) value /= kPow10[decimals];
  out = negative ? -value : value;
  return true;
}

}  // namespace

bool ParseCellNumber(std::string_view text, double& value) {
  const char* b = text.data();
  const char* e = b + text.size();
  while (b < e && (*b == ' ' || *b == '+'))
    ++b;
  if (ParseShortDecimal(b, e, value)) return true;
  const auto res = std::from_chars(b, e, value);
  // from_chars also reads "nan" and "inf", which no cell holds.
  return res.ec == std::errc() && res.ptr == e && std::isfinite(value);
}

}  // namespace app
