#pragma once
// The sample world's maps: the names and numbers its scene files, texture
// packages, game resource and environment file share with the tests.
#include <string>

#include "tools/datagen/scene_file_writer.h"

namespace datagen {

// The game resource and the environment file.
bool WriteSampleMapTables(const std::string& root, std::string& error);
// The village's scene as written to a004.sb.
SceneFileData SampleVillageScene();

namespace sample {

inline constexpr const char* kVillageScene = "scenes/a004.sb";
inline constexpr const char* kMeadowScene = "scenes/e001.sb";
inline constexpr const char* kArenaScene = "BattleScene/ba01.sb";
inline constexpr const char* kVillagePackage = "texture/a00.qxo";
inline constexpr const char* kMeadowPackage = "texture/e00.qxo";
inline constexpr const char* kArenaPackage = "texture/ba0.qxo";
inline constexpr const char* kStreamFile = "waves/stream.wav";
inline constexpr const char* kStreamWave = "stream.wav";
inline constexpr const char* kGameResourceFile = "resource/Zudur.res";
inline constexpr const char* kEnvironmentFile = "environment.dat";

// Map-table rows (1-based), as the game's scene names.
inline constexpr int kVillageRow = 1;
inline constexpr int kMeadowRow = 2;
inline constexpr int kArenaRow = 3;
inline constexpr const char* kVillageName = "a004";
inline constexpr const char* kMeadowName = "e001";
inline constexpr const char* kArenaName = "ba01";
inline constexpr const char* kWorldMapName = "map00";
inline constexpr const char* kVillageCaption = "Village";
inline constexpr const char* kMeadowCaption = "Meadow";
inline constexpr int kVillageCdTrack = 3;
inline constexpr int kMeadowCdTrack = 2;

// The village.
inline constexpr float kVillageHalfSide = 600;
inline constexpr float kSkySide = 6000;
inline constexpr const char* kMiraName = "Mira";
inline constexpr const char* kBramName = "Bram";
inline constexpr const char* kNpcModel = "mira";
inline constexpr const char* kNpcModelFile = "creature/mira.mcb";
inline constexpr const char* kLocateTexture = "texture/locate.qbt";
// Bram walks his two waypoints back and forth this many times.
inline constexpr int kBramWalks = 100;
inline constexpr const char* kStreamTrigger = "stream";
inline constexpr const char* kBillboardTexture = "Kflame";
inline constexpr const char* kMorphObject = "M_grass";

// The meadow: a grid of 400-unit cells with the centre cell left out.
inline constexpr float kMeadowHalfSide = 600;
inline constexpr float kPondHalfSide = 200;

// The arena: a floor of cells x cells squares.
inline constexpr int kArenaCells = 6;
inline constexpr float kArenaCell = 100;

// Message 50 is the text widgets' default face.
inline constexpr const char* kFirstMessage = "Tarnwick";
inline constexpr const char* kFontFace = "AR PL UMing TW";

}  // namespace sample
}  // namespace datagen
