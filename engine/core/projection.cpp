#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/picking.h"
#include "engine/core/picking_view.h"
#include "engine/core/viewports.h"

namespace {

// A view-space point through the camera's projection, with the divide.
void ProjectViewPoint(const CAMERADESC& camera, const VECTOR3& p, float* x, float* y) {
  float clip[4];
  TransformPoint4(&p, &camera.projectionMatrix, clip);
  *x = clip[0] / clip[3];
  *y = clip[1] / clip[3];
}

}  // namespace

int HitTestBillboard(HOBJECT viewport, HOBJECT handle, int sx, int sy) {
  VIEWQUERY query;
  if (!BeginViewQuery(viewport, &query)) return 0;
  const NODEDESC* node = LookupNodeOfKind(handle, NODE_BILLBOARD);
  if (!node || !node->kindData) return 0;
  const auto& billboard = *static_cast<const BILLBOARDDESC*>(node->kindData);
  const CAMERADESC& c = *query.lens;

  VECTOR3 position;
  GetNodeWorldVectors(node, &position, nullptr, nullptr);
  TransformPointByMatrix44(&position, &position, &query.view);
  if (!(-c.farPlane < position.z && position.z < -c.nearPlane)) return 0;

  const VECTOR3 low = {position.x - billboard.halfWidth, position.y - billboard.halfHeight, position.z};
  const VECTOR3 high = {position.x + billboard.halfWidth, position.y + billboard.halfHeight, position.z};
  const VIEWPORTDESC& v = *query.viewport;
  int screenX[2], screenY[2];
  const VECTOR3* corners[2] = {&low, &high};
  for (int i = 0; i < 2; ++i) {
    float x, y;
    ProjectViewPoint(c, *corners[i], &x, &y);
    screenX[i] =
        static_cast<int>(static_cast<float>(v.x) + (x - c.windowLeft) * static_cast<float>(v.width) / c.windowWidth);
    screenY[i] = static_cast<int>(static_cast<float>(v.y) + (c.windowBottom + c.windowHeight - y) *
                                                                static_cast<float>(v.height) / c.windowHeight);
  }
  auto between = [](int value, int a, int b) { return (a < value && value < b) || (b < value && value < a); };
  return between(sx, screenX[0], screenX[1]) && between(sy, screenY[0], screenY[1]) ? 1 : 0;
}

int ProjectToScreen(HOBJECT viewport, const VECTOR3* point, VECTOR3* out, int mode, int wantDepth) {
  VIEWQUERY query;
  if (!point || !out || !BeginViewQuery(viewport, &query)) return 0;
  const CAMERADESC& c = *query.lens;
  MATRIX44 toClip;
  MultiplyMatrix44(&toClip, &query.view, &c.projectionMatrix);
  float clip[4];
  TransformPoint4(point, &toClip, clip);
  if (clip[3] <= 0) return 0;
  const float x = clip[0] / clip[3];
  const float y = clip[1] / clip[3];
  const float z = clip[2] / clip[3];

  if (mode == 1) {
    out->x = (x + 1) * c.windowWidth / 2 + c.windowLeft;
    out->y = (y + 1) * c.windowHeight / 2 + c.windowBottom;
    if (!(0 < z && z < 1) || !(c.windowLeft < out->x && out->x < c.windowLeft + c.windowWidth) ||
        !(c.windowBottom < out->y && out->y < c.windowBottom + c.windowHeight))
      return 0;
  } else if (mode == 2) {
    const VIEWPORTDESC& v = *query.viewport;
    const float width = static_cast<float>(v.width);
    const float height = static_cast<float>(v.height);
    out->x = (x + 1) / 2 * width;
    out->y = height - (y + 1) / 2 * height;
    if (!(0 < out->x && out->x < width) || !(0 < out->y && out->y < height)) return 0;
    if (LinesDoubled()) out->y *= 2;
  } else {
    return 0;
  }
  if (wantDepth) out->z = z;
  return 1;
}

int GetCameraProjection(HOBJECT camera, MATRIX44* out) {
  const NODEDESC* node = LookupNodeOfKind(camera, NODE_CAMERA);
  if (!node || !node->kindData || !out) return 0;
  *out = static_cast<const CAMERADESC*>(node->kindData)->projectionMatrix;
  return 1;
}
