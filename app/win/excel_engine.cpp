#include "app/win/excel_engine.h"

#include <oleauto.h>

#include <utility>
#include <vector>

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
  for (VARIANT& v : args)
    VariantClear(&v);
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
    default:
      return "#ERRO";
  }
}

}  // namespace

TExcelEngine::TExcelEngine() = default;

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
  if (!sheet_) throw app::EPlanilhaError("Nenhuma aba selecionada");
  TVariant name;
  Invoke(sheet_.get(), IdOf(sheet_.get(), L"Name", lcid_), DISPATCH_PROPERTYGET, {}, lcid_,
         &name.v);
  if (name.v.vt != VT_BSTR) return {};
  return fw::WideToUtf8(name.v.bstrVal != nullptr ? name.v.bstrVal : L"");
}

void TExcelEngine::ActivateCurrentSheet() {
  if (!sheet_) throw app::EPlanilhaError("Nenhuma aba selecionada");
  Invoke(sheet_.get(), IdOf(sheet_.get(), L"Activate", lcid_), DISPATCH_METHOD, {}, lcid_, nullptr);
  IDispatch* excel = Application();
  Invoke(excel, IdOf(excel, L"ScreenUpdating", lcid_), DISPATCH_PROPERTYPUT, {Bool(true)}, lcid_,
         nullptr);
}

int32_t TExcelEngine::LastCell(DISPID member) {
  if (!sheet_) throw app::EPlanilhaError("Nenhuma aba selecionada");
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

std::string TExcelEngine::ColumnLetters(int32_t column) {
  std::string letters;
  for (int32_t n = column; n > 0; n = (n - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  }
  return letters;
}

app::TCellValue TExcelEngine::ReadCell(int32_t column, int32_t row) {
  if (!sheet_) throw app::EPlanilhaError("Nenhuma aba selecionada");
  if (column < 1 || column > app::kMaxSheetColumns || row < 1 || row > app::kMaxSheetRows) {
    throw app::EPlanilhaError("C\u00e9lula fora da planilha: coluna " + std::to_string(column) +
                              ", linha " + std::to_string(row));
  }
  std::wstring ref = fw::Utf8ToWide(ColumnLetters(column) + std::to_string(row));
  auto text_arg = [&] {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(ref.c_str());
    return v;
  };
  TComPtr<IDispatch> range = GetObject(sheet_.get(), IdOf(sheet_.get(), L"Range", lcid_),
                                       DISPATCH_PROPERTYGET, {text_arg(), text_arg()}, lcid_);
  TVariant value;
  Invoke(range.get(), kValue2, DISPATCH_PROPERTYGET, {}, lcid_, &value.v);
  app::TCellValue cell;
  switch (value.v.vt) {
    case VT_EMPTY:
    case VT_NULL:
      break;
    case VT_BSTR:
      text_ = fw::WideToUtf8(value.v.bstrVal != nullptr ? value.v.bstrVal : L"");
      cell.Kind = app::TCellKind::ckText;
      cell.Text = text_;
      break;
    case VT_BOOL:
      cell.Kind = app::TCellKind::ckBoolean;
      cell.Number = value.v.boolVal != VARIANT_FALSE ? 1 : 0;
      break;
    case VT_ERROR:
      text_ = ErrorText(value.v.scode);
      cell.Kind = app::TCellKind::ckError;
      cell.Text = text_;
      break;
    default: {
      HRESULT hr = VariantChangeType(&value.v, &value.v, 0, VT_R8);
      if (FAILED(hr)) Fail(hr);
      cell.Kind = app::TCellKind::ckNumber;
      cell.Number = value.v.dblVal;
      break;
    }
  }
  return cell;
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
