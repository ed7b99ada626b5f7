// The sample world's shop and save screens: the pictures of the save list,
// the trade window and the item icons, and the recipe that makes a Tonic.
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"

namespace datagen {

std::vector<UiPictureDesc> SampleShopPictures() {
  using enum UiPictureStyle;
  return {
      // The save list, its name entry and its confirmation boxes.
      {"ifi0500", 640, 480, 1, kPanel},
      {"if05b300", 86, 21, 3, kButton},
      {"if05b200", 86, 21, 3, kButton},
      {"if05b100", 86, 21, 3, kButton},
      {"ifib1000", 96, 21, 3, kButton},
      {"ifi5600", 240, 82, 1, kPanel},
      {"ifi5200", 188, 77, 1, kPanel},
      {"ifi5500", 188, 77, 1, kPanel},
      {"ifbtn00", 38, 19, 3, kButton},
      {"ifbtn01", 38, 19, 3, kButton},
      // The trade window and its quantity dialog.
      {"ifi0300", 640, 480, 1, kPanel},
      {"ifib05001", 49, 49, 3, kCell},
      {"ifib03001", 96, 21, 3, kButton},
      {"ifib03002", 96, 21, 3, kButton},
      {"ifib03003", 96, 21, 3, kButton},
      {"if5200", 140, 84, 1, kPanel},
      {"ifbtn02", 39, 19, 3, kButton},
      {"ifbtn03", 39, 19, 3, kButton},
  };
}

void AddSampleRecipes(GameResourceData& r) {
  using namespace sample;
  // Ingredient types, result types, ingredient ids, result ids; four places each.
  const int16_t recipe[16] = {kHerbType, kPotionType, 0, 0, kPotionType, 0, 0, 0,
                              kHerbId,   kPotionId,   0, 0, kTonicId,    0, 0, 0};
  ResourceSectionData recipes;
  recipes.kind = 37;
  recipes.count = 1;
  for (int16_t v : recipe) {
    recipes.data.push_back(static_cast<uint8_t>(v & 0xFF));
    recipes.data.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
  }
  r.raw.push_back(recipes);
}

}  // namespace datagen
