#pragma once
#include "engine/core/handles.h"

struct CAMERADESC;

// Camera nodes (kind data CAMERADESC, nodes.h) look along their local -Z with
// +Y up. Camera calls act only on camera nodes; handle 0 is the node under
// construction.

HOBJECT CreateCameraNode(HOBJECT parent, float aspect, float lens, float aperture, float nearPlane, float farPlane);
// 1 perspective, any other value orthographic; rebuilds projection and frustum.
void SetCameraProjection(HOBJECT camera, int projection);
// Field of view = 2 atan(aperture * 25.4 / 2 / lens); always rebuilds a
// perspective projection.
void SetCameraLens(HOBJECT camera, float aspect, float lens, float aperture);
// Lens = 10.922 / tan(degrees / 2), aperture 0.86.
void SetCameraFieldOfView(HOBJECT camera, float aspect, float degrees);
// On the software path a near plane of 1.0 or less becomes 1.0.
void SetCameraClipPlanes(HOBJECT camera, float nearPlane, float farPlane);
// Recomputes the six view-space planes from the camera's lens and window.
void UpdateCameraFrustum(CAMERADESC* camera);
// Rebuilds the projection matrix by the projection setting.
void BuildCameraProjection(CAMERADESC* camera);
