// Scan-converting polygon fill along one left and one right chain.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/media/draw2d.h"
#include "engine/media/draw2d_target.h"

namespace {

struct Point {
  int x;
  int y;
};

constexpr int kUnset = -2147483647 - 1;

// The x of every row of an edge from a to b (the row of b excluded), written
// into xs at (row - firstRow) for the rows firstRow .. firstRow + xs.size() - 1.
// Closed form of the edge's error-term stepping, so that far-off points cost
// nothing.
void WalkEdge(Point a, Point b, int firstRow, bool skipFirstRow, std::vector<int>& xs) {
  int64_t dy = static_cast<int64_t>(b.y) - a.y;
  if (dy <= 0) return;
  int64_t delta = static_cast<int64_t>(b.x) - a.x;
  int64_t dx = std::llabs(delta);
  int64_t g = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
  int64_t whole = dx / dy, rest = dx % dy;
  bool leftward = g < 0;
  int64_t from = std::max<int64_t>(skipFirstRow ? 1 : 0, static_cast<int64_t>(firstRow) - a.y);
  int64_t to = std::min<int64_t>(dy, static_cast<int64_t>(firstRow) + static_cast<int64_t>(xs.size()) - a.y);
  for (int64_t k = from; k < to; ++k) {
    // Extra steps taken by the error term after k rows.
    __int128 gained = static_cast<__int128>(k) * rest;
    __int128 extra = leftward ? gained / dy : (gained + dy - 1) / dy;
    __int128 x = a.x + g * (static_cast<__int128>(k) * whole + extra);
    xs[static_cast<size_t>(a.y + k - firstRow)] = static_cast<int>(std::clamp<__int128>(x, INT32_MIN, INT32_MAX));
  }
}

// Follows the points from start in direction step until the bottom point.
void WalkChain(const std::vector<Point>& p, int start, int step, int bottom, bool pointedTop, int firstRow,
               std::vector<int>& xs) {
  int n = static_cast<int>(p.size());
  int i = start;
  bool first = true;
  for (int guard = 0; guard < n && i != bottom; ++guard) {
    int next = (i + step + n) % n;
    WalkEdge(p[i], p[next], firstRow, pointedTop && first, xs);
    first = false;
    i = next;
  }
}

void FillPolygon(const std::vector<Point>& p, int top, int bottom, uint32_t color) {
  int n = static_cast<int>(p.size());
  int topY = p[top].y, bottomY = p[bottom].y;
  int t1 = top, t2 = top;
  for (int guard = 0; guard < n && p[(t1 + 1) % n].y == topY && (t1 + 1) % n != top; ++guard) t1 = (t1 + 1) % n;
  for (int guard = 0; guard < n && p[(t2 - 1 + n) % n].y == topY && (t2 - 1 + n) % n != top; ++guard)
    t2 = (t2 - 1 + n) % n;
  bool pointedTop = p[t1].x == p[t2].x;
  bool forwardIsLeft;
  if (!pointedTop) {
    forwardIsLeft = p[t1].x < p[t2].x;
  } else {
    // Screen y grows downward: the edge turning the other way of the cross product is on the left.
    const Point& f = p[(t1 + 1) % n];
    const Point& b = p[(t2 - 1 + n) % n];
    int64_t fx = static_cast<int64_t>(f.x) - p[t1].x, fy = static_cast<int64_t>(f.y) - p[t1].y;
    int64_t bx = static_cast<int64_t>(b.x) - p[t2].x, by = static_cast<int64_t>(b.y) - p[t2].y;
    forwardIsLeft = fx * by - fy * bx < 0;
  }
  // Only rows on the target are kept.
  int firstRow = std::max(pointedTop ? topY + 1 : topY, 0);
  int lastRow = std::min(bottomY - 1, g_drawTarget.height - 1);
  if (firstRow > lastRow) return;
  std::vector<int> left(static_cast<size_t>(lastRow - firstRow + 1), kUnset);
  std::vector<int> right(left.size(), kUnset);
  WalkChain(p, forwardIsLeft ? t1 : t2, forwardIsLeft ? 1 : -1, bottom, pointedTop, firstRow, left);
  WalkChain(p, forwardIsLeft ? t2 : t1, forwardIsLeft ? -1 : 1, bottom, pointedTop, firstRow, right);
  for (size_t i = 0; i < left.size(); ++i) {
    if (left[i] == kUnset || right[i] == kUnset) continue;
    int x0 = std::max(left[i], 0);
    int x1 = std::min(right[i] - 1, g_drawTarget.width - 1);
    if (x0 <= x1) FillTargetRun(x0, x1, firstRow + static_cast<int>(i), color);
  }
}

}  // namespace

void DrawPolygon(const int32_t* points, int count, uint32_t fillColor, int fill, uint32_t outlineColor, int outline) {
  if (!g_drawTarget.pixels || !points || count < 2) return;
  if (count == 2) {
    DrawLine(points[0], points[1], points[2], points[3], fillColor);
    return;
  }
  std::vector<Point> p(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) p[i] = {points[2 * i], points[2 * i + 1]};
  if (fill) {
    int top = 0, bottom = 0, minX = p[0].x, maxX = p[0].x;
    for (int i = 1; i < count; ++i) {
      if (p[i].y < p[top].y) top = i;
      if (p[i].y > p[bottom].y) bottom = i;
      minX = std::min(minX, p[i].x);
      maxX = std::max(maxX, p[i].x);
    }
    if (p[top].y >= g_drawTarget.height || p[bottom].y < 0 || minX >= g_drawTarget.width || maxX < 0) return;
    if (p[top].y != p[bottom].y && g_drawTarget.bitsPerPixel == 16) FillPolygon(p, top, bottom, fillColor);
  }
  if (outline) {
    DrawLine(p[count - 1].x, p[count - 1].y, p[0].x, p[0].y, outlineColor);
    for (int i = 0; i + 1 < count; ++i) DrawLine(p[i].x, p[i].y, p[i + 1].x, p[i + 1].y, outlineColor);
  }
}
