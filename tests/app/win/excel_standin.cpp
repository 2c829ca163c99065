#include "tests/app/win/excel_standin.h"

#include <oleauto.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <memory>
#include <span>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "app/spreadsheet_engine.h"
#include "app/workbook/file_engine.h"
#include "framework/strings.h"

namespace {

constexpr CLSID kExcelApplicationClass = {
    0x00024500, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kExcelApplicationInterface = {
    0x000208D5, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kWorksheetInterface = {
    0x000208D8, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Fails a call the way the server does: DISP_E_EXCEPTION with a message.
struct EServer : std::runtime_error {
  using std::runtime_error::runtime_error;
};

using TArgs = std::vector<VARIANT*>;  // in call order

class TObjectBase : public IDispatch {
 public:
  TObjectBase(TStandInLog& log, std::map<std::wstring, DISPID> names, IID extra = IID_NULL)
      : log_(log), names_(std::move(names)), extra_(extra) {}
  virtual ~TObjectBase() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDispatch || (extra_ != IID_NULL && riid == extra_)) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG n = --refs_;
    if (n == 0) delete this;
    return n;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
      std::wstring n = names[i];
      for (auto& c : n)
        c = static_cast<wchar_t>(std::towlower(c));
      auto it = names_.find(n);
      ids[i] = it == names_.end() ? DISPID_UNKNOWN : it->second;
      if (it == names_.end()) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* info, UINT*) override {
    log_.lcid = lcid;
    TArgs args;
    for (UINT i = params->cArgs; i > params->cNamedArgs; --i)
      args.push_back(&params->rgvarg[i - 1]);
    if (params->cNamedArgs == 1) args.push_back(&params->rgvarg[0]);  // the value put
    try {
      return Call(id, flags, args, result);
    } catch (const std::exception& e) {
      if (info != nullptr) {
        *info = EXCEPINFO{};
        info->bstrSource = SysAllocString(L"Microsoft Excel");
        info->bstrDescription = SysAllocString(fw::Utf8ToWide(e.what()).c_str());
        info->scode = static_cast<SCODE>(0x800A03EC);
      }
      return DISP_E_EXCEPTION;
    }
  }

 protected:
  virtual HRESULT Call(DISPID id, WORD flags, const TArgs& args, VARIANT* result) = 0;

  static void Return(VARIANT* result, IDispatch* object) {
    if (result == nullptr) {
      object->Release();
      return;
    }
    VariantInit(result);
    result->vt = VT_DISPATCH;
    result->pdispVal = object;  // the reference made by new passes to the caller
  }
  static int32_t IntArg(const TArgs& args, size_t i) {
    if (i >= args.size()) throw EServer("Missing argument");
    VARIANT v;
    VariantInit(&v);
    if (FAILED(VariantChangeType(&v, args[i], 0, VT_I4))) throw EServer("Type mismatch");
    return v.lVal;
  }
  void Log(const wchar_t* name) { log_.calls.push_back(name); }

  TStandInLog& log_;

 private:
  std::map<std::wstring, DISPID> names_;
  IID extra_;
  ULONG refs_ = 1;
};

struct TWorkbookData {
  std::unique_ptr<app::TSpreadsheetEngine> engine = app::CreateFileEngine();
};

class TApp;

// A cell's value as Value2 gives it.
void PutValue(const app::TCellValue& cell, VARIANT* out) {
  VariantInit(out);
  switch (cell.Kind) {
    case app::TCellKind::ckEmpty:
      break;
    case app::TCellKind::ckText:
      out->vt = VT_BSTR;
      out->bstrVal = SysAllocString(fw::Utf8ToWide(cell.Text).c_str());
      break;
    case app::TCellKind::ckNumber:
      out->vt = VT_R8;
      out->dblVal = cell.Number;
      break;
    case app::TCellKind::ckBoolean:
      out->vt = VT_BOOL;
      out->boolVal = cell.Number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case app::TCellKind::ckError: {
      // Error values carry the error's number in the low word.
      static const std::map<std::string_view, int> kCodes = {
          {"#NULL!", 2000}, {"#DIV/0!", 2007}, {"#VALUE!", 2015}, {"#REF!", 2023}, {"#NAME?", 2029},
          {"#NUM!", 2036},  {"#N/A", 2042},    {"#SPILL!", 2045}, {"#CALC!", 2050}};
      auto it = kCodes.find(cell.Text);
      out->vt = VT_ERROR;
      out->scode = static_cast<SCODE>(0x800A0000u | (it == kCodes.end() ? 2042 : it->second));
      break;
    }
  }
}

std::wstring Reference(int col, int row) {
  std::wstring letters;
  for (int n = col; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<wchar_t>(L'A' + (n - 1) % 26));
  return letters + std::to_wstring(row);
}

// The cells from (col1, row1) to (col2, row2); one cell when they are equal.
class TRange : public TObjectBase {
 public:
  TRange(TStandInLog& log, TApp* app, std::shared_ptr<TWorkbookData> book, int sheet, int col,
         int row)
      : TRange(log, app, std::move(book), sheet, col, row, col, row) {}
  TRange(TStandInLog& log, TApp* app, std::shared_ptr<TWorkbookData> book, int sheet, int col1,
         int row1, int col2, int row2)
      : TObjectBase(log, {}),
        app_(app),
        book_(std::move(book)),
        sheet_(sheet),
        col_(col1),
        row_(row1),
        col2_(col2),
        row2_(row2) {}

 protected:
  HRESULT Call(DISPID id, WORD flags, const TArgs& args, VARIANT* result) override;

 private:
  void Values(VARIANT* result);

  TApp* app_;
  std::shared_ptr<TWorkbookData> book_;
  int sheet_, col_, row_, col2_, row2_;
};

class TApp : public TObjectBase {
 public:
  explicit TApp(TStandInLog& log)
      : TObjectBase(
            log,
            {{L"displayalerts", 1}, {L"workbooks", 2}, {L"screenupdating", 3}, {L"activecell", 4}},
            kExcelApplicationInterface) {}
  ~TApp() override {
    if (active_cell_ != nullptr) active_cell_->Release();
  }
  void SetActiveCell(IDispatch* cell) {
    cell->AddRef();
    if (active_cell_ != nullptr) active_cell_->Release();
    active_cell_ = cell;
  }

 protected:
  HRESULT Call(DISPID id, WORD flags, const TArgs& args, VARIANT* result) override;

 private:
  IDispatch* active_cell_ = nullptr;
};

class TSheet : public TObjectBase {
 public:
  TSheet(TStandInLog& log, TApp* app, std::shared_ptr<TWorkbookData> book, int index)
      : TObjectBase(log, {{L"name", 40}, {L"activate", 41}, {L"cells", 42}, {L"range", 43}},
                    kWorksheetInterface),
        app_(app),
        book_(std::move(book)),
        index_(index) {
    app_->AddRef();
  }
  ~TSheet() override { app_->Release(); }

 protected:
  HRESULT Call(DISPID id, WORD, const TArgs& args, VARIANT* result) override {
    switch (id) {
      case 40: {
        Log(L"Name");
        book_->engine->AttachSheet(index_);
        VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(fw::Utf8ToWide(book_->engine->CurrentSheetName()).c_str());
        return S_OK;
      }
      case 41:
        Log(L"Activate");
        log_.active_sheet = index_;
        return S_OK;
      case 42:
        Log(L"Cells");
        Return(result, new TRange(log_, app_, book_, index_, 0, 0));
        return S_OK;
      case 43: {
        Log(L"Range");
        if (args.size() != 2 || args[0]->vt != VT_BSTR || args[1]->vt != VT_BSTR) {
          throw EServer("Range: two references expected");
        }
        auto [col1, row1] = Parse(args[0]->bstrVal);
        auto [col2, row2] = Parse(args[1]->bstrVal);
        // Either pair of opposite corners names the same range.
        Return(result,
               new TRange(log_, app_, book_, index_, std::min(col1, col2), std::min(row1, row2),
                          std::max(col1, col2), std::max(row1, row2)));
        return S_OK;
      }
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
  }

 private:
  // "AT500" as column and row; a reference outside the worksheet fails.
  static std::pair<int, int> Parse(const std::wstring& ref) {
    int col = 0;
    size_t i = 0;
    while (i < ref.size() && ref[i] >= L'A' && ref[i] <= L'Z' && col <= 16384)
      col = col * 26 + (ref[i++] - L'A' + 1);
    int row = 0;
    while (i < ref.size() && ref[i] >= L'0' && ref[i] <= L'9' && row <= 1048576)
      row = row * 10 + (ref[i++] - L'0');
    if (col == 0 || row == 0 || i != ref.size() || col > 16384 || row > 1048576) {
      throw EServer("Method 'Range' of object '_Worksheet' failed");
    }
    return {col, row};
  }

  TApp* app_;
  std::shared_ptr<TWorkbookData> book_;
  int index_;
};

class TSheets : public TObjectBase {
 public:
  TSheets(TStandInLog& log, TApp* app, std::shared_ptr<TWorkbookData> book)
      : TObjectBase(log, {{L"count", 30}, {L"item", DISPID_VALUE}}),
        app_(app),
        book_(std::move(book)) {}

 protected:
  HRESULT Call(DISPID id, WORD, const TArgs& args, VARIANT* result) override {
    if (id == 30) {
      Log(L"Count");
      VariantInit(result);
      result->vt = VT_I4;
      result->lVal = book_->engine->SheetCount();
      return S_OK;
    }
    if (id == DISPID_VALUE) {
      Log(L"Item");
      int k = IntArg(args, 0);
      if (k < 1 || k > book_->engine->SheetCount()) throw EServer("Subscript out of range");
      Return(result, new TSheet(log_, app_, book_, k));
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  TApp* app_;
  std::shared_ptr<TWorkbookData> book_;
};

class TWorkbook : public TObjectBase {
 public:
  TWorkbook(TStandInLog& log, TApp* app, std::shared_ptr<TWorkbookData> book)
      : TObjectBase(log, {{L"worksheets", 20}}), app_(app), book_(std::move(book)) {}

 protected:
  HRESULT Call(DISPID id, WORD, const TArgs&, VARIANT* result) override {
    if (id != 20) return DISP_E_MEMBERNOTFOUND;
    Log(L"Worksheets");
    Return(result, new TSheets(log_, app_, book_));
    return S_OK;
  }

 private:
  TApp* app_;
  std::shared_ptr<TWorkbookData> book_;
};

class TWorkbooks : public TObjectBase {
 public:
  TWorkbooks(TStandInLog& log, TApp* app) : TObjectBase(log, {{L"open", 10}}), app_(app) {}

 protected:
  HRESULT Call(DISPID id, WORD, const TArgs& args, VARIANT* result) override {
    if (id != 10) return DISP_E_MEMBERNOTFOUND;
    Log(L"Open");
    log_.open_args = static_cast<UINT>(args.size());
    if (args.empty() || args[0]->vt != VT_BSTR) throw EServer("Open: file name expected");
    for (size_t i = 1; i < args.size(); ++i) {
      if (args[i]->vt != VT_ERROR || args[i]->scode != DISP_E_PARAMNOTFOUND) {
        throw EServer("Open: only the file name is given");
      }
    }
    auto book = std::make_shared<TWorkbookData>();
    try {
      book->engine->Open(fw::WideToUtf8(args[0]->bstrVal));
    } catch (const std::exception& e) {
      throw EServer(std::string("Excel cannot open the file: ") + e.what());
    }
    Return(result, new TWorkbook(log_, app_, book));
    return S_OK;
  }

 private:
  TApp* app_;
};

HRESULT TApp::Call(DISPID id, WORD flags, const TArgs& args, VARIANT* result) {
  switch (id) {
    case 1:
      Log(L"DisplayAlerts");
      if (!(flags & DISPATCH_PROPERTYPUT) || args.size() != 1) throw EServer("DisplayAlerts: put");
      log_.display_alerts = args[0]->boolVal != VARIANT_FALSE;
      return S_OK;
    case 2:
      Log(L"Workbooks");
      Return(result, new TWorkbooks(log_, this));
      return S_OK;
    case 3:
      Log(L"ScreenUpdating");
      if (!(flags & DISPATCH_PROPERTYPUT) || args.size() != 1) throw EServer("ScreenUpdating: put");
      log_.screen_updating = args[0]->boolVal != VARIANT_FALSE;
      return S_OK;
    case 4:
      Log(L"ActiveCell");
      if (active_cell_ == nullptr) throw EServer("No active cell");
      active_cell_->AddRef();
      Return(result, active_cell_);
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT TRange::Call(DISPID id, WORD, const TArgs& args, VARIANT* result) {
  switch (id) {
    case 0x19A: {
      Log(L"SpecialCells");
      if (IntArg(args, 0) != 11 || args.size() != 2 || args[1]->vt != VT_ERROR) {
        throw EServer("SpecialCells: only the last cell is known here");
      }
      book_->engine->AttachSheet(sheet_);
      Return(result, new TRange(log_, app_, book_, sheet_, book_->engine->LastColumn(),
                                book_->engine->LastRow()));
      return S_OK;
    }
    case 0x130:
      Log(L"Activate");
      app_->SetActiveCell(this);
      return S_OK;
    case 0x101:
    case 0xF0:
      Log(id == 0x101 ? L"Row" : L"Column");
      VariantInit(result);
      result->vt = VT_I4;
      result->lVal = id == 0x101 ? row_ : col_;
      return S_OK;
    case 0x56C:
      Log(L"Value2");
      Values(result);
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

// Value2: the value itself for one cell, else a two-dimensional array of
// values, rows in the first dimension and columns in the second, both from 1.
void TRange::Values(VARIANT* result) {
  log_.value2.push_back(col_ == col2_ && row_ == row2_
                            ? Reference(col_, row_)
                            : Reference(col_, row_) + L":" + Reference(col2_, row2_));
  if (log_.value2.size() == log_.fail_value2_at) {
    throw EServer("The server is busy reading " + fw::WideToUtf8(log_.value2.back()));
  }
  book_->engine->AttachSheet(sheet_);
  if (col_ == col2_ && row_ == row2_) {
    PutValue(book_->engine->ReadCell(col_, row_), result);
    return;
  }
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(row2_ - row_ + 1), 1},
                              {static_cast<ULONG>(col2_ - col_ + 1), 1}};
  std::unique_ptr<SAFEARRAY, decltype(&SafeArrayDestroy)> array(
      SafeArrayCreate(VT_VARIANT, 2, bounds), &SafeArrayDestroy);
  if (!array) throw EServer("Not enough memory");
  book_->engine->ReadRows(row_, row2_, col2_, [&](int32_t row, std::span<const app::TCellValue> v) {
    for (int col = col_; col <= col2_; ++col) {
      VARIANT value;
      PutValue(v[static_cast<size_t>(col - 1)], &value);
      // Placed through the array's own indexing, so the reader's layout is
      // checked against it.
      LONG at[2] = {row - row_ + 1, col - col_ + 1};
      HRESULT hr = SafeArrayPutElement(array.get(), at, &value);
      VariantClear(&value);
      if (FAILED(hr)) throw EServer("SafeArrayPutElement failed");
    }
  });
  VariantInit(result);
  result->vt = VT_ARRAY | VT_VARIANT;
  result->parray = array.release();
}

class TFactory : public IClassFactory {
 public:
  TFactory(TStandInLog& log) : log_(log) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    ++log_.factory_creations;
    auto* app = new TApp(log_);
    HRESULT hr = app->QueryInterface(riid, out);
    app->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  TStandInLog& log_;
};

}  // namespace

struct TExcelStandIn::TImpl {
  TStandInLog log;
  TFactory factory{log};
  TApp* running = nullptr;
  DWORD factory_cookie = 0;
  DWORD running_cookie = 0;
};

TExcelStandIn::TExcelStandIn() : impl_(new TImpl) {}

TExcelStandIn::~TExcelStandIn() {
  Revoke();
  delete impl_;
}

TStandInLog& TExcelStandIn::Log() {
  return impl_->log;
}

void TExcelStandIn::Register(bool running, bool factory) {
  if (factory) {
    CoRegisterClassObject(kExcelApplicationClass, &impl_->factory, CLSCTX_LOCAL_SERVER,
                          REGCLS_MULTIPLEUSE, &impl_->factory_cookie);
  }
  if (running) {
    impl_->running = new TApp(impl_->log);
    RegisterActiveObject(impl_->running, kExcelApplicationClass, ACTIVEOBJECT_STRONG,
                         &impl_->running_cookie);
  }
}

void TExcelStandIn::Revoke() {
  if (impl_->factory_cookie != 0) CoRevokeClassObject(impl_->factory_cookie);
  if (impl_->running_cookie != 0) RevokeActiveObject(impl_->running_cookie, nullptr);
  impl_->factory_cookie = impl_->running_cookie = 0;
  if (impl_->running != nullptr) impl_->running->Release();
  impl_->running = nullptr;
}
