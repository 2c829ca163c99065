// Pictures of a generated skin for people: a contact sheet of every image
// (zoomed, magenta shown as it is stored) and a mock window put together from
// the images the way the frame and control painters cut them.
#pragma once

#include <string>

#include "tools/skingen/canvas.h"
#include "tools/skingen/skin_builder.h"

namespace skingen {

Canvas ContactSheet(const GeneratedSkin& skin, const std::string& title);
Canvas MockWindows(const GeneratedSkin& skin);

}  // namespace skingen
