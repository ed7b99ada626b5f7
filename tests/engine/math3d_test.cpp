#include "engine/core/math3d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <map>

#include "platform/crt.h"

namespace {

constexpr float kTol = 1e-4f;

void ExpectNear(const VECTOR3& got, const VECTOR3& want, float tol = kTol) {
  EXPECT_NEAR(got.x, want.x, tol);
  EXPECT_NEAR(got.y, want.y, tol);
  EXPECT_NEAR(got.z, want.z, tol);
}

VECTOR3 Apply34(const MATRIX34& m, const VECTOR3& p) {
  return {p.x * m.row[0].x + p.y * m.row[1].x + p.z * m.row[2].x + m.row[3].x,
          p.x * m.row[0].y + p.y * m.row[1].y + p.z * m.row[2].y + m.row[3].y,
          p.x * m.row[0].z + p.y * m.row[1].z + p.z * m.row[2].z + m.row[3].z};
}

VECTOR3 Apply44(const MATRIX44& m, const VECTOR3& p) {
  VECTOR3 out;
  TransformPointByMatrix44(&out, &p, &m);
  return out;
}

// Depth and x after the perspective divide.
void Project(const MATRIX44& m, const VECTOR3& p, float* x, float* depth) {
  const float w = p.x * m.m[3] + p.y * m.m[7] + p.z * m.m[11] + m.m[15];
  const VECTOR3 q = Apply44(m, p);
  *x = q.x / w;
  *depth = q.z / w;
}

MATRIX34 SampleAffine(float degrees, VECTOR3 axis, VECTOR3 position) {
  MATRIX34 m;
  QUATERNION q;
  NormalizeVector3(&axis);
  MakeQuaternionFromAxisAngle(degrees, &axis, &q);
  QuaternionToMatrix34(&q, &m);
  m.row[3] = position;
  return m;
}

TEST(Math3d, RandomInRangeFavoursPreferredAndStaysInRange) {
  plat::Srand(12345);
  constexpr int kDraws = 8000;
  int preferred = 0;
  std::map<int, int> seen;
  for (int i = 0; i < kDraws; ++i) {
    const int v = RandomInRange(3, 7, 5);
    ASSERT_GE(v, 3);
    ASSERT_LE(v, 7);
    if (v == 5) ++preferred;
  }
  // 3/4 directly, plus 1/5 of the remaining quarter.
  EXPECT_NEAR(preferred / double(kDraws), 0.8, 0.03);

  for (int i = 0; i < kDraws; ++i) {
    const int v = RandomInRange(3, 7, 9);
    ASSERT_GE(v, 3) << "an out-of-range preferred value is never answered";
    ASSERT_LE(v, 7);
    ++seen[v];
  }
  ASSERT_EQ(seen.size(), 5u);
  for (const auto& [value, count] : seen) EXPECT_NEAR(count / double(kDraws), 0.2, 0.03) << value;
}

TEST(Math3d, RandomInRangeDrawsFromTheSharedGenerator) {
  // A full 15-bit range answers the last of (first draw mod 20 + 1) further draws.
  for (unsigned seed : {1u, 7u, 99u, 4242u}) {
    plat::Srand(seed);
    const int count = plat::Rand() % 20 + 1;
    int last = 0;
    for (int i = 0; i < count; ++i) last = plat::Rand();
    const int after = plat::Rand();

    plat::Srand(seed);
    EXPECT_EQ(RandomInRange(0, 32767, -1), last) << seed;
    EXPECT_EQ(plat::Rand(), after) << seed;
  }

  plat::Srand(5);
  const int first = plat::Rand();
  plat::Srand(5);
  EXPECT_EQ(RandomInRange(7, 3, 5), 7) << "high below low answers low";
  EXPECT_EQ(RandomInRange(10, 10, 2), 10);
  plat::Srand(5);
  EXPECT_EQ(RandomInRange(7, 3, 5), 7);
  EXPECT_EQ(plat::Rand(), first) << "high below low draws nothing";

  // A range spanning every int must not overflow.
  const int lowest = std::numeric_limits<int>::min();
  for (int i = 0; i < 20; ++i) {
    const int v = RandomInRange(lowest, std::numeric_limits<int>::max(), 1);
    EXPECT_TRUE(v == 1 || v <= lowest + 32767) << v;
  }
}

TEST(Math3d, NormalizeThresholds) {
  struct Case {
    VECTOR3 in, want3;
  } cases[] = {
      {{0, 0, 5e-7f}, {0, 0, 0}},
      {{0, 0, 2e-6f}, {0, 0, 1}},
      {{0, 0, 0}, {0, 0, 0}},
      {{3, 0, -4}, {0.6f, 0, -0.8f}},
  };
  for (const auto& c : cases) {
    VECTOR3 v = c.in;
    NormalizeVector3(&v);
    ExpectNear(v, c.want3, 1e-6f);
  }

  struct Case2 {
    VECTOR3 in, want2;
  } cases2[] = {
      {{3, 4, 7}, {0.6f, 0.8f, 7}},
      {{0, -2, 9}, {0, -1, 9}},
      {{0, 0, 9}, {0, 0, 9}},  // no direction: stays as it is, no NaNs
  };
  for (const auto& c : cases2) {
    VECTOR3 v = c.in;
    NormalizeVector2(&v);
    ExpectNear(v, c.want2, 1e-6f);
  }
}

TEST(Math3d, CrossNormalizedDropsNearParallel) {
  struct Case {
    VECTOR3 a, b, want;
  } cases[] = {
      {{1, 2, 3}, {2, 4, 6}, {0, 0, 0}},         {{1, 2, 3}, {-1, -2, -3}, {0, 0, 0}},
      {{1e-3f, 0, 0}, {0, 1e-3f, 0}, {0, 0, 0}},  // squared length 1e-12
      {{2, 0, 0}, {0, 3, 0}, {0, 0, 1}},         {{0, 0, 5}, {0, 2, 0}, {-1, 0, 0}},
  };
  for (const auto& c : cases) {
    VECTOR3 out = {9, 9, 9};
    CrossVector3Normalized(&out, &c.a, &c.b);
    ExpectNear(out, c.want, 1e-6f);
  }
}

TEST(Math3d, QuarterTurnsAgreeAcrossRotationBuilders) {
  struct Case {
    int axis;
    VECTOR3 axisVector, from, to;
  } cases[] = {
      {0, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {1, {0, 1, 0}, {0, 0, 1}, {1, 0, 0}},
      {2, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
  };
  const VECTOR3 origin = {0, 0, 0};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.axis);
    MATRIX44 m44;
    BuildAxisRotationMatrix44(&m44, c.axis, 90);
    ExpectNear(Apply44(m44, c.from), c.to);

    QUATERNION q;
    MATRIX34 q34;
    MakeQuaternionFromAxisAngle(90, &c.axisVector, &q);
    QuaternionToMatrix34(&q, &q34);
    ExpectNear(Apply34(q34, c.from), c.to);

    MATRIX44 line44;
    BuildLineRotationMatrix44(&line44, &origin, &c.axisVector, 90);
    ExpectNear(Apply44(line44, c.from), c.to);

    // The axis need not be unit length.
    const VECTOR3 longAxis = {c.axisVector.x * 5, c.axisVector.y * 5, c.axisVector.z * 5};
    MATRIX34 line34;
    BuildLineRotationMatrix34(&line34, &origin, &longAxis, 90);
    ExpectNear(Apply34(line34, c.from), c.to);
  }
}

TEST(Math3d, LineRotationAboutAnOffOriginLine) {
  const VECTOR3 p = {2, -3, 5};
  struct Case {
    VECTOR3 axis;
    float degrees;
    VECTOR3 offset, want;  // relative to p
  } cases[] = {
      // A third of a turn about the diagonal cycles the axes X -> Y -> Z.
      {{1, 1, 1}, 120, {1, 0, 0}, {0, 1, 0}}, {{2, 2, 2}, 120, {0, 0, 1}, {1, 0, 0}},
      {{1, 1, 1}, 77, {3, 3, 3}, {3, 3, 3}},  // points on the line stay
      {{0, 0, 1}, 90, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, 90, {1, 0, 0}, {0, -1, 0}},
      {{0, 0, 0}, 90, {1, 0, 0}, {1, 0, 0}},  {{0, 1, 0}, -90, {1, 0, 0}, {0, 0, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.axis.x << "," << c.axis.y << "," << c.axis.z << " " << c.degrees);
    const VECTOR3 from = {p.x + c.offset.x, p.y + c.offset.y, p.z + c.offset.z};
    const VECTOR3 want = {p.x + c.want.x, p.y + c.want.y, p.z + c.want.z};
    MATRIX44 m44;
    BuildLineRotationMatrix44(&m44, &p, &c.axis, c.degrees);
    ExpectNear(Apply44(m44, from), want);
    EXPECT_EQ(m44.m[3], 0);
    EXPECT_EQ(m44.m[15], 1);
    MATRIX34 m34;
    BuildLineRotationMatrix34(&m34, &p, &c.axis, c.degrees);
    ExpectNear(Apply34(m34, from), want);
  }
}

TEST(Math3d, ProductsApplyLeftFirstAndAllowAliasing) {
  const MATRIX34 a = SampleAffine(30, {1, 2, 3}, {4, -1, 2});
  const MATRIX34 b = SampleAffine(-70, {0, 1, -1}, {-3, 5, 1});
  MATRIX34 ab;
  MultiplyMatrix34(&ab, &a, &b);
  const VECTOR3 p = {1.5f, -2, 0.25f};
  ExpectNear(Apply34(ab, p), Apply34(b, Apply34(a, p)));

  MATRIX34 intoB = b;
  MultiplyMatrix34(&intoB, &a, &intoB);
  MATRIX34 intoA = a;
  MultiplyMatrix34(&intoA, &intoA, &b);
  for (int r = 0; r < 4; ++r) {
    ExpectNear(intoB.row[r], ab.row[r], 0);
    ExpectNear(intoA.row[r], ab.row[r], 0);
  }

  MATRIX44 a44, b44, ab44;
  ConvertMatrix34To44(&a, &a44);
  ConvertMatrix34To44(&b, &b44);
  MultiplyMatrix44(&ab44, &a44, &b44);
  ExpectNear(Apply44(ab44, p), Apply34(ab, p));
  MultiplyMatrix44(&a44, &a44, &b44);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(a44.m[i], ab44.m[i]) << i;

  MATRIX44 mixed;
  MultiplyMatrix34By44(&mixed, &a, &b44);
  ExpectNear(Apply44(mixed, p), Apply34(ab, p));
}

TEST(Math3d, TransposeGivesColumnsAsRows) {
  MATRIX44 m;
  for (int i = 0; i < 16; ++i) m.m[i] = float(i);
  float out[12];
  TransposeMatrix44To3x4(&m, out);
  const float want[12] = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(out[i], want[i]) << i;
}

TEST(Math3d, InverseRoundTrips) {
  MATRIX44 proj, view, m, inv, product;
  BuildPerspectiveMatrix(&proj, 1.33f, 35, 0.86f, 2, 500, -1, -1, 2, 2);
  const MATRIX34 v34 = SampleAffine(40, {1, -2, 0.5f}, {10, -20, 3});
  MultiplyMatrix34By44(&view, &v34, &proj);
  m = view;
  InvertMatrix44(&m, &inv);
  MultiplyMatrix44(&product, &m, &inv);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(product.m[i], (i % 5 == 0) ? 1 : 0, 1e-4) << i;

  // In place, and a 5x5 that needs row swaps (zero leading diagonal).
  const float src[25] = {0, 2, 1, 0, 3, 1, 0, 0, 4, 1, 2, 1, 0, 0, 0, 0, 0, 3, 1, 2, 1, 1, 1, 1, 0};
  float a[25];
  for (int i = 0; i < 25; ++i) a[i] = src[i];
  InvertMatrixN(a, a, 5);
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 5; ++c) {
      float sum = 0;
      for (int k = 0; k < 5; ++k) sum += src[r * 5 + k] * a[k * 5 + c];
      EXPECT_NEAR(sum, r == c ? 1 : 0, 1e-4) << r << "," << c;
    }
  }

