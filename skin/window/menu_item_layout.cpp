#include "skin/window/menu_item_layout.h"

#include "skin/data/skin_draw.h"

namespace skin {

TMenuEntryLayout LayoutMenuEntry(const TRect& item, int glyph_size, int left_margin, bool separator,
                                 bool right_to_left, int caption_width, int caption_height) {
  TMenuEntryLayout l;
  const int glyph_width = separator ? 0 : glyph_size;
  const int top = item.Top + (item.Height() - caption_height) / 2;
  if (right_to_left) {
    // A separator's glyph cell sits at the right edge itself.
    const int right = separator ? item.Right : item.Right - 1 - left_margin;
    l.Glyph = TRect{right - glyph_width, item.Top + 1, right, item.Top + 1 + glyph_size};
    l.Caption =
        TRect{l.Glyph.Left - 3 - caption_width, top, l.Glyph.Left - 3, top + caption_height};
    l.ShortCut = TRect{item.Left + 11, top, l.Caption.Left, top + caption_height};
    const int arrow_top = item.Top + (item.Height() - kMenuArrowHeight) / 2;
    l.Arrow = TRect{item.Left + 4, arrow_top, item.Left + 4 + kMenuArrowWidth,
                    arrow_top + kMenuArrowHeight};
  } else {
    const int left = item.Left + 1 + left_margin;
    l.Glyph = TRect{left, item.Top + 1, left + glyph_width, item.Top + 1 + glyph_size};
    l.Caption =
        TRect{l.Glyph.Right + 3, top, l.Glyph.Right + 3 + caption_width, top + caption_height};
    l.ShortCut = TRect{l.Caption.Right, top, item.Right - 11, top + caption_height};
  }
  return l;
}

int PopupItemExtraWidth(int left_margin, bool has_images) {
  return left_margin + (has_images ? 12 : 35);
}

int MenuBarItemExtraWidth(int left_margin, bool has_images) {
  return left_margin + (has_images ? 10 : 35);
}

TTextEntrySize MeasureTextEntry(int text_width, bool empty_text, int left_margin, int menu_height,
                                bool win9x) {
  TTextEntrySize s;
  s.Width = text_width + 26 + left_margin;
  s.Height = empty_text ? 8 : menu_height + 4;
  if (win9x) s.Height += 4;
  return s;
}

TBitmap BuildMenuSeparator(const TDataSkinObject& menu_item, int width, int height) {
  const TBitmap& image = menu_item.Bitmap;
  if (image.Empty() || width <= 0 || height <= 0) return {};
  TBitmap out(width, height);
  out.Fill(kSkinTransparent);
  const TRect frame =
      SkinFrameRect(image.Width(), image.Height(), false, kMenuItemFrames, kMenuItemSeparatorFrame);
  const int src_top = frame.Height() > height ? frame.Height() - height : 0;
  const int left = menu_item.Margins.Left;
  const int right = menu_item.Margins.Right;
  // Left slice, right slice, and the middle between them; a slice of no
  // width paints nothing.
  StretchCopy(out, TRect{0, 0, left, height}, image,
              TRect{frame.Left, src_top, frame.Left + left, frame.Bottom});
  StretchCopy(out, TRect{width - right, 0, width, height}, image,
              TRect{frame.Right - right, src_top, frame.Right, frame.Bottom});
  StretchCopy(out, TRect{left, 0, width - right, height}, image,
              TRect{frame.Left + left, src_top, frame.Right - right, frame.Bottom});
  return out;
}

}  // namespace skin
