#include "world/scene_data.h"

// MINIMAL: the text form of the scene file is not read yet; the scene stays empty.
void CSceneData::ReadText(const std::string&) {}
