#include "components/effect_element.h"

#include "components/effect_math.h"
#include "engine/core/materials.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/media/model_files.h"

using effectmath::SwappedYZ;

A_Model::~A_Model() {
  if (node) DestroyNode(node);
}

void A_Model::SetAdditiveBlend(int additive, float alpha) {
  if (!node) return;
  SetNodeRenderState(node, NRS_ADDITIVE, additive);
  SetNodeAlpha(node, alpha);
}

void A_Model::SetColourOf(HOBJECT material, int kind, float r, float g, float b) {
  if (kind < 1 || kind > 4 || !material) return;
  float colours[4][3];  // ambient, diffuse, specular, emissive
  GetMaterialColors(material, colours[0], colours[1], colours[2], colours[3], nullptr);
  static constexpr int kSlot[5] = {0, 1, 2, 0, 3};
  float* colour = colours[kSlot[kind]];
  colour[0] = r;
  colour[1] = g;
  colour[2] = b;
  SetMaterialColors(material, colours[0], colours[1], colours[2], colours[3]);
}

void A_Model::SetMaterialColour(int kind, float r, float g, float b) {
  if (node) SetColourOf(GetPrimitiveMaterial(node, 0), kind, r, g, b);
}

void A_Model::GetMaterialColours(float* ambient, float* diffuse, float* specular, float* emissive) {
  HOBJECT m = node ? GetPrimitiveMaterial(node, 0) : 0;
  if (m) GetMaterialColors(m, ambient, diffuse, specular, emissive, nullptr);
}

int A_Model::LoadModel(const char* fileName) {
  HOBJECT loaded = ::LoadModel(0, fileName);
  if (!loaded) return 0;
  if (node) DestroyNode(node);
  node = loaded;
  material = GetPrimitiveMaterial(node, 1);
  return 1;
}

void A_Model::SetName(const char* text) { name = std::string(text ? text : "").substr(0, kNameSize - 1); }

void A_Model::MoveTo(float x, float y, float z) {
  VECTOR3 p;
  GetPosition(&p);
  Translate(x - p.x, y - p.y, z - p.z, TRANSFORM_PARENT);
}

void A_Model::SetAxes(const MATRIX44& matrix, int mode) {
  if (!node) return;
  MATRIX34 rows = effectmath::Rotation34(matrix);
  SetNodeMatrix(node, &rows, mode);
}

void A_Model::Rotate(int axis, float radians, int mode) {
  if (!node) return;
  RotateNode(node, effectmath::SwapAxisCode(axis), radians * kRadiansToDegrees, mode);
}

void A_Model::Scale(float x, float y, float z, int mode) {
  if (node) ScaleNode(node, x, z, y, mode);
}

void A_Model::Translate(float x, float y, float z, int mode) {
  if (node) SetNodePosition(node, x, z, y, mode);
}

void A_Model::TransformOf(HOBJECT of, VECTOR3* position, VECTOR3* forward, VECTOR3* up) {
  VECTOR3 p{0, 0, 0}, f{0, 0, 0}, u{0, 0, 0};
  if (of) GetNodeWorldVectors(of, &p, &f, &u);
  if (position) *position = SwappedYZ(p);
  if (forward) *forward = SwappedYZ(f);
  if (up) *up = SwappedYZ(u);
}

void A_Model::GetPosition(VECTOR3* out) { TransformOf(node, out, nullptr, nullptr); }

void A_Model::GetDirection(VECTOR3* out) { TransformOf(node, nullptr, out, nullptr); }

void A_Model::GetTransform(HOBJECT, VECTOR3* position, VECTOR3* forward, VECTOR3* up) {
  TransformOf(node, position, forward, up);
}

int A_Model::Update(int) {
  if (!visible) return 0;
  if (material) AdvanceMaterialFrame(material, 1, 1);
  return 1;
}

void A_Model::SetVisible(int flag) {
  visible = flag;
  if (node) ShowNode(node, flag);
}

void A_Model::MatrixOf(HOBJECT of, MATRIX44* out, int mode) {
  MATRIX34 m;
  SetIdentityMatrix34(&m);
  if (of) GetNodeMatrix(of, &m, mode == 1 ? 1 : 2);
  *out = effectmath::Matrix44(m);
}

void A_Model::GetMatrix(MATRIX44* out, int mode) { MatrixOf(node, out, mode); }

HOBJECT A_Model::GetNode(const char*) { return node; }

void A_Model::SetParentNode(HOBJECT parent) {
  parentNode = parent;
  if (node) SetNodeParent(node, parent);
}

void A_Model::BlendStatesOf(HOBJECT of, int srcState, int srcBlend, int dstState, int dstBlend, float alpha) {
  if (!of) return;
  SetNodeAlpha(of, alpha);
  if (alpha == 1.0f) {
    SetNodeRenderState(of, NRS_DEPTH_WRITE, 1);
    return;
  }
  SetNodeRenderState(of, dstState, dstBlend);
  SetNodeRenderState(of, srcState, srcBlend);
  SetNodeRenderState(of, NRS_DEPTH_WRITE, 0);
}

void A_Model::SetBlendStates(int srcState, int srcBlend, int dstState, int dstBlend, float alpha) {
  BlendStatesOf(node, srcState, srcBlend, dstState, dstBlend, alpha);
}
