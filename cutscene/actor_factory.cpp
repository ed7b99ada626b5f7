#include "cutscene/actor_factory.h"

#include "cutscene/board_actor.h"
#include "cutscene/camera_actor.h"
#include "cutscene/creature_actor.h"
#include "cutscene/dialog_actor.h"
#include "cutscene/fade_actor.h"
#include "cutscene/music_actor.h"
#include "cutscene/sprite_actor.h"
#include "cutscene/viewport_actor.h"
#include "cutscene/wave_actor.h"

namespace {

// The game's own actors.
class SGameActorFactory : public SActorFactory {
 public:
  std::unique_ptr<SDialog> MakeDialog(const std::string& file, const std::string& directory) override {
    return std::make_unique<SDialog>(file, directory);
  }
  std::unique_ptr<SCreature> MakeCreature(const std::string& file, int loadAllPoses,
                                          const std::string& directory) override {
    return std::make_unique<SCreature>(file.c_str(), loadAllPoses, directory.c_str());
  }
  std::unique_ptr<STCamera> MakeCamera(HOBJECT cameraNode) override { return std::make_unique<STCamera>(cameraNode); }
  std::unique_ptr<SMusic> MakeMusic() override { return std::make_unique<SMusic>(); }
  std::unique_ptr<SViewPort> MakeViewport(int x, int y, int width, int height) override {
    return std::make_unique<SViewPort>(x, y, width, height);
  }
  std::unique_ptr<SWave> MakeWave(const std::string& file, const std::string& directory) override {
    return std::make_unique<SWave>(file, directory);
  }
  std::unique_ptr<SBoard> MakeBoard(const std::string& file, const std::string& directory, int frames, int width,
                                    int height) override {
    return std::make_unique<SBoard>(file, directory, frames, width, height);
  }
  std::unique_ptr<SFade> MakeFade(int x, int y, int width, int height) override {
    return std::make_unique<SFade>(x, y, width, height);
  }
  std::unique_ptr<SSprite> MakeSprite(const std::string& file, const std::string& directory, int frames, int columns,
                                      int rows, int grid) override {
    return std::make_unique<SSprite>(file, directory, frames, columns, rows, grid);
  }
};

SActorFactory* g_installedFactory = nullptr;

}  // namespace

SActorFactory& GetActorFactory() {
  static SGameActorFactory gameFactory;
  return g_installedFactory ? *g_installedFactory : gameFactory;
}

void SetActorFactory(SActorFactory* factory) { g_installedFactory = factory; }
