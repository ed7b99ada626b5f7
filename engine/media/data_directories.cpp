#include "engine/media/data_directories.h"

#include "engine/core/engine_state.h"
#include "platform/files.h"

std::string g_dataDirectories[DATADIR_COUNT];
int g_looseFilesFirst = 0;

namespace {

void SetDirectory(DATADIRECTORY slot, const char* path) {
  if (!g_engineOpen || !path) return;
  std::string dir = *path ? path : ".";
  if (dir.back() != '\\') dir += '\\';
  g_dataDirectories[slot] = dir;
}

std::string GetDirectory(DATADIRECTORY slot) { return g_engineOpen ? g_dataDirectories[slot] : std::string(); }

}  // namespace

void SetImageDirectory(const char* path) { SetDirectory(DATADIR_IMAGE, path); }
void SetModelDirectory(const char* path) { SetDirectory(DATADIR_MODEL, path); }
void SetSoundDirectory(const char* path) { SetDirectory(DATADIR_SOUND, path); }
void SetTextureDirectory(const char* path) { SetDirectory(DATADIR_TEXTURE, path); }
void SetSceneDirectory(const char* path) { SetDirectory(DATADIR_SCENE, path); }
void SetCreatureDirectory(const char* path) { SetDirectory(DATADIR_CREATURE, path); }
void SetReservedDirectory1(const char* path) { SetDirectory(DATADIR_RESERVED1, path); }
void SetReservedDirectory2(const char* path) { SetDirectory(DATADIR_RESERVED2, path); }
void SetReservedDirectory3(const char* path) { SetDirectory(DATADIR_RESERVED3, path); }

void SetOverrideDirectory(const char* path) {
  if (!g_engineOpen || !path) return;
  SetDirectory(DATADIR_OVERRIDE, path);
  // Checked once, here: scanning the directory on every lookup would cost a
  // listing per texture.
  g_looseFilesFirst = plat::ListFiles(g_dataDirectories[DATADIR_OVERRIDE] + "*").empty() ? 0 : 1;
}

std::string GetImageDirectory() { return GetDirectory(DATADIR_IMAGE); }
std::string GetSoundDirectory() { return GetDirectory(DATADIR_SOUND); }
std::string GetTextureDirectory() { return GetDirectory(DATADIR_TEXTURE); }
