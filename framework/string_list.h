// TStrings: an ordered list of texts. TStringList keeps them in memory;
// controls with items (combo boxes) derive their own lists from TStrings.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/object.h"

namespace fw {

class TStrings : public TPersistent {
 public:
  FW_CLASS_INFO(TStrings)
  void Assign(const TPersistent& source) override;

  virtual int Count() const = 0;
  virtual std::wstring Strings(int index) const = 0;
  virtual int Add(const std::wstring& s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  int IndexOf(const std::wstring& s) const;
  // The lines joined by CR LF; setting it splits at CR LF, CR or LF.
  std::wstring Text() const;
  void SetText(const std::wstring& text);
};

class TStringList : public TStrings {
 public:
  FW_CLASS_INFO(TStringList)
  int Count() const override { return static_cast<int>(items_.size()); }
  std::wstring Strings(int index) const override { return items_.at(static_cast<size_t>(index)); }
  int Add(const std::wstring& s) override;
  void Delete(int index) override;
  void Clear() override;

  // Called after every change.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::vector<std::wstring> items_;
};

}  // namespace fw
