// Tab controls: TTabControl (a row of tabs over one area, the program shows
// what a tab stands for) and TPageControl (one TTabSheet per tab, the active
// sheet shown in the area).
//
//   auto* pages = new fw::TPageControl(form);
//   auto* sheet = new fw::TTabSheet(form);
//   sheet->SetPageControl(pages);          // a tab "Geral" shows it
//   sheet->SetCaption(L"Geral");
#pragma once

#include <string>
#include <vector>

#include "framework/controls.h"
#include "framework/string_list.h"

namespace fw {

class TCustomTabControl : public TWinControl {
  FW_CLASS_INFO(TCustomTabControl)

 public:
  explicit TCustomTabControl(TComponent* owner);
  bool IsContainer() const override { return true; }

  int32_t TabIndex() const;
  void SetTabIndex(int32_t index);
  // The area under the tabs, in client coordinates.
  RECT DisplayRect();

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;
  RECT AlignRect() override;
  // The tab texts, in order.
  virtual std::vector<std::wstring> TabTexts() = 0;
  virtual void Change();
  // Puts TabTexts into the window.
  void UpdateTabs();

 private:
  int32_t tab_index_ = -1;
};

class TTabControl : public TCustomTabControl {
  FW_CLASS_INFO(TTabControl)

 public:
  explicit TTabControl(TComponent* owner);
  TStrings* Tabs() { return &tabs_; }

 protected:
  std::vector<std::wstring> TabTexts() override;

 private:
  TStringList tabs_;
};

class TPageControl;

class TTabSheet : public TWinControl {
  FW_CLASS_INFO(TTabSheet)

 public:
  explicit TTabSheet(TComponent* owner);
  bool IsContainer() const override { return true; }
  ~TTabSheet() override;

  TPageControl* PageControl() const { return page_control_; }
  void SetPageControl(TPageControl* control);
  TObject* PageControlObject() const;
  void SetPageControlObject(TObject* control);
  int32_t PageIndex() const;
  bool TabVisible() const { return tab_visible_; }
  void SetTabVisible(bool v);
  void SetParentComponent(TComponent* parent) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void SetTextValue(const std::wstring& text) override;

 private:
  TPageControl* page_control_ = nullptr;
  bool tab_visible_ = true;
};

class TPageControl : public TCustomTabControl {
  FW_CLASS_INFO(TPageControl)

 public:
  explicit TPageControl(TComponent* owner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const { return active_; }
  void SetActivePage(TTabSheet* page);
  TObject* ActivePageObject() const { return active_; }
  void SetActivePageObject(TObject* page) { SetActivePage(dynamic_cast<TTabSheet*>(page)); }

 protected:
  std::vector<std::wstring> TabTexts() override;
  void Change() override;
  void AlignControls() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void PageChanged();
  std::vector<TTabSheet*> VisiblePages() const;

  std::vector<TTabSheet*> pages_;
  TTabSheet* active_ = nullptr;
};

}  // namespace fw
