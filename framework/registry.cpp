#include "framework/registry.h"

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/extctrls.h"
#include "framework/gauges.h"
#include "framework/imglist.h"
#include "framework/menus.h"
#include "framework/reader.h"
#include "framework/stdctrls.h"

namespace fw {

void RegisterFrameworkClasses() {
  static const bool done = [] {
    RegisterColorConstants();
    RegisterComponentClass<TPanel>();
    RegisterComponentClass<TLabel>();
    RegisterComponentClass<TEdit>();
    RegisterComponentClass<TComboBox>();
    RegisterComponentClass<TBitBtn>();
    RegisterComponentClass<TStatusBar>();
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
