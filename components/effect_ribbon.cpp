#include "components/effect_ribbon.h"

#include <cctype>
#include <cmath>

#include "components/effect_math.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"

using effectmath::SwappedYZ;

namespace {

constexpr int kSegmentVertices = 4;

MESHVERTEX* SegmentVertices(HOBJECT segment) {
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* v = GetMeshVertices(segment, &count, &frames, &floats);
  return v && count >= kSegmentVertices ? v : nullptr;
}

void SetPoint(MESHVERTEX& v, const VECTOR3& p) {
  v.x = p.x;
  v.y = p.y;
  v.z = p.z;
}

}  // namespace

A_SectionalModel::~A_SectionalModel() { Clear(); }

void A_SectionalModel::Clear() {
  for (HOBJECT segment : segments) DestroyNode(segment);
  segments.clear();
  sections.clear();
  sectionCount = 0;
  if (node) DestroyNode(node);
  node = 0;
  material = 0;
}

std::string A_SectionalModel::MaterialTextureName(const char* textureName) {
  std::string name = textureName ? textureName : "";
  size_t dot = name.find('.');
  if (dot == std::string::npos) return name;
  if (dot >= 2 && std::isdigit(static_cast<unsigned char>(name[dot - 2]))) return name.substr(0, dot - 2);
  return name.substr(0, dot);
}

void A_SectionalModel::Build(const char* textureName, int frameCount, float newLength, float newWidth, int n,
                             int newUvMode) {
  Clear();
  if (n < 2 || n > kMaxSections) return;
  length = newLength;
  width = newWidth;
  sectionCount = n;
  uvMode = newUvMode;
  uStep = uvMode == 1 ? 1.0f / static_cast<float>(n - 1) : 1.0f;
  sections.resize(2 * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    float s = static_cast<float>(i) * length / static_cast<float>(n - 1);
    sections[2 * i] = {0, s, width / 2};
    sections[2 * i + 1] = {0, s, -width / 2};
  }
  const float black[3] = {0, 0, 0}, white[3] = {1, 1, 1};
  std::string texture = MaterialTextureName(textureName);
  material = CreateMaterial(black, black, white, white, 40.0f, texture.c_str(), frameCount, 0, 0, 0, 0);
  BeginNode(NODE_DUMMY);
  node = EndNode(0);
  for (int i = 0; i + 1 < n; ++i) {
    MESHVERTEX v[kSegmentVertices];
    const float u0 = uStep * static_cast<float>(i), u1 = uStep * static_cast<float>(i + 1);
    const VECTOR3* points[kSegmentVertices] = {&sections[2 * i], &sections[2 * i + 1], &sections[2 * i + 2],
                                               &sections[2 * i + 3]};
    const float us[kSegmentVertices] = {u0, u0, u1, u1}, vs[kSegmentVertices] = {1, 0, 1, 0};
    for (int k = 0; k < kSegmentVertices; ++k) {
      SetPoint(v[k], *points[k]);
      v[k].nx = 1;
      v[k].ny = 0;
      v[k].nz = 0;
      v[k].u = us[k];
      v[k].v = vs[k];
    }
    const MESHPRIM m = static_cast<MESHPRIM>(material);
    const MESHPRIM words[12] = {PRIM_TRIANGLE, m, 0, 0, 1, 3, PRIM_TRIANGLE, m, 0, 0, 3, 2};
    BeginNode(NODE_MESH);
    AppendMeshData(0, v, kSegmentVertices, words, 12, 2, 1);
    segments.push_back(EndNode(node));
  }
}

void A_SectionalModel::SetSection(int i, const VECTOR3& top, const VECTOR3& bottom) {
  if (i < 0 || i >= sectionCount) return;
  VECTOR3 t = SwappedYZ(top), b = SwappedYZ(bottom);
  if (i + 1 < sectionCount) {
    if (MESHVERTEX* v = SegmentVertices(segments[i])) {
      SetPoint(v[0], t);
      SetPoint(v[1], b);
    }
  }
  if (i > 0) {
    if (MESHVERTEX* v = SegmentVertices(segments[i - 1])) {
      SetPoint(v[2], t);
      SetPoint(v[3], b);
    }
  }
  sections[2 * i] = t;
  sections[2 * i + 1] = b;
}

void A_SectionalModel::GetSection(int i, VECTOR3* top, VECTOR3* bottom) const {
  if (i < 0 || i >= sectionCount) return;
  *top = SwappedYZ(sections[2 * i]);
  *bottom = SwappedYZ(sections[2 * i + 1]);
}

