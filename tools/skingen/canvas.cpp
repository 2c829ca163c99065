#include "tools/skingen/canvas.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace skingen {

namespace {

uint8_t Channel(double v) {
  return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

double SegmentDistance(PointF p, PointF a, PointF b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Channel(a.r + (b.r - a.r) * t), Channel(a.g + (b.g - a.g) * t),
          Channel(a.b + (b.b - a.b) * t)};
}

Rgb Shade(Rgb c, double amount) {
  return amount >= 0 ? Mix(c, Rgb{255, 255, 255}, amount) : Mix(c, Rgb{0, 0, 0}, -amount);
}

Shape RoundRect4(double left, double top, double right, double bottom, double tl, double tr,
                 double br, double bl) {
  return [=](double x, double y) {
    const double cx = (left + right) / 2, cy = (top + bottom) / 2;
    const double hw = (right - left) / 2, hh = (bottom - top) / 2;
    double r = x < cx ? (y < cy ? tl : bl) : (y < cy ? tr : br);
    r = std::min({r, hw, hh});
    const double qx = std::abs(x - cx) - (hw - r);
    const double qy = std::abs(y - cy) - (hh - r);
    const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - r;
  };
}

Shape RoundRect(double left, double top, double right, double bottom, double radius) {
  return RoundRect4(left, top, right, bottom, radius, radius, radius, radius);
}

Shape RectOutline(double left, double top, double right, double bottom) {
  return Subtract(RoundRect(left, top, right, bottom, 0),
                  RoundRect(left + 1, top + 1, right - 1, bottom - 1, 0));
}

Shape Circle(double cx, double cy, double radius) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) - radius; };
}

Shape Stroke(std::vector<PointF> points, double width) {
  return [points = std::move(points), width](double x, double y) {
    double best = 1e9;
    for (size_t i = 0; i + 1 < points.size(); ++i)
      best = std::min(best, SegmentDistance({x, y}, points[i], points[i + 1]));
    return best - width / 2;
  };
}

Shape Polygon(std::vector<PointF> points) {
  return [points = std::move(points)](double x, double y) {
    double best = 1e9;
    bool inside = false;
    const size_t n = points.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
      const PointF a = points[i], b = points[j];
      best = std::min(best, SegmentDistance({x, y}, a, b));
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
        inside = !inside;
    }
    return inside ? -best : best;
  };
}

Shape Subtract(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) {
    return std::max(a(x, y), -b(x, y));
  };
}

Shape Union(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) {
    return std::min(a(x, y), b(x, y));
  };
}

Shape Inset(Shape a, double d) {
  return [a = std::move(a), d](double x, double y) { return a(x, y) + d; };
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, fill),
      transparent_(static_cast<size_t>(width_) * height_, 0) {}

void Canvas::Set(int x, int y, Rgb c) {
  if (!Inside(x, y)) return;
  pixels_[Index(x, y)] = c;
  transparent_[Index(x, y)] = 0;
}

void Canvas::Blend(int x, int y, Rgb c, double alpha) {
  if (!Inside(x, y) || alpha <= 0) return;
  const size_t i = Index(x, y);
  pixels_[i] = alpha >= 1 ? c : Mix(pixels_[i], c, alpha);
  transparent_[i] = 0;
}

void Canvas::SetTransparent(int x, int y) {
  if (Inside(x, y)) transparent_[Index(x, y)] = 1;
}

void Canvas::FillRect(int left, int top, int right, int bottom, Rgb c) {
  for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
    for (int x = std::max(left, 0); x < std::min(right, width_); ++x)
      Set(x, y, c);
}

void Canvas::HLine(int x0, int x1, int y, Rgb c) {
  FillRect(x0, y, x1, y + 1, c);
}
void Canvas::VLine(int x, int y0, int y1, Rgb c) {
  FillRect(x, y0, x + 1, y1, c);
}

void Canvas::VGradient(int left, int top, int right, int bottom, Rgb from, Rgb to) {
  const int span = std::max(bottom - top - 1, 1);
  for (int y = top; y < bottom; ++y)
    HLine(left, right, y, Mix(from, to, static_cast<double>(y - top) / span));
}

void Canvas::MakeTransparent(int left, int top, int right, int bottom) {
  for (int y = std::max(top, 0); y < std::min(bottom, height_); ++y)
    for (int x = std::max(left, 0); x < std::min(right, width_); ++x)
      SetTransparent(x, y);
}

double Canvas::Coverage(const Shape& shape, int x, int y) {
  const double centre = shape(x + 0.5, y + 0.5);
  if (centre <= -0.75) return 1;
  if (centre >= 0.75) return 0;
  int hits = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx)
      if (shape(x + (sx + 0.5) / 4, y + (sy + 0.5) / 4) < 0) ++hits;
  return hits / 16.0;
}

void Canvas::Fill(const Shape& shape, Rgb c, double opacity) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      Blend(x, y, c, Coverage(shape, x, y) * opacity);
}

void Canvas::FillRows(const Shape& shape, const std::function<Rgb(int y)>& colour) {
  for (int y = 0; y < height_; ++y) {
    const Rgb c = colour(y);
    for (int x = 0; x < width_; ++x)
      Blend(x, y, c, Coverage(shape, x, y));
  }
}

void Canvas::CutOutside(const Shape& shape) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Coverage(shape, x, y) == 0) SetTransparent(x, y);
}

void Canvas::CutOutsideHard(const Shape& shape) {
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (Coverage(shape, x, y) < 0.5) SetTransparent(x, y);
}

void Canvas::Blit(const Canvas& src, int sx, int sy, int w, int h, int dx, int dy) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!src.Inside(sx + x, sy + y) || !Inside(dx + x, dy + y)) continue;
      const size_t s = src.Index(sx + x, sy + y), d = Index(dx + x, dy + y);
      pixels_[d] = src.pixels_[s];
      transparent_[d] = src.transparent_[s];
    }
}

Canvas Canvas::Crop(int x, int y, int w, int h) const {
  Canvas out(w, h);
  out.Blit(*this, x, y, w, h, 0, 0);
  return out;
}

Canvas Canvas::Join(const std::vector<Canvas>& frames, bool vertical) {
  if (frames.empty()) return {};
  const int fw = frames.front().width(), fh = frames.front().height();
  const int n = static_cast<int>(frames.size());
  Canvas out(vertical ? fw : fw * n, vertical ? fh * n : fh);
  for (int i = 0; i < n; ++i)
    out.Blit(frames[i], 0, 0, fw, fh, vertical ? 0 : fw * i, vertical ? fh * i : 0);
  return out;
}

}  // namespace skingen
