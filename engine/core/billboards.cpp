#include "engine/core/billboards.h"

#include "engine/core/materials.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"

namespace {

HOBJECT BillboardMaterial(HOBJECT handle) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_BILLBOARD);
  auto* billboard = node ? static_cast<BILLBOARDDESC*>(node->kindData) : nullptr;
  if (!billboard || billboard->materialIndex < 0) return 0;
  return MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(billboard->materialIndex));
}

}  // namespace

HOBJECT CreateBillboardNode(HOBJECT parent, const char* textureName, int frameCount, float width, float height,
                            int keyOption1, int keyOption2, int keyOption3, int keyOption4) {
  if (g_nodeUnderConstruction) return 0;
  BeginNode(NODE_BILLBOARD);
  NODEDESC* node = g_nodeUnderConstruction;
  if (!node) return 0;
  auto* billboard = static_cast<BILLBOARDDESC*>(node->kindData);
  billboard->halfWidth = width / 2;
  billboard->halfHeight = height / 2;
  if (textureName) {
    const float ambient[3] = {0.7f, 0.7f, 0.7f};
    const float diffuse[3] = {1, 1, 1};
    const float specular[3] = {0, 0, 0};
    const float emissive[3] = {1, 1, 1};
    HOBJECT material = CreateTexturedMaterial(ambient, diffuse, specular, emissive, 40, textureName, frameCount, 0, 0,
                                              keyOption1, keyOption2, keyOption3, keyOption4);
    billboard->materialIndex = material ? static_cast<int>(GetHandleIndex(material)) : -1;
  }
  SetNodeRenderState(0, NRS_ADDRESSING_STAGE0, kAddressClamp);
  return EndNode(parent);
}

void SetBillboardFrame(HOBJECT node, int frame) {
  HOBJECT material = BillboardMaterial(node);
  if (!material) return;
  AdvanceMaterialFrame(material, 0, 0);
  if (frame > 0) AdvanceMaterialFrame(material, frame, 0);
}

int AdvanceBillboardFrame(HOBJECT node, int count, int wrap) {
  HOBJECT material = BillboardMaterial(node);
  return material ? AdvanceMaterialFrame(material, count, wrap) : 0;
}
