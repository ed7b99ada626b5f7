#include "tools/datagen/sample_world.h"

#include <filesystem>
#include <system_error>

#include "tools/datagen/sample_world_parts.h"

namespace datagen {

bool WriteSampleWorld(const std::string& outDir, std::string& error) {
  std::error_code ec;
  std::filesystem::create_directories(outDir, ec);
  if (ec) {
    error = "cannot create " + outDir + ": " + ec.message();
    return false;
  }
  for (const char* dir : {"texture", "scenes", "creature", "creature/battle", "image", "waves", "extra", "resource",
                          "save", "scripts", "cdaudio"}) {
    std::filesystem::create_directories(std::filesystem::path(outDir) / dir, ec);
    if (ec) {
      error = "cannot create " + std::string(dir) + ": " + ec.message();
      return false;
    }
  }
  const std::string root = (std::filesystem::path(outDir) / "").string();
  // One writer per area; each adds its own line here.
  using Part = bool (*)(const std::string&, std::string&);
  const Part parts[] = {
      WriteSampleDatabase,     WriteSampleTalk,        WriteSampleAssets,
      WriteSampleSounds,       WriteSampleCutScene,    WriteSampleBattleTexts,
      WriteSampleGameCore,     WriteSampleMaps,        WriteSamplePeople,
      WriteSampleCreatures,    WriteSampleUi,          WriteSampleSwordsman,
      WriteSampleDialogue,     WriteSampleEfficacy,    WriteSampleAutomapImages,
      WriteSampleCamera,       WriteSampleFieldExtras, WriteSampleField,
      WriteSampleBattle,       WriteSampleEnemies,     WriteSampleEventSounds,
      WriteSampleMenuTextures, WriteSampleBattleHud,   WriteSampleHeroTurns,
  };
  for (Part part : parts) {
    if (!part(root, error)) return false;
  }
  return true;
}

}  // namespace datagen
