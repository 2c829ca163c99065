// TToolBar: the common control's tool bar holding TToolButtons. Buttons are
// controls of the bar that the bar's window draws; each keeps its caption,
// image (from the bar's Images), style and OnClick.
//
//   auto* bar = new fw::TToolBar(form);
//   auto* open = new fw::TToolButton(form);
//   open->SetToolBar(bar);
//   open->SetCaption(L"Abrir");
#pragma once

#include <functional>
#include <vector>

#include "framework/controls.h"
#include "framework/imglist.h"

namespace fw {

class TMainMenu;
class TMenuItem;
class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TToolButton : public TControl {
  FW_CLASS_INFO(TToolButton)

 public:
  explicit TToolButton(TComponent* owner);
  ~TToolButton() override;

  TToolBar* ToolBar() const { return tool_bar_; }
  void SetToolBar(TToolBar* bar);
  void SetParentComponent(TComponent* parent) override;
  int32_t ImageIndex() const { return image_index_; }
  void SetImageIndex(int32_t v);
  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle v);
  bool Down() const;
  void SetDown(bool v);
  TMenuItem* MenuItem() const { return menu_item_; }
  void SetMenuItem(TMenuItem* item) { menu_item_ = item; }
  // The identifier the bar's window knows the button by.
  int Command() const { return command_; }
  // Where the bar's window shows the button (client coordinates of the bar).
  RECT ItemRect() const;

  void Click() override;

 protected:
  void SetTextValue(const std::wstring& text) override;

 private:
  friend class TToolBar;
  TToolBar* tool_bar_ = nullptr;
  int32_t image_index_ = -1;
  TToolButtonStyle style_ = tbsButton;
  bool down_ = false;
  TMenuItem* menu_item_ = nullptr;
  int command_;
};

// The state of a button being drawn by a custom-draw handler.
enum : uint32_t {
  cdsSelected = 1,
  cdsGrayed = 2,
  cdsDisabled = 4,
  cdsChecked = 8,
  cdsFocused = 16,
  cdsDefault = 32,
  cdsHot = 64,
  cdsMarked = 128,
  cdsIndeterminate = 256,
};
using TCustomDrawState = uint32_t;
// Draws a button; leaving DefaultDraw true lets the bar draw the rest.
using TTBCustomDrawBtnEvent = std::function<void(TToolBar* sender, TToolButton* button,
                                                 TCustomDrawState state, bool& default_draw)>;

class TToolBar : public TWinControl {
  FW_CLASS_INFO(TToolBar)

 public:
  explicit TToolBar(TComponent* owner);
  bool IsContainer() const override { return true; }
  ~TToolBar() override;

  bool Flat() const { return flat_; }
  void SetFlat(bool v);
  bool ShowCaptions() const { return show_captions_; }
  void SetShowCaptions(bool v);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* images);
  TObject* ImagesObject() const { return images_; }
  void SetImagesObject(TObject* v) { SetImages(dynamic_cast<TImageList*>(v)); }
  // A menu whose top items the bar shows as buttons (a menu bar on a bar).
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* menu);
  TObject* MenuObject() const;
  void SetMenuObject(TObject* v);

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TToolButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }
  // The canvas a custom-draw handler paints on (valid while it runs).
  TCanvas* Canvas() { return &canvas_; }

  TTBCustomDrawBtnEvent OnCustomDrawButton;

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;
  void WndProc(TMessage& message) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TToolButton;
  void InsertButton(TToolButton* button);
  void RemoveButton(TToolButton* button);
  void UpdateButtons();
  LRESULT CustomDraw(NMTBCUSTOMDRAW& cd);

  std::vector<TToolButton*> buttons_;
  bool flat_ = false;
  bool show_captions_ = false;
  TImageList* images_ = nullptr;
  TMainMenu* menu_ = nullptr;
  TCanvas canvas_;
};

}  // namespace fw
