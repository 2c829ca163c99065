// The menu loop of a menu band's open drop-down, for the band's own files:
// the process-wide state the message-filter hook works on.
#pragma once

#include "skin/window/menu_bar.h"

namespace skin::win {

TMenuLoopState& MenuLoop();

// A band that goes while its drop-down is open is forgotten by the loop,
// which then only ends.
void ForgetMenuLoopBar(const TWinSkinMenu* bar);

}  // namespace skin::win
