#include "components/efficacy_texture_directory.h"

#include "engine/media/data_directories.h"

EfficacyTextureDirectory::EfficacyTextureDirectory() : kept_(GetTextureDirectory()) {
  SetTextureDirectory(".\\data\\Efficacy\\Texture");
}

EfficacyTextureDirectory::~EfficacyTextureDirectory() { SetTextureDirectory(kept_.c_str()); }