void A_SectionalModel::SetTextureRange(float uStart, float vTop, float uEnd, float vBottom) {
  float step = uEnd, gap = 0;
  if (uvMode == 1) {
    step = (uEnd - uStart) / static_cast<float>(sectionCount > 1 ? sectionCount - 1 : 1);
  } else if (uvMode == 2) {
    step = uEnd - uStart;
    gap = 1 - step;
  }
  float u = uStart;
  for (HOBJECT segment : segments) {
    if (MESHVERTEX* v = SegmentVertices(segment)) {
      v[0].u = v[1].u = u;
      v[2].u = v[3].u = u + step;
      v[0].v = v[2].v = vTop;
      v[1].v = v[3].v = vBottom;
    }
    u += step + gap;
  }
}

void A_SectionalModel::SetFacing(int, int, int full) { faceFully = full; }

void A_SectionalModel::SmoothSeams() {
  for (HOBJECT segment : segments) {
    ComputeMeshNormals(segment, 1);
    UpdateMeshBounds(segment);
  }
  for (size_t i = 0; i + 1 < segments.size(); ++i) {
    MESHVERTEX* a = SegmentVertices(segments[i]);
    MESHVERTEX* b = SegmentVertices(segments[i + 1]);
    if (!a || !b) continue;
    for (auto [first, second] : {std::pair{2, 0}, std::pair{3, 1}}) {
      float nx = (a[first].nx + b[second].nx) / 2, ny = (a[first].ny + b[second].ny) / 2,
            nz = (a[first].nz + b[second].nz) / 2;
      a[first].nx = b[second].nx = nx;
      a[first].ny = b[second].ny = ny;
      a[first].nz = b[second].nz = nz;
    }
  }
}

void A_SectionalModel::SetAdditiveBlend(int additive, float alpha) {
  for (HOBJECT segment : segments) {
    if (blendControl) SetNodeRenderState(segment, NRS_ADDITIVE, additive);
    SetNodeAlpha(segment, alpha);
    SetNodeRenderState(segment, NRS_DEPTH_WRITE, additive == 0 ? 1 : 0);
  }
}

void A_SectionalModel::SetMaterialColour(int kind, float r, float g, float b) {
  for (HOBJECT segment : segments) SetColourOf(GetPrimitiveMaterial(segment, 0), kind, r, g, b);
}

void A_SectionalModel::GetMaterialColours(float* ambient, float* diffuse, float* specular, float* emissive) {
  if (segments.empty()) return;
  if (HOBJECT m = GetPrimitiveMaterial(segments[0], 0))
    GetMaterialColors(m, ambient, diffuse, specular, emissive, nullptr);
}

void A_SectionalModel::SetBlendStates(int srcState, int srcBlend, int dstState, int dstBlend, float alpha) {
  for (HOBJECT segment : segments) BlendStatesOf(segment, srcState, srcBlend, dstState, dstBlend, alpha);
}

void A_SectionalModel::Scale(float x, float y, float z, int mode) {
  if (mode == TRANSFORM_SET) {
    scale = {x, y, z};
  } else {
    scale.x += x;
    scale.y += y;
    scale.z += z;
  }
  for (HOBJECT segment : segments) ScaleNode(segment, x, z, y, mode);
}

void A_SectionalModel::ScrollTexture(float du, float dv) {
  auto wrap = [](float& lead, float& other) {
    if (lead < -1) {
      lead += 1;
      other += 1;
    } else if (lead > 1) {
      lead -= 1;
      other -= 1;
    }
  };
  for (HOBJECT segment : segments) {
    MESHVERTEX* v = SegmentVertices(segment);
    if (!v) continue;
    v[0].u -= du;
    v[2].u -= du;
    wrap(v[0].u, v[2].u);
    v[1].u = v[0].u;
    v[3].u = v[2].u;
    v[0].v -= dv;
    v[1].v -= dv;
    wrap(v[0].v, v[1].v);
    v[2].v = v[0].v;
    v[3].v = v[1].v;
  }
}

void A_SectionalModel::SetVisible(int flag) {
  for (HOBJECT segment : segments) ShowNode(segment, flag);
  A_Model::SetVisible(flag);
}

void A_SectionalModel::FaceCamera() {
  if (!node || !viewCamera) return;
  VECTOR3 c, cu, p;
  GetNodeWorldVectors(viewCamera, nullptr, &c, &cu);
  GetNodeWorldVectors(node, &p, nullptr, nullptr);
  SetNodePosition(node, 0, 0, 0, TRANSFORM_SET);
  VECTOR3 f{-c.x, -c.y, -c.z};
  NormalizeVector3(&f);
  const VECTOR3 down{0, -1, 0};
  float e = DotVector3(&f, &down);
  VECTOR3 u{0, 0, 1};
  if (std::fabs(e - 1) > 0.0001f) {
    VECTOR3 axis;
    CrossVector3(&axis, &down, &f);
    if (DotVector3(&axis, &axis) < 1e-12f) axis = {0, 0, 1};
    NormalizeVector3(&axis);
    MATRIX34 m;
    effectmath::QuaternionRotation(std::acos(std::fmax(-1.0f, e)), axis, &m);
    SetNodeMatrix(node, &m, TRANSFORM_SET);
    GetNodeWorldVectors(node, nullptr, nullptr, &u);
  }
  float e2 = DotVector3(&cu, &u);
  if (std::fabs(e2 - 1) > 0.0001f) {
    float half = std::acos(std::fmax(-1.0f, std::fmin(1.0f, e2))) / 2;
    QUATERNION q{std::cos(half), std::sin(half) * f.x, std::sin(half) * f.y, std::sin(half) * f.z};
    RotateNodeByQuaternion(node, &q, TRANSFORM_PARENT);
  }
  SetNodePosition(node, p.x, p.y, p.z, TRANSFORM_PARENT);
}

