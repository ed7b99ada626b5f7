#pragma once
#include <memory>
#include <string>
#include <vector>

#include "components/effect_element.h"
#include "components/efficacy_records.h"

// A strip of textured quads: n sections (pairs of top and bottom points)
// with one four-vertex mesh segment between neighbours, all under a root
// dummy node and sharing one material. Sections are kept in engine
// coordinates. It may turn to face the view camera and scroll its texture.
class A_SectionalModel : public A_Model {
 public:
  static constexpr int kMaxSections = 2048;

  A_SectionalModel() = default;
  ~A_SectionalModel() override;

  void SetActive(int flag) { blendControl = flag; }
  // Lays out n sections along y (engine) with their points width apart;
  // fewer than 2 sections, or more than kMaxSections, leave the ribbon
  // empty. uvMode 1 stretches the texture over the ribbon, 2 repeats it per
  // segment.
  void Build(const char* textureName, int frameCount, float length, float width, int n, int uvMode);
  // Points in effect coordinates; nothing for an index past the last.
  void SetSection(int i, const VECTOR3& top, const VECTOR3& bottom);
  void GetSection(int i, VECTOR3* top, VECTOR3* bottom) const;
  void SetTextureRange(float uStart, float vTop, float uEnd, float vBottom);
  void SetFacing(int a, int b, int full);
  // Smooth normals per segment, averaged across the seams.
  void SmoothSeams();

  void SetAdditiveBlend(int additive, float alpha) override;
  void SetMaterialColour(int kind, float r, float g, float b) override;
  void GetMaterialColours(float* ambient, float* diffuse, float* specular, float* emissive) override;
  void SetBlendStates(int srcState, int srcBlend, int dstState, int dstBlend, float alpha) override;
  void Scale(float x, float y, float z, int mode) override;
  void ScrollTexture(float du, float dv) override;
  void SetVisible(int flag) override;
  HOBJECT GetNode(const char*) override { return node; }
  void SetViewCamera(HOBJECT camera) override { viewCamera = camera; }
  int Update(int n) override;

  int SectionCount() const { return sectionCount; }
  const std::vector<HOBJECT>& Segments() const { return segments; }

  // The texture name a material is made from: cut at the first '.', or two
  // characters earlier when a two-digit frame number stands before it.
  static std::string MaterialTextureName(const char* textureName);

  float length = 0;
  float width = 0;
  int sectionCount = 0;
  std::vector<VECTOR3> sections;  // top, bottom per section
  int uvMode = 1;
  float uStep = 1;
  std::vector<HOBJECT> segments;
  int faceX = 0;
  int faceY = 0;
  int faceFully = 0;
  VECTOR3 scale{1, 1, 1};
  int blendControl = 1;
  HOBJECT viewCamera = 0;

 protected:
  void Clear();
  void FaceCamera();
};

// Builds a laid-out ribbon from an effect's shape block.
std::unique_ptr<A_SectionalModel> BuildSectional(const efc::EFCSECTIONALDESC& shape, int blendControl);

// A ribbon used as a trail: its newest section is pinned to two anchor
// points every frame while older sections shift back, so the strip traces
// the anchors' path; when its countdown runs out it fades and stops.
class A_TractionEfficacy : public A_SectionalModel {
 public:
  void Setup(const efc::EFCTRACTIONDESC& block);
  // countdown -1 follows without end.
  void Start(int countdown, float fadeStep);
  void Stop();
  // Anchors in effect coordinates, refreshed by the player every frame.
  void SetAnchors(const VECTOR3& a, const VECTOR3& b) {
    block.anchorA = a;
    block.anchorB = b;
  }

  void SetVisible(int flag) override;
  int Update(int n) override;

  int active = 0;
  efc::EFCTRACTIONDESC block;
  int countdown = 0;
  float fadeStep = 0;
  float fadeLevel = 1;
};
