#pragma once
#include <string>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// The one interface through which the effect player drives every element of
// a special effect. Positions, directions, scales and axis codes are in
// effect coordinates (Y-up, radians); matrices (SetAxes, GetMatrix) are the
// engine's own rotation rows, as the aiming and camera code build them.
// Transform modes are the engine's: 0 set, 1 local, 2 parent.
class ModelVirtualClass {
 public:
  virtual ~ModelVirtualClass() = default;

  virtual void SetAdditiveBlend(int /*additive*/, float /*alpha*/) {}
  // kind 1 diffuse, 2 specular, 3 ambient, 4 emissive.
  virtual void SetMaterialColour(int /*kind*/, float /*r*/, float /*g*/, float /*b*/) {}
  virtual void GetMaterialColours(float* /*ambient*/, float* /*diffuse*/, float* /*specular*/, float* /*emissive*/) {}
  virtual int LoadModel(const char* /*fileName*/) { return 0; }
  virtual void SetName(const char* /*text*/) {}
  virtual std::string GetName() { return {}; }
  virtual void MoveTo(float /*x*/, float /*y*/, float /*z*/) {}
  virtual void SetAxes(const MATRIX44& /*matrix*/, int /*mode*/) {}
  virtual void Rotate(int /*axis*/, float /*radians*/, int /*mode*/) {}
  virtual void Scale(float /*x*/, float /*y*/, float /*z*/, int /*mode*/) {}
  virtual void Translate(float /*x*/, float /*y*/, float /*z*/, int /*mode*/) {}
  virtual void GetPosition(VECTOR3* out) { *out = {0, 0, 0}; }
  virtual void GetDirection(VECTOR3* out) { *out = {0, 0, 0}; }
  virtual void PlayPose(int /*pose*/, int /*endFrame*/, int /*restartFrame*/, int /*loop*/) {}
  // One effect frame; 1 when the element did its step.
  virtual int Update(int /*n*/) { return 0; }
  virtual void SetVisible(int /*flag*/) {}
  virtual int IsVisible() { return 0; }
  // mode 1 the local matrix, any other the world matrix.
  virtual void GetMatrix(MATRIX44* out, int /*mode*/) { *out = MATRIX44{}; }
  // The node of a part (creatures) or the element's node.
  virtual HOBJECT GetNode(const char* /*partName*/) { return 0; }
  // World position, forward and up axes; outputs optional.
  virtual void GetTransform(HOBJECT /*node*/, VECTOR3* /*position*/, VECTOR3* /*forward*/, VECTOR3* /*up*/) {}
  virtual void SetStopped(int /*flag*/) {}
  virtual void StepFrame() {}
  virtual void Restart(int /*flag*/) {}
  virtual void ScrollTexture(float /*du*/, float /*dv*/) {}
  virtual void SetParentNode(HOBJECT /*node*/) {}
  virtual HOBJECT GetParentNode() { return 0; }
  virtual int PickAt(int /*x*/, int /*y*/) { return 0; }
  virtual void SetViewCamera(HOBJECT /*node*/) {}
  virtual HOBJECT GetOwnNode() { return 0; }
  // srcState and dstState are the render states holding the blend factors.
  virtual void SetBlendStates(int /*srcState*/, int /*srcBlend*/, int /*dstState*/, int /*dstBlend*/, float /*alpha*/) {
  }
};

// An element over one engine node: the model element and the base of every
// other element.
class A_Model : public virtual ModelVirtualClass {
 public:
  A_Model() = default;
  ~A_Model() override;
  A_Model(const A_Model&) = delete;
  A_Model& operator=(const A_Model&) = delete;

  void SetAdditiveBlend(int additive, float alpha) override;
  void SetMaterialColour(int kind, float r, float g, float b) override;
  void GetMaterialColours(float* ambient, float* diffuse, float* specular, float* emissive) override;
  // 1 when a model node came in.
  int LoadModel(const char* fileName) override;
  void SetName(const char* text) override;
  std::string GetName() override { return name; }
  void MoveTo(float x, float y, float z) override;
  void SetAxes(const MATRIX44& matrix, int mode) override;
  void Rotate(int axis, float radians, int mode) override;
  void Scale(float x, float y, float z, int mode) override;
  void Translate(float x, float y, float z, int mode) override;
  void GetPosition(VECTOR3* out) override;
  void GetDirection(VECTOR3* out) override;
  // Visible: advances the kept material's texture one frame, wrapping.
  int Update(int n) override;
  void SetVisible(int flag) override;
  int IsVisible() override { return visible; }
  void GetMatrix(MATRIX44* out, int mode) override;
  HOBJECT GetNode(const char* partName) override;
  void GetTransform(HOBJECT node, VECTOR3* position, VECTOR3* forward, VECTOR3* up) override;
  void SetParentNode(HOBJECT node) override;
  HOBJECT GetParentNode() override { return parentNode; }
  HOBJECT GetOwnNode() override { return node; }
  void SetBlendStates(int srcState, int srcBlend, int dstState, int dstBlend, float alpha) override;

  // Names from effect files have at most 19 characters; 27 are kept.
  static constexpr size_t kNameSize = 28;

  int visible = 1;
  std::string name;
  HOBJECT node = 0;
  HOBJECT parentNode = 0;
  HOBJECT material = 0;

 protected:
  // The shared bodies, for elements that apply them to other nodes.
  static void SetColourOf(HOBJECT material, int kind, float r, float g, float b);
  static void BlendStatesOf(HOBJECT node, int srcState, int srcBlend, int dstState, int dstBlend, float alpha);
  static void TransformOf(HOBJECT node, VECTOR3* position, VECTOR3* forward, VECTOR3* up);
  static void MatrixOf(HOBJECT node, MATRIX44* out, int mode);
};