  float one = 4;
  InvertMatrixN(&one, &one, 1);
  EXPECT_FLOAT_EQ(one, 0.25f);
}

TEST(Math3d, InverseOfSingularCompletesAndBadSizeLeavesDst) {
  // Two equal rows: the zero pivot becomes 1e-7 and the result is huge.
  MATRIX44 singular = {{1, 2, 3, 4, 1, 2, 3, 4, 0, 1, 0, 2, 3, 0, 1, 1}};
  MATRIX44 inv;
  InvertMatrix44(&singular, &inv);
  float largest = 0;
  for (float e : inv.m) largest = std::fmax(largest, std::fabs(e));
  EXPECT_GT(largest, 1e5f);

  // Zero rows take the 1e-7 pivots without NaNs. Every pivot choice is a tie,
  // won by the last row, so the rows come out cycled.
  const float zero[9] = {};
  float zeroInv[9];
  InvertMatrixN(zero, zeroInv, 3);
  const float cycled[9] = {0, 0, 1e7f, 1e7f, 0, 0, 0, 1e7f, 0};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(zeroInv[i], cycled[i]) << i;

  for (int n : {0, -1, 16}) {
    float src[256] = {1};
    float dst[256];
    for (float& d : dst) d = 42;
    InvertMatrixN(src, dst, n);
    for (float d : dst) ASSERT_EQ(d, 42) << n;
  }
}

