#include "cutscene/music_actor.h"

#include "engine/media/cdaudio.h"

void SMusic::PlayTrack(int track, int loop) { PlayCDTrack(track, loop); }

void SMusic::Stop() { StopCDAudio(); }

void SMusic::Pause() { PauseCDAudio(); }

void SMusic::Resume() { ResumeCDAudio(); }
