#pragma once
#include <string>

namespace datagen {

// Writes the sample world under outDir (created when missing). It grows with
// each subsystem; every file is produced by the format writers of this folder.
bool WriteSampleWorld(const std::string& outDir, std::string& error);

}  // namespace datagen
