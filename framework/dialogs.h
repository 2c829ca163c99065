// Common dialogs and message boxes.
#pragma once

#include <string>

#include "framework/component.h"

namespace fw {

// The file-open dialog. Filter is "description|patterns|description|patterns".
class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* owner);
  FW_CLASS_INFO(TOpenDialog)

  const std::wstring& Filter() const { return filter_; }
  void SetFilter(const std::wstring& v) { filter_ = v; }
  const std::wstring& FileName() const { return file_name_; }
  void SetFileName(const std::wstring& v) { file_name_ = v; }
  const std::wstring& InitialDir() const { return initial_dir_; }
  void SetInitialDir(const std::wstring& v) { initial_dir_ = v; }
  const std::wstring& Title() const { return title_; }
  void SetTitle(const std::wstring& v) { title_ = v; }

  // Shows the dialog; true and FileName set when a file was chosen.
  bool Execute();

 private:
  std::wstring filter_;
  std::wstring file_name_;
  std::wstring initial_dir_;
  std::wstring title_;
};

// Modal boxes with one "OK" button, owned by the active window.
void ShowWarning(const std::wstring& text);      // title "Warning"
void ShowError(const std::wstring& text);        // title "Error"
void ShowInformation(const std::wstring& text);  // title "Information"

}  // namespace fw
