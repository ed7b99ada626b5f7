// The sample world's talk file: a villager's greeting that counts the visits.
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/talk_writer.h"

namespace datagen {

bool WriteSampleTalk(const std::string& root, std::string& error) {
  using namespace sample;
  const std::string counter = std::string(kTalkVariable) + " = " + kTalkVariable + " + 1";
  TalkWriter w;
  w.Define({{kTalkVariable, 0}}, {});
  w.Open("talk", {TextAttr("aname", kTalkName), TextAttr("script", counter)});
  w.Sentence({TextAttr("speaker", "Villager")}, "Welcome to Tarnwick, traveller.");
  w.Sentence({TextAttr("speaker", "Villager")}, "Mind the wolves past the stone bridge.");
  w.Close();
  return w.Write(root + kTalkFile, error);
}

}  // namespace datagen
