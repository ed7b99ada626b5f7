#include <filesystem>

#include "engine/core/frame_timers.h"
#include "engine/media/cdaudio.h"
#include "engine/media/sound_volumes.h"
#include "platform/cdaudio.h"
#include "tests/sound/sound_fixture.h"

namespace soundtest {
namespace {

constexpr int16_t kMusic = 4096;
constexpr size_t kRate = 44100;

class CdAudioTest : public SoundTest {
 protected:
  CdAudioTest() {
    std::filesystem::create_directories("cdaudio");
    WriteTrack(2, 2 * kRate);
  }
  static void WriteTrack(int track, size_t frames) {
    char name[32];
    std::snprintf(name, sizeof name, "cdaudio/track%02d.wav", track);
    WriteLevelWave(name, kMusic, frames);
  }
  // Plays out the given seconds of sound, then lets a second pass on the
  // clock and runs the frame timers, as the main loop would.
  void RunSeconds(double seconds) {
    plat::PullMixedFrames(static_cast<size_t>(seconds * kRate));
    clock_->AdvanceSeconds(1.0);
    DispatchFrameTimers();
  }
};

TEST_F(CdAudioTest, LoopingTrackIsRestartedByTheOncePerSecondCheck) {
  ASSERT_EQ(Open(), 1);
  ASSERT_NE(g_cdAudio.deviceId, 0) << "opened with the engine";
  EXPECT_EQ(PlayCDTrack(2, 1), 1);
  EXPECT_EQ(IsCDPlaying(), 1);
  EXPECT_EQ(g_cdAudio.startTrack, 2);
  EXPECT_EQ(g_cdAudio.endTrack, 2);
  EXPECT_EQ(g_cdAudio.endSecond, 2);
  EXPECT_EQ(g_frameTimers[kCdLoopTimerSlot].callback, CDLoopTick);
  DispatchFrameTimers();  // the first pass starts the slot's schedule
  EXPECT_NEAR(PullLeft(), Level(kMusic), 1e-4);

  RunSeconds(1.0);
  EXPECT_EQ(IsCDPlaying(), 1);
  RunSeconds(1.5);  // past the end: the check finds it stopped and plays it again
  EXPECT_EQ(IsCDPlaying(), 1);
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 0, 0));
  EXPECT_NEAR(PullLeft(), Level(kMusic), 1e-4);

  SetCDVolume(0.5f);
  EXPECT_NEAR(PullLeft(), 0.5f * Level(kMusic), 1e-4);
}

TEST_F(CdAudioTest, TrackPlayedOnceIsNotRestarted) {
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(PlayCDTrack(2, 0), 1);
  EXPECT_EQ(g_cdAudio.loop, 0);
  RunSeconds(2.5);
  EXPECT_EQ(IsCDPlaying(), 0);
  RunSeconds(0);
  EXPECT_EQ(IsCDPlaying(), 0);
}

TEST_F(CdAudioTest, PausedTrackIsNotRestartedAndResumesWhereItStopped) {
  ASSERT_EQ(Open(), 1);
  ASSERT_EQ(PlayCDTrack(2, 1), 1);
  DispatchFrameTimers();
  plat::PullMixedFrames(kRate / 2);
  EXPECT_EQ(PauseCDAudio(), 1);
  EXPECT_EQ(g_cdAudio.paused, 1);
  EXPECT_EQ(PauseCDAudio(), 0) << "only while playing";
  uint32_t at = plat::CdPosition();
  EXPECT_EQ(at, plat::PackTmsf(2, 0, 0, 37));
  RunSeconds(3);
  RunSeconds(0);
  EXPECT_EQ(IsCDPlaying(), 0);
  EXPECT_EQ(plat::CdPosition(), at);

  EXPECT_EQ(ResumeCDAudio(), 1);
  EXPECT_EQ(IsCDPlaying(), 1);
  EXPECT_EQ(plat::CdPosition(), at);
  EXPECT_EQ(ResumeCDAudio(), 0) << "only when paused";
  RunSeconds(2);  // the rest of the range ends; the loop goes on
  RunSeconds(0);
  EXPECT_EQ(IsCDPlaying(), 1);
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 0, 0));
}

TEST_F(CdAudioTest, StopEndsTheLoopCheckAtItsNextTick) {
  ASSERT_EQ(Open(), 1);
  ASSERT_EQ(PlayCDTrack(2, 1), 1);
  DispatchFrameTimers();
  EXPECT_EQ(StopCDAudio(), 1);
  EXPECT_EQ(IsCDPlaying(), 0);
  EXPECT_EQ(g_cdAudio.startTrack, 0);
  EXPECT_EQ(g_cdAudio.loop, 0);
  RunSeconds(0);
  EXPECT_EQ(g_frameTimers[kCdLoopTimerSlot].callback, nullptr);
  EXPECT_EQ(g_frameTimers[kCdLoopTimerSlot].active, 1);
  EXPECT_EQ(IsCDPlaying(), 0);
}

TEST_F(CdAudioTest, MissingTrackFailsAndKeepsThePreviousRange) {
  ASSERT_EQ(Open(), 1);
  ASSERT_EQ(PlayCDTrack(2, 1), 1);
  EXPECT_EQ(PlayCDTrack(9, 1), 0);
  EXPECT_EQ(g_cdAudio.startTrack, 2);
  EXPECT_EQ(g_cdAudio.endTrack, 2);
  EXPECT_EQ(g_cdAudio.endSecond, 2);
  EXPECT_EQ(IsCDPlaying(), 1);
}

TEST_F(CdAudioTest, DeviceOpensOnceAndEveryCallFailsWhileClosed) {
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(OpenCDAudio('D'), 0) << "already open";
  EXPECT_EQ(IsCDPlaying(), 0);
  ASSERT_EQ(PlayCDTrack(2, 1), 1);
  EXPECT_EQ(CloseCDAudio(), 1);
  EXPECT_FALSE(plat::CdAudioOpen());
  EXPECT_NEAR(PullLeft(), 0.0f, 1e-6) << "closing stopped the music";
  EXPECT_EQ(CloseCDAudio(), 0);
  EXPECT_EQ(PlayCDTrack(2, 1), 0);
  EXPECT_EQ(PauseCDAudio(), 0);
  EXPECT_EQ(ResumeCDAudio(), 0);
  EXPECT_EQ(StopCDAudio(), 0);
  EXPECT_EQ(IsCDPlaying(), 0);
  EXPECT_EQ(OpenCDAudio('D'), 1);
  EXPECT_EQ(PlayCDTrack(2, 0), 1);
  CloseEngine(1);
  EXPECT_EQ(OpenCDAudio(0), 0) << "engine closed";
}

}  // namespace
}  // namespace soundtest
