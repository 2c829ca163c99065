// Helpers of the window skinning tests: a generated skin loaded into a skin
// data component, a controller attached to a window the way the skin manager
// attaches it, the window's pixels as it shows them, and pixel comparisons
// that save the picture when they fail.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/component.h"
#include "framework/forms.h"
#include "skin/data/bitmap.h"
#include "skin/data/win/skin_data_component.h"
#include "skin/window/win_skin_form.h"

namespace skin::win::fixtures {

// The description of a form the size of the updater's main window (584 x
// 279 client, sizeable), captioned "Atualiza E-mails"; `extra` adds
// properties and components.
std::string FormDescription(const std::string& extra = "");

// A main menu for FormDescription: "&Arquivo" with "&Abrir", "&Editar"
// hidden, "A&juda" disabled with "&Sobre".
inline constexpr const char* kMenuDescription = R"(  Menu = MainMenu1
  object MainMenu1: TMainMenu
    object Arquivo: TMenuItem
      Caption = '&Arquivo'
      object Abrir: TMenuItem
        Caption = '&Abrir'
      end
    end
    object Editar: TMenuItem
      Caption = '&Editar'
      Visible = False
    end
    object Ajuda: TMenuItem
      Caption = 'A&juda'
      Enabled = False
      object Sobre: TMenuItem
        Caption = '&Sobre'
      end
    end
  end
)";

// A skin data component holding build/<preset>/skins/<file>.
fw::TOwned<TSkinData> LoadSkin(const std::string& file);

// Attaches a controller to `wnd` (a framework form when `form` is set; then
// the form owns it) and waits until the attach completed: the size adjusted,
// the region built, the frame painted.
TWinSkinForm* AttachController(HWND wnd, TSkinData& data, fw::TForm* form);

// The whole window as it shows on screen.
skin::TBitmap CaptureWindow(HWND wnd);

// The pixels of `expected` (placed at x, y of `shot`) that differ from the
// shot, magenta ones (outside the window region) left out. On a mismatch the
// shot is saved as a BMP named after `what` and the message says where.
::testing::AssertionResult SamePixels(const skin::TPixels& shot, int x, int y,
                                      const skin::TPixels& expected, const std::string& what);

// Saves a picture in the build tree; returns the path.
std::string SaveShot(const skin::TPixels& shot, const std::string& name);

}  // namespace skin::win::fixtures
