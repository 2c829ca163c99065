#include "app/controla_excel.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "app/errors.h"

namespace app {

TDMCotrolaExcel::TDMCotrolaExcel(std::unique_ptr<TSpreadsheetEngine> engine, TFormatoCelula formato)
    : engine_(std::move(engine)), formato_(std::move(formato)) {}

void TDMCotrolaExcel::AbrePlanilha(const std::string& file_name) {
  engine_->Open(file_name);
}

const std::vector<std::string>& TDMCotrolaExcel::ListaAbas() {
  lista_nomes_ = std::make_unique<std::vector<std::string>>();
  const int32_t n = engine_->SheetCount();
  // Each worksheet becomes current in turn, so the last one listed stays current.
  for (int32_t i = 1; i <= n; ++i) {
    engine_->AttachSheet(i);
    lista_nomes_->push_back(engine_->CurrentSheetName());
  }
  return *lista_nomes_;
}

void TDMCotrolaExcel::LiberaLista() {
  lista_nomes_.reset();
}

void TDMCotrolaExcel::SelecionaAba(int32_t position) {
  engine_->AttachSheet(position);
  engine_->ActivateCurrentSheet();
}

int32_t TDMCotrolaExcel::UltimaLinha() {
  return engine_->LastRow();
}

int32_t TDMCotrolaExcel::UltimaColuna() {
  return engine_->LastColumn();
}

std::string TDMCotrolaExcel::LeCelula(int32_t column, int32_t row) {
  std::string out;
  LeCelulaInto(column, row, out);
  return out;
}

void TDMCotrolaExcel::LeCelulaInto(int32_t column, int32_t row, std::string& out) {
  const std::string_view text = LeCelulaView(column, row, out);
  if (text.data() != out.data()) out.assign(text);
}

namespace {

[[noreturn]] void CelulaComErro(int32_t column, int32_t row, std::string_view erro) {
  throw EPlanilhaError("A célula " + TDMCotrolaExcel::LetraColuna(column) + std::to_string(row) +
                       " contém um valor de erro (" + std::string(erro) + ") e não pode ser lida.");
}

}  // namespace

std::string_view TDMCotrolaExcel::Texto(const TCellValue& value, int32_t column, int32_t row,
                                        std::string& numeros, bool check_nul) const {
  switch (value.Kind) {
    case TCellKind::ckEmpty:
      return {};
    case TCellKind::ckText:
      // A NUL would reach CLIENTE.EMAIL inside the text (the .csv and .xlsx
      // readers refuse it in the file; .xls text and Excel can hold one).
      if (check_nul && std::memchr(value.Text.data(), '\0', value.Text.size()) != nullptr) {
        throw EPlanilhaError("A célula " + LetraColuna(column) + std::to_string(row) +
                             " da aba \"" + engine_->CurrentSheetName() +
                             "\" contém um caractere nulo e não pode ser lida.");
      }
      return value.Text;
    case TCellKind::ckNumber: {
      const size_t inicio = numeros.size();
      AcrescentaNumero(value.Number, formato_.DecimalSeparator, numeros);
      return std::string_view(numeros).substr(inicio);
    }
    case TCellKind::ckBoolean:
      return value.Number != 0 ? formato_.TrueText : formato_.FalseText;
    case TCellKind::ckError:
      break;
  }
  CelulaComErro(column, row, value.Text);
}

void TDMCotrolaExcel::LeLinhas(int32_t first_row, int32_t last_row, int32_t columns,
                               const TLinhaSink& sink) {
  const auto n = static_cast<size_t>(columns < 0 ? 0 : columns);
  textos_.resize(n);
  fim_numero_.resize(n);
  // Asked once for the block (the engine reads the sheet first either way).
  const bool check_nul = engine_->TextMayHoldNul();
  engine_->ReadRows(
      first_row, last_row, columns, [&](int32_t row, std::span<const TCellValue> values) {
        // A row's numbers are written one after another into one buffer,
        // and their views taken again once it no longer grows.
        numeros_.clear();
        for (size_t k = 0; k < n; ++k) {
          textos_[k] = Texto(values[k], static_cast<int32_t>(k) + 1, row, numeros_, check_nul);
          fim_numero_[k] = static_cast<uint32_t>(numeros_.size());
        }
        uint32_t begin = 0;
        for (size_t k = 0; k < n; ++k) {
          if (values[k].Kind != TCellKind::ckNumber) continue;
          textos_[k] = std::string_view(numeros_).substr(begin, fim_numero_[k] - begin);
          begin = fim_numero_[k];
        }
        sink(row, textos_);
      });
}

std::string_view TDMCotrolaExcel::LeCelulaView(int32_t column, int32_t row, std::string& scratch) {
  scratch.clear();
  return Texto(engine_->ReadCell(column, row), column, row, scratch);
}

std::string TDMCotrolaExcel::LetraColuna(int32_t column) {
  // Bijective base 26: "A".."Z", "AA".."ZZ" (702), then three letters
  // ("AAA" for 703, "XFD" for 16384), so references stay real column names.
  if (column < 27) return std::string(1, static_cast<char>(64 + column));
  char buffer[8];
  int pos = 8;
  int64_t n = column;
  while (n > 0 && pos > 0) {
    int64_t r = n % 26;
    n /= 26;
    if (r == 0) {
      r = 26;
      n -= 1;
    }
    buffer[--pos] = static_cast<char>(64 + r);
  }
  return std::string(buffer + pos, buffer + 8);
}

namespace {

constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// Most numbers in a worksheet are short decimals (prices, quantities) typed
// with a few decimal places. For those the general rounding below is not
// needed: when m / 10^k (m a whole number of at most 15 digits, k <= 9) rounds
// to exactly this double, the double lies within half a unit in the last
// place (about 1.1E-16 relative) of that decimal, far inside half a step of
// the 15-digit grid (at least 5E-16 relative), so rounding it to 15
// significant digits gives m's digits back. The first k that fits has no
// trailing zero. Fixed form only (1E-4 <= |x| < 1E15), as the general path
// writes it; false leaves everything to the general path.
bool FormataDecimalCurto(double value, std::string_view decimal_separator, std::string& out) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 1e-4 && magnitude < 1e15)) return false;
  for (int k = 1; k < 10; ++k) {
    // A candidate only (the test below proves it): rounding half up by a
    // cast is cheaper than a call to the library's rounding.
    const double product = magnitude * kPow10[k];
    if (product >= 1e15) return false;
    const auto m = static_cast<int64_t>(product + 0.5);
    if (m >= 1'000'000'000'000'000 || static_cast<double>(m) / kPow10[k] != magnitude) continue;
    char digits[24];
    const auto res = std::to_chars(digits, digits + sizeof digits, m);
    const int nd = static_cast<int>(res.ptr - digits);
    if (value < 0) out.push_back('-');
    if (nd > k) {
      out.append(digits, static_cast<size_t>(nd - k));
      out.append(decimal_separator);
      out.append(digits + (nd - k), static_cast<size_t>(k));
    } else {
      out.push_back('0');
      out.append(decimal_separator);
      out.append(static_cast<size_t>(k - nd), '0');
      out.append(digits, static_cast<size_t>(nd));
    }
    return true;
  }
  return false;
}

}  // namespace

