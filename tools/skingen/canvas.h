// A small RGB drawing surface for the skin generator: pixel-aligned fills and
// 1-pixel lines for crisp details, and coverage-based antialiasing for curved
// shapes (rounded rectangles, circles, strokes, polygons). Every antialiased
// edge is blended against the colour already in the canvas, so callers paint
// the real background first; transparency (the magenta key of skin images) is
// a separate per-pixel flag that is only turned into magenta when exported.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace skingen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb kMagenta{255, 0, 255};

// Linear mix: t = 0 gives a, t = 1 gives b.
Rgb Mix(Rgb a, Rgb b, double t);
// Towards white (amount > 0) or black (amount < 0).
Rgb Shade(Rgb c, double amount);

struct PointF {
  double x = 0, y = 0;
};

// Signed distance of a point to a shape: negative inside, positive outside.
using Shape = std::function<double(double x, double y)>;

// Shape builders; coordinates are in pixels with pixel (x, y) covering the
// square [x, x+1) x [y, y+1), so integer rectangles fall on pixel edges.
Shape RoundRect(double left, double top, double right, double bottom, double radius);
// Radii per corner: top-left, top-right, bottom-right, bottom-left.
Shape RoundRect4(double left, double top, double right, double bottom, double tl, double tr,
                 double br, double bl);
// A 1-pixel outline of a rectangle on the pixel grid.
Shape RectOutline(double left, double top, double right, double bottom);
Shape Circle(double cx, double cy, double radius);
Shape Stroke(std::vector<PointF> points, double width);  // round-capped polyline
Shape Polygon(std::vector<PointF> points);               // any simple polygon
Shape Subtract(Shape a, Shape b);
Shape Union(Shape a, Shape b);
// The shape shrunk by d pixels on every side (grown when d is negative).
Shape Inset(Shape a, double d);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height, Rgb fill = {});

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ == 0 || height_ == 0; }

  Rgb At(int x, int y) const { return pixels_[Index(x, y)]; }
  bool Transparent(int x, int y) const { return transparent_[Index(x, y)] != 0; }
  // The colour as exported: magenta where the pixel is transparent.
  Rgb Exported(int x, int y) const { return Transparent(x, y) ? kMagenta : At(x, y); }

  void Set(int x, int y, Rgb c);  // opaque; ignores points outside
  void Blend(int x, int y, Rgb c, double alpha);
  void SetTransparent(int x, int y);

  void FillRect(int left, int top, int right, int bottom, Rgb c);
  void HLine(int x0, int x1, int y, Rgb c);  // [x0, x1)
  void VLine(int x, int y0, int y1, Rgb c);  // [y0, y1)
  // Vertical gradient from top colour to bottom colour over [top, bottom).
  void VGradient(int left, int top, int right, int bottom, Rgb from, Rgb to);
  void MakeTransparent(int left, int top, int right, int bottom);

  // Antialiased fill: each pixel is blended with the colour by its coverage
  // (4 x 4 samples); opacity scales the result.
  void Fill(const Shape& shape, Rgb c, double opacity = 1.0);
  // Like Fill, but the colour of each pixel comes from a function of the row
  // (for shapes filled with a vertical gradient).
  void FillRows(const Shape& shape, const std::function<Rgb(int y)>& colour);
  // Pixels that the shape does not reach at all become transparent.
  void CutOutside(const Shape& shape);
  // Hard outline for window corners: pixels less than half covered become
  // transparent, the others stay as painted. No blending with the key colour.
  void CutOutsideHard(const Shape& shape);

  // Copies a w x h block from src at (sx, sy) to (dx, dy), transparency kept.
  void Blit(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy);
  Canvas Crop(int x, int y, int w, int h) const;
  // Frames of equal size laid side by side (horizontal) or stacked.
  static Canvas Join(const std::vector<Canvas>& frames, bool vertical = false);

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  static double Coverage(const Shape& shape, int x, int y);

  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
  std::vector<uint8_t> transparent_;
};

}  // namespace skingen
