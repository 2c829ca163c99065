// The gallery's coverage run: with the form shown, its plain dialog box open
// and a message box open over that, the skin engine's coverage report is
// written to a file; then everything closes and the program ends.
#pragma once

#include <windows.h>

#include <string>

#include "framework/timers.h"

namespace gallery {

class TGalleryForm;

class TCoverageRun {
 public:
  TCoverageRun(TGalleryForm& form, std::wstring file);
  TCoverageRun(const TCoverageRun&) = delete;
  TCoverageRun& operator=(const TCoverageRun&) = delete;

  // Starts the run once the message loop is going.
  void Start();
  bool Written() const { return written_; }

 private:
  void OpenDialog();
  void OpenMessageBox();
  void Write();

  TGalleryForm& form_;
  std::wstring file_;
  HWND dialog_ = nullptr;
  bool written_ = false;
  fw::TTimerHandle timer_;
};

}  // namespace gallery
