#include "engine/media/movies.h"

#include "engine/core/back_buffer.h"
#include "engine/core/engine_state.h"
#include "engine/core/world.h"
#include "engine/media/screen.h"
#include "platform/debug_output.h"
#include "platform/keys.h"
#include "platform/window.h"

MOVIETABLE g_movieTable;

namespace {

constexpr int kFirstSlot = 1;
constexpr int kLastSlot = 30;
constexpr uint32_t kRgb565GreenMask = 0x07E0;

void FreeSlot(int slot) {
  delete g_movieTable.slots[slot];
  g_movieTable.slots[slot] = nullptr;
  while (g_movieTable.mark > 0 && !g_movieTable.slots[g_movieTable.mark]) --g_movieTable.mark;
}

// The back buffer as a movie target, false when it cannot take 16-bit frames.
bool DescribeTarget(const MOVIEDESC& m, plat::MovieTarget& target) {
  if (!g_gameWorld || !g_gameWorld->backBuffer) return false;
  plat::SurfaceDesc back = g_gameWorld->backBuffer->Describe();
  if (back.format.bitsPerPixel != 16 || back.format.palettised) return false;
  target.surfaceWidth = back.width;
  target.surfaceHeight = back.height;
  target.layout = back.format.greenMask == kRgb565GreenMask ? plat::PixelLayout::Rgb565 : plat::PixelLayout::Rgb555;
  target.x = m.x;
  target.y = m.y;
  target.width = m.frameWidth;
  target.height = m.frameHeight;
  return true;
}

// Draws the next frame into the back buffer; false once the movie has ended
// or the back buffer is gone.
bool DrawNextFrame(MOVIEDESC& m, plat::MovieTarget& target) {
  int bitsPerPixel = 0;
  target.pixels = static_cast<uint16_t*>(LockBackBuffer(&bitsPerPixel, &target.pitch));
  if (!target.pixels) return false;
  plat::MovieFrame frame = m.movie->Update(target);
  UnlockBackBuffer();
  return frame == plat::MovieFrame::Shown;
}

// Dispatches the waiting window messages. An Esc press ends the movie: it is
// taken and not passed on, and later messages wait for the main loop.
bool PumpMessagesUntilEsc() {
  plat::Message message;
  while (plat::PeekMessage(message)) {
    if (message.message == plat::WM_KEYDOWN && message.wparam == plat::VK_ESCAPE) return true;
    if (message.message == plat::WM_QUIT) g_quitRequested = 1;
    plat::TranslateMessage(message);
    plat::DispatchMessage(message);
  }
  return false;
}

}  // namespace

int InitMovies() {
  for (int slot = 0; slot < kMovieTableSize; ++slot) FreeSlot(slot);
  return 1;
}

MOVIEDESC* LookupMovie(HOBJECT handle) {
  if (GetHandleType(handle) != (uint32_t{OBJTYPE_MOVIE} << 24)) return nullptr;
  uint32_t slot = GetHandleIndex(handle);
  if (slot < kFirstSlot || slot > static_cast<uint32_t>(g_movieTable.mark)) return nullptr;
  return g_movieTable.slots[slot];
}

HOBJECT OpenMovie(const char* fileName) {
  if (!g_engineOpen || !fileName) return 0;
  int slot = kFirstSlot;
  while (slot <= kLastSlot && g_movieTable.slots[slot]) ++slot;
  if (slot > kLastSlot) return 0;
  std::unique_ptr<plat::Movie> movie = plat::Movie::Open(fileName);
  if (!movie) {
    plat::DebugOutput("QXAudioDDK: File format not supported.\n");
    return 0;
  }
  MOVIEDESC* record = new MOVIEDESC;
  record->index = slot;
  record->frameWidth = movie->Width();
  record->frameHeight = movie->Height();
  record->movie = std::move(movie);
  g_movieTable.slots[slot] = record;
  if (slot > g_movieTable.mark) g_movieTable.mark = slot;
  return MakeHandle(OBJTYPE_MOVIE, static_cast<uint32_t>(slot));
}

int PlayMovie(HOBJECT movie, int x, int y, int width, int height, int) {
  if (!g_engineOpen) return 0;
  MOVIEDESC* m = LookupMovie(movie);
  if (!m) return 0;
  m->x = x;
  m->y = y;
  m->requestedWidth = width;
  m->requestedHeight = height;
  plat::MovieTarget target;
  if (!DescribeTarget(*m, target)) return 0;
  // Both buffers start black.
  ClearScreenRect(0, 0, 640, 480);
  FlipScreen();
  ClearScreenRect(0, 0, 640, 480);
  m->movie->Start();
  while (DrawNextFrame(*m, target)) {
    FlipScreen();
    if (PumpMessagesUntilEsc()) break;
  }
  m->movie->Stop();
  return 1;
}

int CloseMovie(HOBJECT movie) {
  if (!g_engineOpen) return 0;
  MOVIEDESC* m = LookupMovie(movie);
  if (!m) return 0;
  FreeSlot(m->index);
  return 1;
}
