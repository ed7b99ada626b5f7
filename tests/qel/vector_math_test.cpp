#include "platform/qel/vector_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;

using V = std::vector<float>;

// Rotation +90 degrees about Z, then moved by (1, 0, 0).
const float kTurnZ[12] = {0, 1, 0, -1, 0, 0, 0, 0, 1, 1, 0, 0};
const float kLift[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 5};

V Normalized(V v) {
  qmz::NormalizeVector(v.data());
  return v;
}
V Towards(V a, V b) {
  V out(3);
  qmz::NormalizeVector(a.data(), b.data(), out.data());
  return out;
}
V Turned(V v, float radians) {
  qmz::Turn2DVectorAngle(v.data(), radians, v.data());
  return v;
}
V Cross(V a, V b) {
  qmz::VectorCross(a.data(), b.data(), a.data());
  return a;
}
float Fan(V point, float angle = kPi / 2, float distance = 10) {
  const float origin[3] = {0, 0, 0}, direction[3] = {1, 0, 0};
  return static_cast<float>(qmz::CheckFanRegion(origin, direction, point.data(), angle, distance));
}
V Through(V v, const float* m12) {
  qmz::VMultiplyM12(v.data(), m12, v.data());
  return v;
}
V Product12() {
  float m[12];
  std::copy(kTurnZ, kTurnZ + 12, m);
  qmz::MultiplyMatrix12(m, kLift, m);
  return V(m, m + 12);
}
V Product16() {
  float a[16], b[16], out[16], back[12];
  qmz::M12ToM16(kTurnZ, a);
  qmz::M12ToM16(kLift, b);
  qmz::MultiplyMatrix16(a, b, out);
  qmz::M16ToM12(out, back);
  return V(back, back + 12);
}
V As16(const float* m12) {
  float m[16];
  qmz::M12ToM16(m12, m);
  return V(m, m + 16);
}

TEST(QelVectorMath, Cases) {
  const float p1[3] = {1, 2, 3}, p2[3] = {4, 6, 3}, origin[3] = {0, 0, 0}, up[3] = {0, 5, 9}, diag[3] = {1, 1, 0},
              x[3] = {1, 0, 0}, y2[3] = {0, 2, 0};
  V product12 = Product12();
  struct Case {
    std::string what;
    V got;
    V want;
  } cases[] = {
      {"normalize in place", Normalized({3, 0, 4}), {0.6f, 0, 0.8f}},
      {"normalize a tiny vector", Normalized({0, 0, 5e-7f}), {0, 0, 0}},
      {"unit vector between points", Towards({1, 1, 1}, {1, 1, 3}), {0, 0, 1}},
      {"unit vector between one point", Towards({2, 2, 2}, {2, 2, 2}), {0, 0, 0}},
      {"distance", {qmz::GetVectorLength(p1, p2)}, {5}},
      {"heading towards +y (mode 2)", {qmz::GetVectorAngle(origin, up, 2)}, {kPi / 2}},
      {"heading from (1, 1) to the origin", {qmz::GetVectorAngle(diag, origin, 2)}, {-3 * kPi / 4}},
      {"angle between directions", {qmz::GetVectorAngle(x, y2, 0)}, {kPi / 2}},
      {"turn counter-clockwise", Turned({1, 0, 7}, kPi / 2), {0, 1, 7}},
      {"turn clockwise", Turned({0, 2, 0}, -kPi / 2), {2, 0, 0}},
      {"cross x by y", Cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1}},
      {"fan: inside the half opening", {Fan({5, 4, 0})}, {1}},
      {"fan: outside the half opening", {Fan({5, 6, 0})}, {0}},
      {"fan: beyond the distance", {Fan({11, 0, 0})}, {0}},
      {"fan: behind", {Fan({-1, 0, 0})}, {0}},
      {"fan: at the origin", {Fan({0, 0, 0})}, {1}},
      {"fan: height does not count", {Fan({5, 4, 100})}, {1}},
      {"fan: nearly the full half plane", {Fan({1, 9, 0}, kPi - 0.2f)}, {1}},
      {"M12 to M16 layout", As16(kTurnZ), {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1}},
      {"product applies the left matrix first", Through({1, 0, 0}, product12.data()), {1, 1, 5}},
      {"M16 product agrees with M12 product", Product16(), product12},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(c.got.size(), c.want.size()) << c.what;
    for (size_t i = 0; i < c.got.size(); ++i) EXPECT_NEAR(c.got[i], c.want[i], 1e-5f) << c.what << " [" << i << "]";
  }
}

}  // namespace
