#include "tools/skingen/skin_design.h"

namespace skingen {

// "Ardosia": a slate caption over a light grey body, one blue accent. Text is
// near-black on every light surface and near-white on the caption; borders
// are soft greys so that only focus and selection draw the eye.
SkinDesign DefaultDesign() {
  SkinDesign d;
  d.name = "Ardosia";
  d.file_prefix = "";
  Palette& p = d.palette;
  p.face = {240, 242, 245};
  p.field = {255, 255, 255};
  p.field_disabled = {246, 247, 249};
  p.text = {31, 35, 40};
  p.text_soft = {84, 92, 102};
  p.shadow = {150, 158, 168};
  p.dk_shadow = {96, 104, 114};
  p.border = {172, 180, 190};
  p.border_disabled = {212, 216, 221};
  p.hairline = {212, 217, 223};
  p.accent = {47, 111, 179};
  p.accent_dark = {33, 84, 140};
  p.accent_soft = {230, 240, 251};
  p.accent_pressed = {208, 225, 244};
  p.accent_ring = {168, 199, 234};
  p.caption_top = {54, 70, 88};
  p.caption_bottom = {41, 54, 69};
  p.caption_inactive_top = {221, 225, 230};
  p.caption_inactive_bottom = {211, 216, 222};
  p.outline = {26, 34, 44};
  p.outline_inactive = {150, 158, 168};
  p.caption_text = {244, 246, 248};
  p.caption_text_inactive = {92, 100, 110};
  p.close_hot = {196, 43, 28};
  p.close_pressed = {150, 32, 22};
  p.menubar = p.face;
  p.menubar_text = {31, 35, 40};
  p.menubar_hot_frame = {150, 186, 228};
  p.menu = {252, 252, 253};
  p.menu_border = {160, 168, 178};
  p.track = {234, 237, 240};
  p.track_disabled = {244, 245, 247};
  p.thumb = {190, 197, 205};
  p.thumb_hot = {164, 172, 182};
  p.thumb_pressed = {128, 137, 148};
  p.arrow = {96, 104, 114};
  return d;
}

// "Teste": a warm green variant with other border sizes and every switch on,
// so that the loader's less common rules get a package to work on.
SkinDesign TestDesign() {
  SkinDesign d = DefaultDesign();
  d.name = "Teste";
  d.file_prefix = "t_";
  Palette& p = d.palette;
  p.face = {243, 241, 236};
  p.accent = {46, 125, 90};
  p.accent_dark = {30, 92, 64};
  p.accent_soft = {229, 243, 236};
  p.accent_pressed = {204, 230, 216};
  p.accent_ring = {160, 208, 184};
  p.caption_top = {62, 84, 72};
  p.caption_bottom = {46, 64, 54};
  p.outline = {30, 42, 36};
  p.menubar = p.face;
  d.corner_radius = 9;
  d.bottom_radius = 10;
  d.caption_height = 26;
  d.font_height = 13;
  d.side_border = 3;
  d.bottom_border = 7;
  d.caption_button_width = 24;
  d.caption_button_height = 18;
  d.all_borders_trans = true;
  d.tiled_centres = true;
  d.twelve_frame_check = true;
  d.explicit_icon_image = true;
  d.push_section = true;
  d.chunked_progress = true;
  d.align_after_caption = true;
  d.decoration_button = true;
  return d;
}

}  // namespace skingen
