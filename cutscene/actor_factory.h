#pragma once
#include <memory>
#include <string>

#include "engine/core/handles.h"

class SBoard;
class SCreature;
class SDialog;
class SFade;
class SMusic;
class SSprite;
class STCamera;
class SViewPort;
class SWave;

// Builds the actor of each kind for a play. The play keeps everything around
// the actor (names, order, directories, camera nodes, society, terrain); a
// factory only builds it. An empty directory means none. Null: the actor
// could not be made and the play's creation fails.
class SActorFactory {
 public:
  virtual ~SActorFactory() = default;

  virtual std::unique_ptr<SDialog> MakeDialog(const std::string& file, const std::string& directory) = 0;
  virtual std::unique_ptr<SCreature> MakeCreature(const std::string& file, int loadAllPoses,
                                                  const std::string& directory) = 0;
  virtual std::unique_ptr<STCamera> MakeCamera(HOBJECT cameraNode) = 0;
  virtual std::unique_ptr<SMusic> MakeMusic() = 0;
  // Pixels.
  virtual std::unique_ptr<SViewPort> MakeViewport(int x, int y, int width, int height) = 0;
  virtual std::unique_ptr<SWave> MakeWave(const std::string& file, const std::string& directory) = 0;
  virtual std::unique_ptr<SBoard> MakeBoard(const std::string& file, const std::string& directory, int frames,
                                            int width, int height) = 0;
  virtual std::unique_ptr<SFade> MakeFade(int x, int y, int width, int height) = 0;
  // grid 1: columns and rows cut the image into cells; 0: they are the cell size.
  virtual std::unique_ptr<SSprite> MakeSprite(const std::string& file, const std::string& directory, int frames,
                                              int columns, int rows, int grid) = 0;
};

// The factory every play uses: the installed one, else the game's own.
SActorFactory& GetActorFactory();
// Installs a factory (not owned); null goes back to the game's own.
void SetActorFactory(SActorFactory* factory);
