#include "framework/dialogs.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "framework/forms.h"

namespace fw {

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

const TClassInfo& TOpenDialog::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TOpenDialog>("TOpenDialog", TComponent::StaticClassInfo())
          .Str("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
          .Str("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
          .Str("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
          .Str("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle)
          .Build();
  return info;
}

bool TOpenDialog::Execute() {
  // The filter's '|' separators become the NULs the dialog expects.
  std::wstring filter = filter_;
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.append(2, L'\0');
  std::vector<wchar_t> buffer(32768, L'\0');
  file_name_.copy(buffer.data(), std::min(file_name_.size(), buffer.size() - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  TForm* owner_form = Screen().ActiveForm();
  if (owner_form == nullptr && Application() != nullptr) owner_form = Application()->MainForm();
  ofn.hwndOwner = owner_form != nullptr && owner_form->HandleAllocated() ? owner_form->Handle()
                                                                         : GetActiveWindow();
  ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = initial_dir_.empty() ? nullptr : initial_dir_.c_str();
  ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!GetOpenFileNameW(&ofn)) return false;
  file_name_ = buffer.data();
  return true;
}

namespace {

void Box(const std::wstring& text, const wchar_t* title, UINT icon) {
  MessageBoxW(GetActiveWindow(), text.c_str(), title, MB_OK | icon | MB_TASKMODAL);
}

}  // namespace

void ShowWarning(const std::wstring& text) {
  Box(text, L"Warning", MB_ICONWARNING);
}
void ShowError(const std::wstring& text) {
  Box(text, L"Error", MB_ICONERROR);
}
void ShowInformation(const std::wstring& text) {
  Box(text, L"Information", MB_ICONINFORMATION);
}

}  // namespace fw
