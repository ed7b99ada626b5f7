#pragma once

// The sample world's creatures: the hero's forms 1 and 3, their face
// textures and the blob shadow's texture (loose files of the texture folder).
namespace datagen::sample {

inline constexpr const char* kHeroForm1File = "creature/Walk01.MCB";
inline constexpr const char* kHeroForm3File = "creature/Walk03.MCB";
inline constexpr const char* kHeroForm1Model = "Walk01";
inline constexpr const char* kHeroForm3Model = "Walk03";
inline constexpr const char* kHeroFaceFiles[2] = {"texture/Walk01m00.qbt", "texture/Walk01m01.qbt"};
inline constexpr const char* kShadowTextureFile = "texture/shadow1.qbt";
// Poses: 2 stands, 3 to 6 walk, 12 is a one-shot idle; every pose has three frames.
inline constexpr int kHeroPoses = 13;
inline constexpr int kHeroFramesPerPose = 3;
inline constexpr int kHeroStandPose = 2;
inline constexpr int kHeroIdlePose = 12;

}  // namespace datagen::sample
