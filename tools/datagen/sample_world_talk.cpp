// The sample world's talk file: Mira's greeting that counts the visits and
// sets story flag 101, asks a question whose first answer pays the player and
// whose last opens the shop, and lets the player answer in the hero's name;
// and the heroes' names in talks.
#include <string>
#include <vector>

#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/talk_writer.h"

namespace datagen {

bool WriteSampleTalk(const std::string& root, std::string& error) {
  using namespace sample;
  // The greeting also opens the letter's event note (story flag 101).
  const std::string counter = std::string(kTalkVariable) + " = " + kTalkVariable + " + 1 sys(s FLAG101 1)";
  const std::string reward =
      "sys(s +MONEY " + std::to_string(kTalkReward) + ") " + kTalkHelpedVariable + " = " + kTalkHelpedVariable + " + 1";
  TalkWriter w;
  w.Define({{kTalkVariable, 0}, {kTalkHelpedVariable, 0}}, {});
  w.Open("talk", {TextAttr("aname", kTalkName), TextAttr("script", counter)});
  w.Sentence({TextAttr("speaker", kMiraName), TextAttr("script", kTalkMetFlagScript)},
             "Welcome to \\255,200,0CTarnwick\\rC, traveller.");
  w.Sentence({TextAttr("speaker", kMiraName)}, "Mind the wolves past the stone bridge.");
  w.Open("li", {TextAttr("speaker", kMiraName)});
  w.Text("Will you carry this letter to the mill?");
  w.Open("ol");
  w.Sentence({TextAttr("script", reward)}, "Gladly.");
  w.Sentence({}, "Not today.");
  w.Sentence({TextAttr("event", kTalkShopEvent), TextAttr("func", "end")}, "Show me your wares.");
  w.Close();
  w.Close();
  w.Sentence({TextAttr("speaker", "玩家")}, "I will keep to the road.");
  w.Close();
  return w.Write(root + kTalkFile, error);
}

void AddSampleTalkNames(std::vector<std::string>& messages) {
  using namespace sample;
  if (messages.size() < static_cast<size_t>(kShapeTalkNameMessage)) messages.resize(kShapeTalkNameMessage);
  messages[kFirstHeroTalkNameMessage - 1] = kFirstHeroName;
  messages[kSecondHeroTalkNameMessage - 1] = kSecondHeroName;
  messages[kShapeTalkNameMessage - 1] = kFirstHeroName;
}

}  // namespace datagen
