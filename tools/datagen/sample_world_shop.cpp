// The sample world's shop and save screens: the pictures of the save list
// and the trade window, and the recipe that makes a Tonic.
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"

namespace datagen {

namespace {

using namespace uiart;

// The save list: the slots on the left, the chosen one's thumbnail and
// details on the right, and the places of its buttons.
PictureSpec SaveListSheet() {
  std::vector<Frame> frames = {{26, 53, 256, 262, kShade}, {362, 60, 222, 162, kShade}};
  std::vector<Label> labels = {
      LeftAligned("Saved journeys", 27, 22, 254, 26, 18), LeftAligned("Hero", 322, 248, 38, 16, 12),
      LeftAligned("Level", 363, 272, 58, 16, 12),         LeftAligned("Play time", 363, 296, 58, 16, 12),
      LeftAligned("Place", 363, 320, 58, 16, 12),
  };
  AddGhostButton(frames, labels, "Save", 34, 320, 86, 21, 13);
  AddGhostButton(frames, labels, "Load", 129, 320, 86, 21, 13);
  AddGhostButton(frames, labels, "Delete", 224, 320, 86, 21, 13);
  return {"ifi0500", 640, 480, 1, 1, FramedSheet(std::move(frames)), std::move(labels)};
}

// The trade window: the party's items, the two baskets and the shop's stock,
// the totals' words and the places of the buttons locked at first.
PictureSpec TradeSheet() {
  std::vector<Frame> frames = {{20, 360, 470, 1, kShade}};
  std::vector<Label> labels = {
      LeftAligned("Your items", 28, 30, 196, 20, 14),   LeftAligned("To sell", 271, 30, 196, 20, 14),
      LeftAligned("To buy", 271, 193, 196, 20, 14),     LeftAligned("Shop", 482, 30, 130, 20, 14),
      LeftAligned("Sell total", 280, 161, 120, 18, 12), LeftAligned("Money", 280, 180, 88, 18, 12),
      LeftAligned("Buy total", 280, 322, 120, 18, 12),
  };
  AddGhostButton(frames, labels, "Trade", 510, 389, 96, 21, 13);
  AddGhostButton(frames, labels, "Cancel", 510, 411, 96, 21, 13);
  return {"ifi0300", 640, 480, 1, 1, FramedSheet(std::move(frames)), std::move(labels)};
}

}  // namespace

std::vector<PictureSpec> SampleShopPictures() {
  return {
      // The save list and its name entry.
      SaveListSheet(),
      LabelledButton("if05b300", 86, 21, "Save", 13),
      LabelledButton("if05b200", 86, 21, "Load", 13),
      LabelledButton("if05b100", 86, 21, "Delete", 13),
      LabelledButton("ifib1000", 96, 21, "Close", 13),
      {"ifi5600",
       240,
       82,
       1,
       1,
       FramedSheet({{27, 23, 192, 20, kShade}}),
       {Centred("Save under this name?", 10, 8, 220, 15, 12)}},
      // The trade window and its quantity dialog.
      TradeSheet(),
      LabelledButton("ifib03001", 96, 21, "Trade", 13),
      LabelledButton("ifib03002", 96, 21, "Cancel", 13),
      LabelledButton("ifib03003", 96, 21, "Leave", 13),
      {"if5200", 140, 84, 1, 1, Sheet, {LeftAligned("How many?", 10, 10, 54, 14, 11)}},
      LabelledButton("ifbtn02", 39, 19, "OK", 11),
      LabelledButton("ifbtn03", 39, 19, "Back", 11),
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
