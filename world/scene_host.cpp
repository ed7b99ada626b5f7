#include "world/scene_host.h"

namespace {

MSceneHost g_sceneHost;

}  // namespace

void SetSceneHost(const MSceneHost& host) { g_sceneHost = host; }

const MSceneHost& SceneHost() { return g_sceneHost; }
