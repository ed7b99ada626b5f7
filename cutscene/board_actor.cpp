#include "cutscene/board_actor.h"

#include "cutscene/directory_switch.h"
#include "engine/core/billboards.h"
#include "engine/core/engine_queries.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/picking.h"
#include "engine/media/data_directories.h"

SBoard::SBoard(const std::string& file, const std::string& directory, int frames, int width, int height)
    : frameCount_(frames), fileName_(file), width_(width), height_(height) {
  ScopedDirectory textures(GetTextureDirectory, SetTextureDirectory, directory);
  node_ =
      CreateBillboardNode(0, file.c_str(), frames, static_cast<float>(width), static_cast<float>(height), 0, 0, 0, 0);
}

SBoard::~SBoard() { DestroyNode(node_); }

void SBoard::Reset() {
  SetRenderState(5, 0);
  SetRenderState(22, 3);
  SetRenderState(23, 4);
  SetOpacity(0.9f);
  SetFrame(0);
  loop_ = 1;
}

int SBoard::Update(int frames) { return AdvanceBillboardFrame(node_, frames, loop_); }

int SBoard::HitTest(HOBJECT viewport, int x, int y) { return HitTestBillboard(viewport, node_, x, y); }

void SBoard::SetFrame(int frame) { SetBillboardFrame(node_, frame); }

void SBoard::GetMaterialColor(int kind, float* r, float* g, float* b) {
  const HOBJECT material = GetBillboardMaterial(node_);
  if (!material || kind < 0 || kind > 3) return;
  float colours[4][3] = {};
  GetMaterialColors(material, colours[0], colours[1], colours[2], colours[3], nullptr);
  if (r) *r = colours[kind][0];
  if (g) *g = colours[kind][1];
  if (b) *b = colours[kind][2];
}

void SBoard::SetMaterialColor(int kind, float r, float g, float b) {
  const HOBJECT material = GetBillboardMaterial(node_);
  if (!material || kind < 0 || kind > 3) return;
  const float colour[3] = {r, g, b};
  const float* colours[4] = {};
  colours[kind] = colour;
  SetMaterialColors(material, colours[0], colours[1], colours[2], colours[3]);
}
