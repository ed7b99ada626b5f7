#pragma once
#include <string>
#include <vector>

#include "tools/datagen/cutscene_writer.h"

// The parts of the sample world, one concern each; root is the world's folder
// with a trailing '/'. Each answers false with a message on the first failure.
namespace datagen {

bool WriteSampleDatabase(const std::string& root, std::string& error);
bool WriteSampleTalk(const std::string& root, std::string& error);
// The heroes' names in talks, messages 127 to 129.
void AddSampleTalkNames(std::vector<std::string>& messages);
// The texture package and the ground model that uses its grass.
bool WriteSampleAssets(const std::string& root, std::string& error);
bool WriteSampleSounds(const std::string& root, std::string& error);
bool WriteSampleCutScene(const std::string& root, std::string& error);
// The black fade in and out that the sample's scripts play.
CutSceneData FadeCutScene();
// The opening: every kind of actor the game plays, over the fade.
CutSceneData OpeningCutScene();
bool WriteSampleBattleTexts(const std::string& root, std::string& error);
// The boss table, the opening movie, the game-over picture and the start script.
bool WriteSampleGameCore(const std::string& root, std::string& error);
// The scenes, their textures, the game resource and the environment file.
bool WriteSampleMaps(const std::string& root, std::string& error);
// The model the village's people share and the destination marker's texture.
bool WriteSamplePeople(const std::string& root, std::string& error);
// The hero's creature models, face textures and the blob shadow's texture.
bool WriteSampleCreatures(const std::string& root, std::string& error);
// The interface package "image/ui.qxo" and the UI sounds.
bool WriteSampleUi(const std::string& root, std::string& error);
// The walker creatures with their fences and the landing sound.
bool WriteSampleSwordsman(const std::string& root, std::string& error);
// The opening dialogue, the dialogue box's and cursor's pictures and the
// interface sounds.
bool WriteSampleDialogue(const std::string& root, std::string& error);
// The first hero's attack effect with its textures and wave.
bool WriteSampleEfficacy(const std::string& root, std::string& error);
// The automap's frame, portal and position images.
bool WriteSampleAutomapImages(const std::string& root, std::string& error);
// The field camera's aimer and the default camera script "camera/fcamera.sc".
bool WriteSampleCamera(const std::string& root, std::string& error);
// The transitions' models and cues, the guessing game's panel and the world
// map's pictures; the guessing game's messages 130 to 147.
bool WriteSampleFieldExtras(const std::string& root, std::string& error);
void AddSampleFieldExtrasMessages(std::vector<std::string>& messages);
// The loading picture, the message board, the flare and mote glows and the
// slow click's sound.
bool WriteSampleField(const std::string& root, std::string& error);
// The battle bodies, the weapon, the action table and the hit vertices.
bool WriteSampleBattle(const std::string& root, std::string& error);
// The shooter's model and bolt, the trap marker and the last enemy's death
// sound; the shooter's actions, the behaviour switches and the monitor's names.
bool WriteSampleEnemies(const std::string& root, std::string& error);
std::vector<int> ShooterActionIds();
struct ActionRecordDesc;
// The battle sample's record of an enemy whose moves walk.
ActionRecordDesc EnemyActionRecord(int type, const std::vector<int>& ids);
struct AiRow;
std::vector<AiRow> SampleAiRows();
std::vector<std::string> SampleInfoNames();
// The story events of the game resource and the sounds of boxes and rewards.
struct GameResourceData;
void AddSampleEvents(GameResourceData& r);
// The recipe Herb + Potion -> Tonic (kind 37).
void AddSampleRecipes(GameResourceData& r);
bool WriteSampleEventSounds(const std::string& root, std::string& error);
// The menus' event notes (kinds 35 and 36) and the character page's floor texture.
void AddSampleEventNotes(GameResourceData& r);
bool WriteSampleMenuTextures(const std::string& root, std::string& error);
// The battle display's pictures and the battle's music and button sounds.
bool WriteSampleBattleHud(const std::string& root, std::string& error);
// The hero turns' mark and threat effects and their voices.
bool WriteSampleHeroTurns(const std::string& root, std::string& error);

}  // namespace datagen
