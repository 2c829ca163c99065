// The design parameters of a generated skin: palette, frame geometry and the
// switches that make the test skin exercise description rules that the
// default skin does not use.
#pragma once

#include <string>

#include "tools/skingen/canvas.h"

namespace skingen {

struct Palette {
  // Surfaces.
  Rgb face;   // window and control background (ButtonFace)
  Rgb field;  // inside of edits, combo boxes, check boxes
  Rgb field_disabled;
  Rgb text;       // window, button and menu text
  Rgb text_soft;  // secondary text: inactive tabs, status bar
  Rgb shadow;     // 1-pixel control borders, disabled text (ButtonShadow)
  Rgb dk_shadow;
  Rgb border;  // push-button and field border at rest
  Rgb border_disabled;
  Rgb hairline;  // separators
  // Accent: focus, selection, progress, checked boxes.
  Rgb accent;
  Rgb accent_dark;
  Rgb accent_soft;     // hot background
  Rgb accent_pressed;  // pressed background
  Rgb accent_ring;     // inner ring of the default button
  // Window frame.
  Rgb caption_top, caption_bottom;
  Rgb caption_inactive_top, caption_inactive_bottom;
  Rgb outline, outline_inactive;
  Rgb caption_text, caption_text_inactive;
  Rgb close_hot, close_pressed;
  // Menus.
  Rgb menubar, menubar_text, menubar_hot_frame;
  Rgb menu, menu_border;
  // Scroll bars.
  Rgb track, track_disabled, thumb, thumb_hot, thumb_pressed, arrow;
};

struct SkinDesign {
  std::string name;         // written as TitlebarSkin/SkinName
  std::string file_prefix;  // prefix of the image entry names
  Palette palette;

  int corner_radius = 8;  // top corners of the window
  int bottom_radius = 0;  // bottom corners (0: square)
  int caption_height = 30;
  int font_height = 14;
  int side_border = 4;
  int bottom_border = 4;
  int caption_button_width = 28;
  int caption_button_height = 22;
  int combo_button_width = 19;  // SM_CXHSCROLL + 2 at 96 dpi
  int scroll_size = 17;         // SM_CXHSCROLL at 96 dpi

  // Test-skin switches.
  bool all_borders_trans = false;    // bottom border transparent too
  bool tiled_centres = false;        // Tile=1 and Stretch=0 where it makes sense
  bool twelve_frame_check = false;   // 12-frame CheckButton, 8-frame RadioButton
  bool explicit_icon_image = false;  // system-menu button with its own image and frame=1
  bool push_section = false;         // a [Button.Push] title-bar button
  bool chunked_progress = false;     // Progress Style=1
  bool align_after_caption = false;  // the user button placed right of the caption text
  bool decoration_button = false;    // Action=-1 buttons (one kept, one dropped)
};

SkinDesign DefaultDesign();
SkinDesign TestDesign();

}  // namespace skingen
