// Showing and hiding the scene, the display settings, the automap display and
// the loading screen.
#include "base/game_audio.h"
#include "components/mix_creature.h"
#include "components/sword_man.h"
#include "database/game_resource.h"
#include "database/system_config.h"
#include "engine/media/screen.h"
#include "engine/media/sprites.h"
#include "game/field_walker.h"
#include "game/force_feedback_mouse.h"
#include "game/game.h"
#include "game/loading_animation.h"
#include "platform/threads.h"
#include "ui/menu_agency.h"
#include "ui/overlay_input.h"
#include "world/ambient_sounds.h"
#include "world/automap_panel.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_environment.h"
#include "world/scene_markers.h"
#include "world/scene_npc.h"

namespace {

constexpr int kFeedbackMagnitude = 50000, kHideFeedbackPeriodMs = 100, kFeedbackDurationMs = 300;
constexpr int kShadowsOn = 16;
constexpr int kShadowsOff = 2;

CSceneEnvironment* EnvironmentOf(const MScene* scene) {
  return scene && scene->content ? scene->content->environment.get() : nullptr;
}

// The walker's creature and every shown NPC's.
template <typename Apply>
void ForEachShownCreature(CGame& g, Apply apply) {
  if (g.walker && g.walker->creature) apply(*g.walker->creature);
  if (!g.scene || !g.scene->content) return;
  for (const auto& person : g.scene->content->people)
    if (person->creature && IsContentActive(person->flags)) apply(*person->creature);
}

}  // namespace

void CGame::ShowScene(int show, int partial) {
  if (!scene) return;
  if (show) {
    InstallOverlayInput(nullptr);
    ApplyDisplaySettings();
  } else {
    ApplyEffectFlags(0);
    InstallOverlayInput(&g_menuAgency);
    if (scene->automap) scene->automap->Show(0);
    g_forceFeedbackMouse.PlayPeriodic(kFeedbackMagnitude, kHideFeedbackPeriodMs, kFeedbackDurationMs);
    if (scene->locate) scene->locate->Show(0);
  }
  if (walker) walker->ShowCreature(show);
  if (!partial) {
    scene->Show(show, show);
    return;
  }
  if (scene->portals) scene->portals->Show(show);
  if (scene->content && scene->content->ambientSounds) scene->content->ambientSounds->Enable(show);
}

void CGame::ApplyEffectFlags(int on) {
  if (CSceneEnvironment* environment = EnvironmentOf(scene)) environment->SetEffectFlags(on ? sceneEffectFlags : 0);
}

void CGame::ApplyDisplaySettings() {
  if (!scene || !config) return;
  if (CSceneEnvironment* environment = EnvironmentOf(scene)) environment->ApplyFog();
  if (scene->camera) scene->camera->SetViewDistance(config->viewDistance);
  if (config->softwareRendering) {
    ApplyEffectFlags(0);
    ForEachShownCreature(*this, [](CGCBMixCreature& c) { c.ShowShadow(0); });
  } else {
    ApplyEffectFlags(config->effects);
    if (state != GS_SCRIPT) scene->shadowDetail = config->shadows;
    const int mode = config->shadows ? kShadowsOn : kShadowsOff;
    ForEachShownCreature(*this, [mode](CGCBMixCreature& c) {
      c.SetShadowMode(mode);
      c.ShowShadow(1);
    });
  }
  scene->cullingDistance = config->detailDistance;
}

void CGame::RefreshAutomap(int redraw) {
  CAutomapPanel* automap = scene ? scene->automap : nullptr;
  if (!automap) return;
  switch (automapMode) {
    case 0:
      automap->SetFollowMode(0);
      automap->Show(1);
      break;
    case 1: automap->SetFollowMode(1); break;
    default: automap->Show(0); break;
  }
  automap->Redraw(redraw);
}

void CGame::ShowLoading(int show, int keepWalkerHidden) {
  if (show) {
    if (scene) SetCursorShape(2, 0);
    if (walker) walker->ShowCreature(0);
    mouse.Show(0);
    if (loading) {
      ++loading->nested;
      return;
    }
    loading = new CLoadingAnimation;
    loading->StartWorker();
    // The first picture at once, before the load begins; the menus are not
    // run from here, so nothing they own is touched mid-change.
    plat::DisplayLock lock;
    DrawSprites(0, 1);
    FlipScreen();
    return;
  }
  if (!loading) return;
  if (loading->nested > 0) {
    --loading->nested;
    return;
  }
  loading->StopWorker();
  delete loading;
  loading = nullptr;
  if (!keepWalkerHidden && walker) walker->ShowCreature(1);
}

void CGame::PlaySceneTrack() {
  if (!scene || !scene->mapRecord || !audio) return;
  const int track = static_cast<int8_t>(scene->mapRecord->CdTrack());
  if (track > 0) audio->PlayTrack(track);
}