int A_SectionalModel::Update(int n) {
  if (visible && faceFully) FaceCamera();
  for (HOBJECT segment : segments) ScaleNode(segment, scale.x, scale.z, scale.y, TRANSFORM_LOCAL);
  return A_Model::Update(n);
}

std::unique_ptr<A_SectionalModel> BuildSectional(const efc::EFCSECTIONALDESC& shape, int blendControl) {
  auto ribbon = std::make_unique<A_SectionalModel>();
  ribbon->SetActive(blendControl);
  ribbon->Build(shape.texture.c_str(), shape.frameCount, shape.length, shape.width, shape.sectionCount,
                shape.repeat ? 2 : 1);
  ribbon->SetAdditiveBlend(1, 0.2f);
  ribbon->SetFacing(shape.facingA, shape.facingB, shape.faceFully);
  ribbon->SetTextureRange(shape.uStart, shape.vTop, shape.uEnd, shape.vBottom);
  const int n = ribbon->SectionCount();
  VECTOR3 top = shape.top, bottom = shape.bottom;
  if (shape.shape == 1) {
    MATRIX44 r;
    effectmath::RotationAbout(&r, shape.arcAxis, shape.arcAngle);
    for (int i = 0; i < n; ++i) {
      ribbon->SetSection(i, top, bottom);
      top = effectmath::TransformPoint(top, r);
      bottom = effectmath::TransformPoint(bottom, r);
    }
    VECTOR3 firstTop, firstBottom;
    ribbon->GetSection(0, &firstTop, &firstBottom);
    ribbon->SetSection(n - 1, firstTop, firstBottom);
  } else if (shape.shape == 2) {
    const VECTOR3 step{shape.lineDirection.x * shape.lineSpacing, shape.lineDirection.y * shape.lineSpacing,
                       shape.lineDirection.z * shape.lineSpacing};
    for (int i = 0; i < n; ++i) {
      ribbon->SetSection(i, top, bottom);
      top = {top.x + step.x, top.y + step.y, top.z + step.z};
      bottom = {bottom.x + step.x, bottom.y + step.y, bottom.z + step.z};
    }
  } else {
    return ribbon;
  }
  ribbon->SmoothSeams();
  return ribbon;
}

void A_TractionEfficacy::Setup(const efc::EFCTRACTIONDESC& newBlock) {
  block = newBlock;
  Build(block.texture.c_str(), block.frameCount, block.length, block.width, block.sectionCount, block.uvMode);
  SetMaterialColour(1, 1, 1, 1);
  SetMaterialColour(3, 1, 1, 1);
  SetAdditiveBlend(1, 0.9f);
  A_SectionalModel::SetVisible(0);
}

void A_TractionEfficacy::Start(int newCountdown, float newFadeStep) {
  for (int i = 0; i < sectionCount; ++i) SetSection(i, block.anchorA, block.anchorB);
  SetMaterialColour(4, 1, 1, 1);
  fadeStep = newFadeStep;
  countdown = newCountdown;
  active = 1;
  fadeLevel = 1.0f;
  A_SectionalModel::SetVisible(1);
}

void A_TractionEfficacy::Stop() {
  active = 0;
  countdown = 0;
  fadeStep = 0;
  A_SectionalModel::SetVisible(0);
}

void A_TractionEfficacy::SetVisible(int flag) {
  if (flag == 1) Start(countdown, fadeStep);
  A_SectionalModel::SetVisible(flag);
}

int A_TractionEfficacy::Update(int n) {
  if (!visible) return 0;
  A_SectionalModel::Update(n);
  if (!active) return 0;
  if (countdown != 0) {
    for (int i = sectionCount - 1; i >= 1; --i) {
      VECTOR3 top, bottom;
      GetSection(i - 1, &top, &bottom);
      SetSection(i, top, bottom);
    }
    SetSection(0, block.anchorA, block.anchorB);
    if (!segments.empty()) UpdateMeshBounds(segments[0]);
    SmoothSeams();
  } else if (fadeLevel != 0) {
    fadeLevel = std::fmax(0.0f, fadeLevel - fadeStep);
    SetMaterialColour(4, fadeLevel, fadeLevel, fadeLevel);
  } else {
    Stop();
  }
  if (countdown != -1 && countdown != 0) --countdown;
  return 1;
}
