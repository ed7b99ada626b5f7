#include "engine/media/model_mesh.h"

#include "engine/core/device_setup.h"
#include "engine/core/nodes.h"

void SetUpSoftMeshBuffers(NODEDESC* node) {
  MESHDESC* mesh = node ? node->Mesh() : nullptr;
  if (!mesh || g_useDirect3D) return;
  node->softBuffer.assign(static_cast<size_t>(mesh->vertexCapacity) * 6 * 4, 0);
  mesh->softWork.assign(static_cast<size_t>(mesh->vertexCapacity), 0);
}

int PrimitiveMaterialWord(HOBJECT material) { return material ? static_cast<int>(GetHandleIndex(material)) : -1; }
