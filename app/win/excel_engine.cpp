#include "app/win/excel_engine.h"

#include <oleauto.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "app/controla_excel.h"
#include "app/errors.h"
#include "framework/strings.h"

namespace {

// The server's identifiers: the application class and interface, the
// worksheet class and interface.
constexpr CLSID kExcelApplicationClass = {
    0x00024500, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kExcelApplicationInterface = {
    0x000208D5, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
[[maybe_unused]] constexpr CLSID kWorksheetClass = {
    0x00020820, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kWorksheetInterface = {
    0x000208D8, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Members called by their dispatch identifiers.
constexpr DISPID kSpecialCells = 0x19A;
constexpr DISPID kActivate = 0x130;
constexpr DISPID kRow = 0x101;
constexpr DISPID kColumn = 0xF0;
constexpr DISPID kValue2 = 0x56C;
constexpr int kLastCell = 11;  // SpecialCells kind: the last used cell

// A VARIANT that clears itself.
struct TVariant {
  VARIANT v;
  TVariant() { VariantInit(&v); }
  ~TVariant() { VariantClear(&v); }
  TVariant(const TVariant&) = delete;
  TVariant& operator=(const TVariant&) = delete;
};

VARIANT Missing() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ERROR;
  v.scode = DISP_E_PARAMNOTFOUND;
  return v;
}

VARIANT Int(int32_t value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT Bool(bool value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

std::string SystemMessage(HRESULT hr) {
  wchar_t* buffer = nullptr;
  DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(hr), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n > 0 && buffer != nullptr ? std::wstring(buffer, n) : std::wstring();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  if (text.empty() && hr == REGDB_E_CLASSNOTREG) text = L"Class not registered";
  if (text.empty()) {
    wchar_t code[48];
    wsprintfW(code, L"Erro de automa\u00e7\u00e3o 0x%08X", static_cast<unsigned>(hr));
    text = code;
  }
  return fw::WideToUtf8(text);
}

[[noreturn]] void Fail(HRESULT hr, EXCEPINFO* info = nullptr) {
  std::string message;
  if (info != nullptr) {
    if (info->pfnDeferredFillIn != nullptr) info->pfnDeferredFillIn(info);
    if (info->bstrDescription != nullptr) message = fw::WideToUtf8(info->bstrDescription);
    if (message.empty() && FAILED(info->scode)) message = SystemMessage(info->scode);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrHelpFile);
  }
  if (message.empty()) message = SystemMessage(hr);
  throw app::EPlanilhaError(message);
}

DISPID IdOf(IDispatch* object, const wchar_t* name, LCID lcid) {
  DISPID id = DISPID_UNKNOWN;
  auto* n = const_cast<LPOLESTR>(name);
  HRESULT hr = object->GetIDsOfNames(IID_NULL, &n, 1, lcid, &id);
  if (FAILED(hr)) Fail(hr);
  return id;
}

// One late-bound call. `args` are in call order (reversed for Invoke).
void Invoke(IDispatch* object, DISPID member, WORD kind, std::vector<VARIANT> args, LCID lcid,
            VARIANT* result) {
  // The arguments are freed however the call ends; `reversed` shares them.
  struct TClear {
    std::vector<VARIANT>& args;
    ~TClear() {
      for (VARIANT& v : args)
        VariantClear(&v);
    }
  } clear{args};
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{};
  params.cArgs = static_cast<UINT>(reversed.size());
  params.rgvarg = reversed.empty() ? nullptr : reversed.data();
  DISPID put = DISPID_PROPERTYPUT;
  if (kind == DISPATCH_PROPERTYPUT) {
    params.cNamedArgs = 1;
    params.rgdispidNamedArgs = &put;
  }
  EXCEPINFO info{};
  UINT arg_error = 0;
  HRESULT hr = object->Invoke(member, IID_NULL, lcid, kind, &params, result, &info, &arg_error);
  if (FAILED(hr)) Fail(hr, hr == DISP_E_EXCEPTION ? &info : nullptr);
}

TComPtr<IDispatch> GetObject(IDispatch* object, DISPID member, WORD kind, std::vector<VARIANT> args,
                             LCID lcid) {
  TVariant result;
  Invoke(object, member, kind, std::move(args), lcid, &result.v);
  if (result.v.vt != VT_DISPATCH || result.v.pdispVal == nullptr) {
    throw app::EPlanilhaError("O Excel n\u00e3o devolveu o objeto pedido");
  }
  result.v.pdispVal->AddRef();
  return TComPtr<IDispatch>(result.v.pdispVal);
}

int32_t GetInt(IDispatch* object, DISPID member, LCID lcid) {
  TVariant result;
  Invoke(object, member, DISPATCH_PROPERTYGET, {}, lcid, &result.v);
  HRESULT hr = VariantChangeType(&result.v, &result.v, 0, VT_I4);
  if (FAILED(hr)) Fail(hr);
  return result.v.lVal;
}

// The text Excel shows for an error value (Value2 gives it as VT_ERROR with
// the error's number in the low word).
std::string ErrorText(SCODE code) {
  switch (code & 0xFFFF) {
    case 2000:
      return "#NULL!";
    case 2007:
      return "#DIV/0!";
    case 2015:
      return "#VALUE!";
    case 2023:
      return "#REF!";
    case 2029:
      return "#NAME?";
    case 2036:
      return "#NUM!";
    case 2042:
      return "#N/A";
    case 2043:
      return "#GETTING_DATA";
    case 2045:
      return "#SPILL!";
    case 2046:
      return "#CONNECT!";
    case 2047:
      return "#BLOCKED!";
    case 2048:
      return "#UNKNOWN!";
    case 2049:
      return "#FIELD!";
    case 2050:
      return "#CALC!";
    default:
      return "#ERRO";
  }
}

// The cell a value of Value2 stands for. Text goes into `text`, which the
// result's view then refers to; other kinds leave `text` alone. `value` may
// be converted in place.
app::TCellValue CellOf(VARIANT& value, std::string& text) {
  app::TCellValue cell;
  switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
      break;
    case VT_BSTR:
      text = value.bstrVal != nullptr
                 ? fw::WideToUtf8(std::wstring_view(value.bstrVal, SysStringLen(value.bstrVal)))
                 : std::string();
      cell.Kind = app::TCellKind::ckText;
      cell.Text = text;
      break;
    case VT_BOOL:
      cell.Kind = app::TCellKind::ckBoolean;
      cell.Number = value.boolVal != VARIANT_FALSE ? 1 : 0;
      break;
    case VT_ERROR:
      text = ErrorText(value.scode);
      cell.Kind = app::TCellKind::ckError;
      cell.Text = text;
      break;
    default: {
      HRESULT hr = VariantChangeType(&value, &value, 0, VT_R8);
      if (FAILED(hr)) Fail(hr);
      cell.Kind = app::TCellKind::ckNumber;
      cell.Number = value.dblVal;
      break;
    }
  }
  return cell;
}

// The values of a range as Value2 gives them: a two-dimensional array of
// VARIANTs, rows in the first dimension and columns in the second, or the
// value itself when the range is a single cell. The array's data stays
// locked while this lives, so it must go before the VARIANT holding it.
class TBlock {
 public:
  TBlock(VARIANT& value, int32_t rows, int32_t columns) : rows_(rows) {
    if (value.vt != (VT_ARRAY | VT_VARIANT)) {
      if (rows != 1 || columns != 1 || (value.vt & VT_ARRAY) != 0) Unexpected();
      single_ = &value;
      return;
    }
    SAFEARRAY* array = value.parray;
    if (array == nullptr || SafeArrayGetDim(array) != 2 || Extent(array, 1) != rows ||
        Extent(array, 2) != columns) {
      Unexpected();
    }
    void* data = nullptr;
    HRESULT hr = SafeArrayAccessData(array, &data);
    if (FAILED(hr)) Fail(hr);
    array_ = array;
    data_ = static_cast<VARIANT*>(data);
  }
  ~TBlock() {
    if (array_ != nullptr) SafeArrayUnaccessData(array_);
  }
  TBlock(const TBlock&) = delete;
  TBlock& operator=(const TBlock&) = delete;

  // Row and column from 0. The first dimension varies fastest in the
  // array's storage, so a column's cells lie next to each other.
  VARIANT& At(int32_t row, int32_t column) {
    if (single_ != nullptr) return *single_;
    return data_[static_cast<size_t>(column) * static_cast<size_t>(rows_) +
                 static_cast<size_t>(row)];
  }

 private:
  static int64_t Extent(SAFEARRAY* array, UINT dimension) {
    LONG lower = 0;
    LONG upper = -1;
    if (FAILED(SafeArrayGetLBound(array, dimension, &lower)) ||
        FAILED(SafeArrayGetUBound(array, dimension, &upper))) {
      return -1;
    }
    return static_cast<int64_t>(upper) - lower + 1;
  }
  [[noreturn]] static void Unexpected() {
    throw app::EPlanilhaError("O Excel devolveu os valores do intervalo num formato inesperado");
  }

  int32_t rows_;
  VARIANT* single_ = nullptr;
  SAFEARRAY* array_ = nullptr;
  VARIANT* data_ = nullptr;
};

}  // namespace

TExcelEngine::TExcelEngine(int32_t block_cells) : block_cells_(std::max(block_cells, 1)) {}

// The references are released; the workbooks stay open and Excel running.
TExcelEngine::~TExcelEngine() = default;

IDispatch* TExcelEngine::Application() {
  if (!excel_) {
    // A running Excel if there is one, else a new one.
    TComPtr<IUnknown> unknown;
    HRESULT hr = GetActiveObject(kExcelApplicationClass, nullptr, unknown.put());
    if (SUCCEEDED(hr)) {
      hr = unknown->QueryInterface(kExcelApplicationInterface,
                                   reinterpret_cast<void**>(excel_.put()));
    }
    if (FAILED(hr) || !excel_) {
      hr = CoCreateInstance(kExcelApplicationClass, nullptr,
                            CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, kExcelApplicationInterface,
                            reinterpret_cast<void**>(excel_.put()));
      if (FAILED(hr)) Fail(hr);
    }
  }
  return excel_.get();
}

void TExcelEngine::RequireWorkbook() const {
  if (!workbook_) throw app::EPlanilhaError("Nenhuma planilha aberta");
}

void TExcelEngine::RequireSheet() const {
  if (!sheet_) throw app::EPlanilhaError("Nenhuma aba selecionada");
}

void TExcelEngine::Open(const std::string& file_name) {
  lcid_ = GetUserDefaultLCID();
  IDispatch* excel = Application();
  Invoke(excel, IdOf(excel, L"DisplayAlerts", lcid_), DISPATCH_PROPERTYPUT, {Bool(false)}, lcid_,
         nullptr);
  TComPtr<IDispatch> workbooks =
      GetObject(excel, IdOf(excel, L"Workbooks", lcid_), DISPATCH_PROPERTYGET, {}, lcid_);
  // The file name and the 14 optional arguments, all omitted.
  std::vector<VARIANT> args;
  VARIANT name;
  VariantInit(&name);
  name.vt = VT_BSTR;
  name.bstrVal = SysAllocString(fw::Utf8ToWide(file_name).c_str());
  args.push_back(name);
  for (int i = 0; i < 14; ++i)
    args.push_back(Missing());
  TComPtr<IDispatch> workbook = GetObject(workbooks.get(), IdOf(workbooks.get(), L"Open", lcid_),
                                          DISPATCH_METHOD, std::move(args), lcid_);
  workbook_ = std::move(workbook);  // the previous one stays open
  sheet_.reset();
}

int32_t TExcelEngine::SheetCount() {
  RequireWorkbook();
  TComPtr<IDispatch> sheets =
      GetObject(workbook_.get(), IdOf(workbook_.get(), L"Worksheets", lcid_), DISPATCH_PROPERTYGET,
                {}, lcid_);
  return GetInt(sheets.get(), IdOf(sheets.get(), L"Count", lcid_), lcid_);
}

void TExcelEngine::AttachSheet(int32_t position) {
  RequireWorkbook();
  TComPtr<IDispatch> sheets =
      GetObject(workbook_.get(), IdOf(workbook_.get(), L"Worksheets", lcid_), DISPATCH_PROPERTYGET,
                {}, lcid_);
  TComPtr<IDispatch> item = GetObject(
      sheets.get(), DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Int(position)}, lcid_);
  TComPtr<IDispatch> sheet;
  HRESULT hr = item->QueryInterface(kWorksheetInterface, reinterpret_cast<void**>(sheet.put()));
  if (FAILED(hr)) Fail(hr);
  sheet_ = std::move(sheet);
}

std::string TExcelEngine::CurrentSheetName() {
  RequireSheet();
  TVariant name;
  Invoke(sheet_.get(), IdOf(sheet_.get(), L"Name", lcid_), DISPATCH_PROPERTYGET, {}, lcid_,
         &name.v);
  if (name.v.vt != VT_BSTR) return {};
  return fw::WideToUtf8(name.v.bstrVal != nullptr ? name.v.bstrVal : L"");
}

void TExcelEngine::ActivateCurrentSheet() {
  RequireSheet();
  Invoke(sheet_.get(), IdOf(sheet_.get(), L"Activate", lcid_), DISPATCH_METHOD, {}, lcid_, nullptr);
  IDispatch* excel = Application();
  Invoke(excel, IdOf(excel, L"ScreenUpdating", lcid_), DISPATCH_PROPERTYPUT, {Bool(true)}, lcid_,
         nullptr);
}

int32_t TExcelEngine::LastCell(DISPID member) {
  RequireSheet();
  TComPtr<IDispatch> cells =
      GetObject(sheet_.get(), IdOf(sheet_.get(), L"Cells", lcid_), DISPATCH_PROPERTYGET, {}, lcid_);
  TComPtr<IDispatch> last =
      GetObject(cells.get(), kSpecialCells, DISPATCH_METHOD, {Int(kLastCell), Missing()}, lcid_);
  Invoke(last.get(), kActivate, DISPATCH_METHOD, {}, lcid_, nullptr);
  IDispatch* excel = Application();
  TComPtr<IDispatch> active =
      GetObject(excel, IdOf(excel, L"ActiveCell", lcid_), DISPATCH_PROPERTYGET, {}, lcid_);
  return GetInt(active.get(), member, lcid_);
}

int32_t TExcelEngine::LastRow() {
  return LastCell(kRow);
}

int32_t TExcelEngine::LastColumn() {
  return LastCell(kColumn);
}

TComPtr<IDispatch> TExcelEngine::RangeOf(DISPID range_id, int32_t first_column, int32_t first_row,
                                         int32_t last_column, int32_t last_row) {
  const std::wstring refs[2] = {
      fw::Utf8ToWide(app::TDMCotrolaExcel::LetraColuna(first_column) + std::to_string(first_row)),
      fw::Utf8ToWide(app::TDMCotrolaExcel::LetraColuna(last_column) + std::to_string(last_row))};
  // Everything that may throw is done before the strings are allocated;
  // Invoke frees them.
  std::vector<VARIANT> args(2);
  for (size_t i = 0; i < 2; ++i) {
    VariantInit(&args[i]);
    args[i].vt = VT_BSTR;
    args[i].bstrVal = SysAllocString(refs[i].c_str());
  }
  return GetObject(sheet_.get(), range_id, DISPATCH_PROPERTYGET, std::move(args), lcid_);
}

app::TCellValue TExcelEngine::ReadCell(int32_t column, int32_t row) {
  RequireSheet();
  if (column < 1 || column > app::kMaxSheetColumns || row < 1 || row > app::kMaxSheetRows) {
    throw app::EPlanilhaError("C\u00e9lula fora da planilha: coluna " + std::to_string(column) +
                              ", linha " + std::to_string(row));
  }
  TComPtr<IDispatch> range = RangeOf(IdOf(sheet_.get(), L"Range", lcid_), column, row, column, row);
  TVariant value;
  Invoke(range.get(), kValue2, DISPATCH_PROPERTYGET, {}, lcid_, &value.v);
  return CellOf(value.v, text_);
}

void TExcelEngine::ReadRows(int32_t first_row, int32_t last_row, int32_t columns,
                            const app::TRowSink& sink) {
  RequireSheet();
  app::CheckRowBlock(first_row, last_row, columns);
  if (last_row < first_row) return;
  const auto n = static_cast<size_t>(columns);
  std::vector<app::TCellValue> values(n);
  std::vector<std::string> texts(n);  // the rows' texts, which the views refer to

  // Rows per call: the cell budget's worth, a whole row at least.
  const int64_t rows = static_cast<int64_t>(last_row) - first_row + 1;
  const int64_t chunk = columns == 0 ? rows : std::max<int64_t>(block_cells_ / columns, 1);
  // A block that takes more than one call stops at the last used row: the
  // rows below it hold nothing and are handed over without asking Excel.
  int32_t read_to = last_row;
  if (columns == 0) {
    read_to = first_row - 1;
  } else if (rows > chunk) {
    read_to = std::min(last_row, LastRow());
  }

  if (read_to >= first_row) {
    const DISPID range_id = IdOf(sheet_.get(), L"Range", lcid_);
    for (int32_t top = first_row; top <= read_to;) {
      const auto bottom =
          static_cast<int32_t>(std::min<int64_t>(read_to, static_cast<int64_t>(top) + chunk - 1));
      const int32_t height = bottom - top + 1;
      TVariant value;
      {
        TComPtr<IDispatch> range = RangeOf(range_id, 1, top, columns, bottom);
        Invoke(range.get(), kValue2, DISPATCH_PROPERTYGET, {}, lcid_, &value.v);
      }
      TBlock block(value.v, height, columns);
      for (int32_t r = 0; r < height; ++r) {
        for (int32_t k = 0; k < columns; ++k) {
          values[static_cast<size_t>(k)] = CellOf(block.At(r, k), texts[static_cast<size_t>(k)]);
        }
        sink(top + r, values);
      }
      if (bottom == read_to) break;
      top = bottom + 1;
    }
  }

  std::fill(values.begin(), values.end(), app::TCellValue());
  for (int32_t row = std::max(first_row, read_to + 1); row <= last_row; ++row) {
    sink(row, values);
  }
}

bool ExcelRegistrado() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{00024500-0000-0000-C000-000000000046}", 0,
                    KEY_READ, &key) != ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}