void FormataNumero(double value, std::string_view decimal_separator, std::string& out) {
  out.clear();
  AcrescentaNumero(value, decimal_separator, out);
}

void AcrescentaNumero(double value, std::string_view decimal_separator, std::string& out) {
  if (std::isnan(value)) {
    out.append("NAN");
    return;
  }
  if (std::isinf(value)) {
    out.append(value < 0 ? "-INF" : "INF");
    return;
  }
  if (value == 0) {
    out.push_back('0');
    return;
  }
  // Whole numbers of at most 15 digits (codes, dates) are written as they are.
  // (The cast is exact below 1E15, so comparing it back tells a whole number
  // without a call to the library's trunc.)
  if (std::fabs(value) < 1e15 && static_cast<double>(static_cast<int64_t>(value)) == value) {
    char digits[24];
    const auto res = std::to_chars(digits, digits + sizeof digits, static_cast<int64_t>(value));
    out.append(digits, res.ptr);
    return;
  }
  if (FormataDecimalCurto(value, decimal_separator, out)) return;
  // Round to 15 significant digits: "d.dddddddddddddde+XX".
  char buf[40];
  const auto res =
      std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::scientific, 14);
  *res.ptr = '\0';
  const char* p = buf;
  const bool negative = *p == '-';
  if (negative) ++p;
  char digits[16];
  int nd = 0;
  for (; *p && *p != 'e' && *p != 'E'; ++p) {
    if (*p >= '0' && *p <= '9' && nd < 15) digits[nd++] = *p;
  }
  int exponent = 0;
  if (*p == 'e' || *p == 'E') {
    ++p;
    const bool negative_exponent = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    std::from_chars(p, res.ptr, exponent);
    if (negative_exponent) exponent = -exponent;
  }
  while (nd > 1 && digits[nd - 1] == '0')
    --nd;
  if (negative) out.push_back('-');
  if (exponent >= 15 || exponent < -4) {
    // Exponent form: mantissa without trailing zeros, "E", the exponent's
    // sign only when negative, no leading zeros.
    out.push_back(digits[0]);
    if (nd > 1) {
      out.append(decimal_separator);
      out.append(digits + 1, digits + nd);
    }
    out.push_back('E');
    out.append(std::to_string(exponent));
    return;
  }
  if (exponent < 0) {
    out.push_back('0');
    out.append(decimal_separator);
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out.append(digits, digits + nd);
    return;
  }
  const int int_digits = exponent + 1;
  for (int i = 0; i < int_digits; ++i)
    out.push_back(i < nd ? digits[i] : '0');
  if (nd > int_digits) {
    out.append(decimal_separator);
    out.append(digits + int_digits, digits + nd);
  }
}

std::string FormataNumero(double value, std::string_view decimal_separator) {
  std::string out;
  FormataNumero(value, decimal_separator, out);
  return out;
}

}  // namespace app