TEST(Math3d, ProjectionsMapNearAndFar) {
  MATRIX44 p;
  BuildPerspectiveMatrix(&p, 1.33f, 50, 0.86f, 2, 5000, -1, -1, 2, 2);
  EXPECT_NEAR(p.m[0], 4.578f, 5e-4f);
  EXPECT_NEAR(p.m[5], 4.578f * 1.33f, 1e-3f);
  EXPECT_EQ(p.m[11], -1);
  EXPECT_EQ(p.m[15], 0);
  float x, depth;
  Project(p, {0, 0, -2}, &x, &depth);
  EXPECT_NEAR(depth, 0, 1e-5f);
  Project(p, {0, 0, -5000}, &x, &depth);
  EXPECT_NEAR(depth, 1, 1e-5f);

  // The right half of the window: its left edge is the view's centre line.
  MATRIX44 half;
  BuildPerspectiveMatrix(&half, 1.33f, 50, 0.86f, 2, 5000, 0, -1, 1, 2);
  Project(half, {0, 0, -10}, &x, &depth);
  EXPECT_NEAR(x, -1, 1e-5f);

  MATRIX44 o;
  BuildOrthographicMatrix(&o, 2, 1, 101, 40);
  const VECTOR3 nearCorner = Apply44(o, {20, 10, -1});
  ExpectNear(nearCorner, {1, 1, 0}, 1e-6f);
  EXPECT_NEAR(Apply44(o, {0, 0, -101}).z, 1, 1e-6f);
  EXPECT_EQ(o.m[15], 1);
}

