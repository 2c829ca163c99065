#include "framework/registry.h"

#include "framework/buttons.h"
#include "framework/comctrls.h"
#include "framework/dialogs.h"
#include "framework/extctrls.h"
#include "framework/gauges.h"
#include "framework/reader.h"
#include "framework/stdctrls.h"

namespace fw {

void RegisterFrameworkClasses() {
  static const bool done = [] {
    RegisterColorConstants();
    RegisterClass<TPanel>();
    RegisterClass<TLabel>();
    RegisterClass<TEdit>();
    RegisterClass<TComboBox>();
    RegisterClass<TBitBtn>();
    RegisterClass<TStatusBar>();
    RegisterClass<TGauge>();
    RegisterClass<TImage>();
    RegisterClass<TOpenDialog>();
    return true;
  }();
  (void)done;
}

}  // namespace fw
