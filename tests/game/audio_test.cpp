#include <gtest/gtest.h>

#include <string>

#include "base/game_audio.h"
#include "database/game_resource.h"
#include "engine/core/engine_queries.h"
#include "engine/media/cdaudio.h"
#include "engine/media/data_directories.h"
#include "engine/media/sound_table.h"
#include "engine/media/sound_volumes.h"
#include "engine/media/sprites.h"
#include "game/message_board.h"
#include "platform/files.h"
#include "tests/engine/engine_fixture.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/wave_writer.h"
#include "ui/gm_board.h"
#include "world/map_scene.h"

namespace {

constexpr int kTrack = 3;

class AudioTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    plat::CreateDirectories("cdaudio");
    plat::CreateDirectories("waves");
    datagen::WaveSpec wave;
    wave.samples = datagen::ConstantSamples(2205, 1, 1000);
    ASSERT_TRUE(datagen::WriteWave("cdaudio/track03.wav", wave));
    for (const char* name : {"a", "b", "c", "d"})
      ASSERT_TRUE(datagen::WriteWave(std::string("waves/") + name + ".wav", wave));
    // A game started by an earlier test switched CD audio off for the engine.
    EnableCDAudio(1);
    ASSERT_EQ(Open(), 1);
    SetSoundDirectory("waves");
  }

  testsupport::ScopedWorkDir dir_;
};

TEST_F(AudioTest, MusicFollowsItsVolume) {
  SetCDVolume(0.7f);
  SetWaveVolume(0.4f);
  {
    CGameAudio audio;
    EXPECT_EQ(audio.musicVolume, 20);
    EXPECT_FLOAT_EQ(GetCDVolume(), 0.2f);
    EXPECT_FLOAT_EQ(GetWaveVolume(), 0.2f);

    // Silent music keeps the track; raising the volume starts it.
    audio.SetMusicVolume(0);
    audio.PlayTrack(kTrack);
    EXPECT_EQ(audio.currentTrack, kTrack);
    EXPECT_EQ(IsCDPlaying(), 0);
    audio.SetMusicVolume(50);
    EXPECT_EQ(IsCDPlaying(), 1);
    EXPECT_EQ(g_cdAudio.loop & 0xFFFFFF, 1);
    EXPECT_FLOAT_EQ(GetCDVolume(), 0.5f);

    // An override plays without becoming the music; -1 stops and clears.
    audio.OverrideTrack(-1);
    EXPECT_EQ(IsCDPlaying(), 0);
    EXPECT_EQ(g_cdAudio.startTrack, 0);
    EXPECT_EQ(audio.currentTrack, kTrack);
    audio.PlayTrack(kTrack);
    EXPECT_EQ(IsCDPlaying(), 1);
    audio.StopMusic();
    EXPECT_EQ(audio.currentTrack, -1);
    EXPECT_EQ(IsCDPlaying(), 0);
    audio.PlayTrack(kTrack);
  }
  // Destruction stops the music and puts back the gains it found.
  EXPECT_EQ(IsCDPlaying(), 0);
  EXPECT_FLOAT_EQ(GetCDVolume(), 0.7f);
  EXPECT_FLOAT_EQ(GetWaveVolume(), 0.4f);
}

TEST_F(AudioTest, ThreeEffectsStayLoaded) {
  CGameAudio audio;
  audio.SetSoundVolume(0);
  audio.PlayEffect("a.wav");
  EXPECT_EQ(audio.effectCount, 0);  // nothing loaded at volume 0
  audio.SetSoundVolume(80);
  for (const char* name : {"a.wav", "b.wav", "c.wav"}) audio.PlayEffect(name);
  ASSERT_EQ(audio.effectCount, 3);
  auto loaded = [] {
    int n = 0;
    for (SOUNDDESC* slot : g_soundTable.slots) n += slot != nullptr;
    return n;
  };
  EXPECT_EQ(loaded(), 3);
  const HOBJECT second = audio.effects[1];
  const HOBJECT third = audio.effects[2];
  audio.PlayEffect("d.wav");
  EXPECT_EQ(audio.effectCount, 3);
  EXPECT_EQ(loaded(), 3);  // the fourth freed the oldest
  EXPECT_EQ(audio.effects[0], second);
  EXPECT_EQ(audio.effects[1], third);
  EXPECT_NE(LookupSound(audio.effects[2]), nullptr);
}

TEST_F(AudioTest, CaptionFadesOut) {
  CCaptionBanner banner;
  banner.Show("0123456789", 90);
  ASSERT_TRUE(banner.IsShowing());
  EXPECT_EQ(banner.board->width, 286);
  int x = 0, y = 0;
  GetSpritePosition(banner.board->sprite, &x, &y);
  EXPECT_EQ(x, 457);
  EXPECT_EQ(y, 0);
  banner.Step();
  EXPECT_FLOAT_EQ(LookupSprite(banner.board->sprite)->alpha, 89.0f / 90);
  for (int step = 2; step < 90; ++step) banner.Step();
  EXPECT_TRUE(banner.IsShowing());
  banner.Step();  // the 90th
  EXPECT_FALSE(banner.IsShowing());
}

TEST_F(AudioTest, BoardMessagesReplaceEachOther) {
  CMessageBoard board;
  const std::string longText(600, 'x');
  ShowBoardMessage(&board, "%s %d", longText.c_str(), 7);
  ASSERT_NE(board.board, nullptr);
  EXPECT_EQ(board.timer, CMessageBoard::kShowTimer);
  EXPECT_EQ(board.board->width, 240);
  int x = 0, y = 0;
  GetSpritePosition(board.board->sprite, &x, &y);
  EXPECT_EQ(x, 520);
  EXPECT_EQ(y, 174);
  ShowBoardMessage(&board, "next");
  EXPECT_NE(board.board, nullptr);
  board.Show(0);
  EXPECT_EQ(board.board, nullptr);
}

}  // namespace

namespace gametest {
namespace {

using SceneTrackTest = GameTest;

TEST_F(SceneTrackTest, TheMapRecordNamesTheTrack) {
  ASSERT_EQ(Start(), 1);
  Game().scene = new MScene("none.sb", nullptr);
  MAPDESC record;
  Game().scene->mapRecord = &record;
  Game().audio->PlayTrack(2);
  for (const int track : {0, -3}) {
    record.bytes[68] = static_cast<uint8_t>(track);
    Game().PlaySceneTrack();
    EXPECT_EQ(Game().audio->currentTrack, 2) << track;
  }
  record.bytes[68] = 5;
  Game().PlaySceneTrack();
  EXPECT_EQ(Game().audio->currentTrack, 5);
  Game().scene->mapRecord = nullptr;
}

}  // namespace
}  // namespace gametest