TEST(Math3d, AreasAndNormals) {
  struct Case {
    VECTOR3 a, b, c;
    float signedArea2, area;
    VECTOR3 normal;
  } cases[] = {
      {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, 1, 0.5f, {0, 0, 1}},
      {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, -1, 0.5f, {0, 0, -1}},
      // Tilted: the 2D area ignores z, the space area does not.
      {{0, 0, 7}, {2, 0, -1}, {0, 2, 3}, 4, 9.16515f, {0.87287f, 0.43644f, 0.21822f}},
      {{0, 0, 0}, {1, 1, 1}, {3, 3, 3}, 0, 0, {0, 0, 0}},
      {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, 0, 0.5f, {1, 0, 0}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    SCOPED_TRACE(i);
    EXPECT_NEAR(SignedArea2D(&c.a, &c.b, &c.c), c.signedArea2, 1e-6f);
    EXPECT_NEAR(TriangleArea(&c.a, &c.b, &c.c), c.area, 1e-4f);
    VECTOR3 n;
    TriangleNormal(&n, &c.a, &c.b, &c.c);
    ExpectNear(n, c.normal, 1e-5f);
  }
}

TEST(Math3d, DistancesAndPower) {
  const VECTOR3 a = {1, 2, 3}, b = {4, 6, 15};
  EXPECT_FLOAT_EQ(SquaredDistance3(&a, &b), 169);
  EXPECT_FLOAT_EQ(GetPointDistanceN(&a, &b, 3), 13);
  EXPECT_FLOAT_EQ(GetPointDistanceN(&a, &b, 2), 5);
  EXPECT_FLOAT_EQ(GetPointDistanceN(&a, &b, 1), 3);
  EXPECT_FLOAT_EQ(GetPointDistanceN(&a, &b, 9), 13);
  EXPECT_FLOAT_EQ(DotVector2(&a, &b), 16);
  EXPECT_FLOAT_EQ(DotVector3(&a, &b), 61);

  EXPECT_EQ(PowerFloat(0, 3), 0);
  EXPECT_EQ(PowerFloat(0, 0), 0);
  EXPECT_NEAR(PowerFloat(8, 1.0f / 3), 2, 1e-5f);
  EXPECT_NEAR(PowerFloat(0.5f, 10), 1.0f / 1024, 1e-7f);
}

}  // namespace
