// The skin a gallery window shows: a skin data component owned by the form,
// loaded as a stored description would load it.
#pragma once

#include <string>

#include "framework/forms.h"
#include "skin/data/win/skin_data_component.h"

namespace gallery {

// A skin data component of `owner` with the package `skin_file` (empty: the
// default skin embedded in the program). A package that cannot be loaded is
// told through the application's error box, and the form runs unskinned.
skin::win::TSkinData* CreateGallerySkin(fw::TForm* owner, const std::wstring& skin_file);

// The folder of the program (the skins are shipped beside it).
std::wstring ProgramFolder();

}  // namespace gallery
