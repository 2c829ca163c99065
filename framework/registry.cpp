#include "framework/registry.h"

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/extctrls.h"
#include "framework/gauges.h"
#include "framework/imglist.h"
#include "framework/listviews.h"
#include "framework/menus.h"
#include "framework/panels.h"
#include "framework/reader.h"
#include "framework/scrolling.h"
#include "framework/std_buttons.h"
#include "framework/stdctrls.h"
#include "framework/tabs.h"
#include "framework/timers.h"
#include "framework/toolbar.h"

namespace fw {

void RegisterFrameworkClasses() {
  static const bool done = [] {
    RegisterColorConstants();
    RegisterComponentClass<TPanel>();
    RegisterComponentClass<TGroupBox>();
    RegisterComponentClass<TRadioGroup>();
    RegisterComponentClass<TLabel>();
    RegisterComponentClass<TEdit>();
    RegisterComponentClass<TMemo>();
    RegisterComponentClass<TComboBox>();
    RegisterComponentClass<TListBox>();
    RegisterComponentClass<TScrollBar>();
    RegisterComponentClass<TScrollBox>();
    RegisterComponentClass<TButton>();
    RegisterComponentClass<TCheckBox>();
    RegisterComponentClass<TRadioButton>();
    RegisterComponentClass<TBitBtn>();
    RegisterComponentClass<TSpeedButton>();
    RegisterComponentClass<TStatusBar>();
    RegisterComponentClass<TProgressBar>();
    RegisterComponentClass<TTrackBar>();
    RegisterComponentClass<TUpDown>();
    RegisterComponentClass<TTabControl>();
    RegisterComponentClass<TPageControl>();
    RegisterComponentClass<TTabSheet>();
    RegisterComponentClass<TListView>();
    RegisterComponentClass<TTreeView>();
    RegisterComponentClass<TToolBar>();
    RegisterComponentClass<TToolButton>();
    RegisterComponentClass<TTimer>();
    RegisterComponentClass<TGauge>();
    RegisterComponentClass<TImage>();
    RegisterComponentClass<TOpenDialog>();
    RegisterComponentClass<TMainMenu>();
    RegisterComponentClass<TPopupMenu>();
    RegisterComponentClass<TMenuItem>();
    RegisterComponentClass<TImageList>();
    return true;
  }();
  (void)done;
}

}  // namespace fw
