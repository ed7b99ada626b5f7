// The sample world's game resource (NPC and map tables, number blocks,
// messages) and its scenes' environment records.
#include <vector>

#include "tools/datagen/environment_writer.h"
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"

namespace datagen {
namespace {

using namespace sample;

constexpr int kFontMessage = 50;

GameResourceData Resource() {
  GameResourceData r;
  r.npcs = {{'k', kNpcModel, 0, kMiraName, 1}, {'k', kNpcModel, 0, kBramName, 2}};

  // Rows name their scenes without the extension: the game adds ".SB" (a
  // battle "%s.sb").
  MapData village;
  village.caption = kVillageCaption;
  village.scene = kVillageName;
  village.dayPhase = 1;
  village.bossScene = kArenaRow;
  village.cdTrack = kVillageCdTrack;
  village.battleCdTrack = kVillageCdTrack;

  MapData meadow;
  meadow.caption = kMeadowCaption;
  meadow.scene = kMeadowName;
  meadow.dayPhase = 1;
  meadow.battleScenes = {kArenaRow, 0};
  meadow.stepThreshold = 20;  // met within a short walk
  meadow.encounterRate = 100;
  meadow.groupSizeFactor = 1;
  meadow.enemies = {kEnemyId, kEnemyId, kShooterId};  // the first is never drawn
  meadow.cdTrack = kMeadowCdTrack;
  meadow.battleCdTrack = kMeadowCdTrack;

  MapData arena;
  arena.caption = "Arena";
  arena.scene = kArenaName;
  r.maps = {village, meadow, arena};

  r.messages.assign(kFontMessage, "");
  r.messages[0] = kFirstMessage;
  r.messages[kFontMessage - 1] = kFontFace;
  AddSampleUiMessages(r.messages);
  AddSampleFieldExtrasMessages(r.messages);
  AddSampleEvents(r);
  AddSampleRecipes(r);
  AddSampleMenuMessages(r.messages);
  AddSampleTalkNames(r.messages);
  AddSampleEventNotes(r);
  return r;
}

std::vector<EnvironmentRecordData> Environment() {
  EnvironmentRecordData village;
  village.scene = kVillageName;
  village.ambient = {150, 140, 120};
  village.flags = 0x1 | 0x8;
  village.fogDensity = 255;
  village.fogColor = {200, 210, 230};
  village.fogStart = 800;
  village.fogEnd = 3000;
  village.flareDirection = {-50, 60, 40};

  EnvironmentRecordData meadow;
  meadow.scene = kMeadowName;
  meadow.ambient = {120, 130, 120};
  meadow.flags = 0x4;
  meadow.particlesPerTen = 20;
  meadow.driftSpeed = 15;
  meadow.driftDirection = {90, 90, 0};

  EnvironmentRecordData arena;
  arena.scene = kArenaName;
  arena.ambient = {100, 100, 100};
  arena.size = 20;
  return {village, meadow, arena};
}

}  // namespace

bool WriteSampleMapTables(const std::string& root, std::string& error) {
  return WriteGameResource(root + kGameResourceFile, Resource(), error) &&
         WriteEnvironmentFile(root + kEnvironmentFile, Environment(), error);
}

}  // namespace datagen
