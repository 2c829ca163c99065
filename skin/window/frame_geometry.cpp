#include "skin/window/frame_geometry.h"

#include <algorithm>

namespace skin {

namespace {

int Frames(const TDataSkinObject& e) {
  return e.FrameCount > 0 ? e.FrameCount : 1;
}

}  // namespace

TFrameBorders FrameBordersOf(const TSkinData& data) {
  const auto& b = data.Borders;
  TFrameBorders r;
  r.Left = b[kBorderLeft]->Bitmap.Width() / Frames(*b[kBorderLeft]);
  r.Top = b[kBorderTop]->Bitmap.Height() / Frames(*b[kBorderTop]);
  r.Right = b[kBorderRight]->Bitmap.Width() / Frames(*b[kBorderRight]);
  r.Bottom = b[kBorderBottom]->Bitmap.Height() / Frames(*b[kBorderBottom]);
  return r;
}

TFrameLayout LayoutFrame(int width, int height, const TFrameBorders& b, int menu_bar_height) {
  const int inner_right = width - b.Right;
  const int band_bottom = b.Top + menu_bar_height;
  TFrameLayout l;
  l.Left = {0, 0, b.Left, height};
  l.Right = {inner_right, 0, width, height};
  l.Bottom = {b.Left, height - b.Bottom, inner_right, height};
  l.Caption = {b.Left, 0, inner_right, b.Top};
  l.MenuBand = {b.Left, b.Top, inner_right, band_bottom};
  l.Client = {b.Left, band_bottom, inner_right, height - b.Bottom};
  return l;
}

TRect SkinnedClientRect(int x, int y, int cx, int cy, const TFrameBorders& b, int menu_bar_height) {
  TRect r{x + b.Left, y + b.Top + menu_bar_height, x + cx - b.Right, y + cy - b.Bottom};
  // The system takes an inverted client rectangle as it stands; a window
  // squeezed below its frame gets an empty one instead.
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

TCaptionHit ClassifyCaptionHit(int window_y, int border_top) {
  // The top rows stay the native answer so the window can still be sized
  // from its upper edge.
  if (window_y <= 3) return TCaptionHit::kNative;
  return window_y > border_top ? TCaptionHit::kMenu : TCaptionHit::kCaption;
}

int BorderFrameIndex(bool active, int frame_count) {
  return active || frame_count <= 1 ? 1 : 2;
}

TBitmap BuildBorderImage(const TSkinData& data, int index, int width, int height, bool active) {
  if (width < 0 || height < 0) return {};
  const TDataSkinBorder& e = *data.Borders[static_cast<size_t>(index)];
  // Top and bottom images stack their frames; the side images put them side
  // by side. The Stretch key (kept in Tile) stretches the middle when 1 and
  // tiles it otherwise.
  const bool vertical = index == kBorderTop || index == kBorderBottom;
  return BuildSkinImage({0, 0, width, height}, e.Bitmap, e.Margins, vertical, e.Tile != 1,
                        e.FrameCount, BorderFrameIndex(active, e.FrameCount));
}

bool AnyBorderTransparent(const TSkinData& data) {
  for (int i = kBorderLeft; i <= kBorderBottom; ++i) {
    if (data.Borders[static_cast<size_t>(i)]->Trans != 0) return true;
  }
  return false;
}

TCaptionTextPlace PlaceCaptionText(const TRect& band, int text_width, int text_height,
                                   const TDataSkinTitle& title, const TCaptionWindow& window) {
  // The title element keeps TextShift, TextShiftVert and TextRightClip in its
  // margins.
  const int shift = title.Margins.Left;
  const int shift_vert = title.Margins.Top;
  const int right_clip = title.Margins.Right;

  TRect t{band.Left, band.Top, band.Left + text_width + title.TextBackLeft + title.TextBackRight,
          band.Top + text_height};
  const int alignment = window.RightToLeft ? 2 : title.TextAlignment;
  int dx = 0;
  switch (alignment) {
    case 0:
      dx = shift;
      break;
    case 1:
      dx = (band.Width() - t.Width()) / 2;
      break;
    case 2:
      dx = band.Width() - right_clip - t.Width();
      break;
    default:
      break;
  }
  const int dy = (band.Height() - t.Height()) / 2 + shift_vert / 2;
  t = {t.Left + dx, t.Top + dy, t.Right + dx, t.Bottom + dy};

  if (window.Popup) {
    // A popup window clips at its right-aligned title buttons.
    if (window.RightButtonsLeft > 5 && window.RightButtonsLeft - 5 < t.Right) {
      t.Right = window.RightButtonsLeft - 5;
    }
  } else if (band.Right - right_clip < t.Right) {
    t.Right = band.Right - right_clip;
  }
  // Dialogs show no icon: left-aligned text takes its place.
  if (window.Dialog && title.TextAlignment == 0) t.Left -= 16;

  TCaptionTextPlace place;
  place.Back = t;
  place.Text = {t.Left + title.TextBackLeft, t.Top, t.Right - title.TextBackRight, t.Bottom};
  return place;
}

bool IsRegionKeyPixel(uint32_t colour, const TRegionKey& key) {
  auto in = [](uint8_t c, uint8_t k, int tolerance) {
    return c >= k && c <= std::min(255, k + tolerance);
  };
  return in(RedOf(colour), RedOf(key.Colour), key.TolRed) &&
         in(GreenOf(colour), GreenOf(key.Colour), key.TolGreen) &&
         in(BlueOf(colour), BlueOf(key.Colour), key.TolBlue);
}

int CollectOpaqueRuns(const TPixels& bitmap, int x, int y, const TRegionKey& key,
                      const TRunBatchSink& sink, int batch_size) {
  batch_size = std::max(batch_size, 1);
  // Per channel, the inclusive range of values that count as the key.
  const int lo_b = BlueOf(key.Colour), hi_b = std::min(255, lo_b + key.TolBlue);
  const int lo_g = GreenOf(key.Colour), hi_g = std::min(255, lo_g + key.TolGreen);
  const int lo_r = RedOf(key.Colour), hi_r = std::min(255, lo_r + key.TolRed);
  const int bpp = bitmap.BytesPerPixel();

  std::vector<TRect> rects;
  rects.reserve(static_cast<size_t>(std::min(batch_size, 500)));
  TRect bounds;
  int total = 0;
  auto flush = [&] {
    if (rects.empty()) return;
    sink(rects, bounds);
    rects.clear();
  };
  auto add = [&](int x0, int x1, int row) {
    const TRect r{x0 + x, row + y, x1 + x, row + y + 1};
    if (rects.empty()) {
      bounds = r;
    } else {
      bounds.Left = std::min(bounds.Left, r.Left);
      bounds.Top = std::min(bounds.Top, r.Top);
      bounds.Right = std::max(bounds.Right, r.Right);
      bounds.Bottom = std::max(bounds.Bottom, r.Bottom);
    }
    rects.push_back(r);
    ++total;
    if (static_cast<int>(rects.size()) >= batch_size) flush();
  };

  for (int row = 0; row < bitmap.Height(); ++row) {
    const uint8_t* p = bitmap.Row(row);
    int start = -1;
    for (int col = 0; col < bitmap.Width(); ++col, p += bpp) {
      const bool transparent = p[0] >= lo_b && p[0] <= hi_b && p[1] >= lo_g && p[1] <= hi_g &&
                               p[2] >= lo_r && p[2] <= hi_r;
      if (!transparent) {
        if (start < 0) start = col;
      } else if (start >= 0) {
        add(start, col, row);
        start = -1;
      }
    }
    if (start >= 0) add(start, bitmap.Width(), row);
  }
  flush();
  return total;
}

}  // namespace skin
