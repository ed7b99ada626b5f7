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
  // MINIMAL: the dialogue actor is not built yet; no dialogue actor is made.
  std::unique_ptr<SDialog> MakeDialog(const std::string&, const std::string&) override {
    return nullptr;
  }
  // MINIMAL: the creature actor is not built yet; no creature actor is made.
  std::unique_ptr<SCreature> MakeCreature(const std::string&, int, const std::string&) override {
    return nullptr;
  }
  // MINIMAL: the camera actor is not built yet; no camera actor is made.
  std::unique_ptr<STCamera> MakeCamera(HOBJECT) override { return nullptr; }
  // MINIMAL: the music actor is not built yet; no music actor is made.
  std::unique_ptr<SMusic> MakeMusic() override { return nullptr; }
  // MINIMAL: the viewport actor is not built yet; no viewport actor is made.
  std::unique_ptr<SViewPort> MakeViewport(int, int, int, int) override { return nullptr; }
  // MINIMAL: the wave actor is not built yet; no wave actor is made.
  std::unique_ptr<SWave> MakeWave(const std::string&, const std::string&) override {
    return nullptr;
  }
  // MINIMAL: the board actor is not built yet; no board actor is made.
  std::unique_ptr<SBoard> MakeBoard(const std::string&, const std::string&, int, int,
                                    int) override {
    return nullptr;
  }
  // MINIMAL: the fade actor is not built yet; no fade actor is made.
  std::unique_ptr<SFade> MakeFade(int, int, int, int) override { return nullptr; }
  // MINIMAL: the sprite actor is not built yet; no sprite actor is made.
  std::unique_ptr<SSprite> MakeSprite(const std::string&, const std::string&, int, int, int,
                                      int) override {
    return nullptr;
  }
};

SActorFactory* g_installedFactory = nullptr;

}  // namespace

SActorFactory& GetActorFactory() {
  static SGameActorFactory gameFactory;
  return g_installedFactory ? *g_installedFactory : gameFactory;
}

void SetActorFactory(SActorFactory* factory) { g_installedFactory = factory; }
