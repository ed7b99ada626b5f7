#pragma once
#include <string>

// While alive, textures are searched in ".\data\Efficacy\Texture"; the
// directory found before comes back on every way out.
class EfficacyTextureDirectory {
 public:
  EfficacyTextureDirectory();
  ~EfficacyTextureDirectory();
  EfficacyTextureDirectory(const EfficacyTextureDirectory&) = delete;
  EfficacyTextureDirectory& operator=(const EfficacyTextureDirectory&) = delete;

 private:
  std::string kept_;
};
