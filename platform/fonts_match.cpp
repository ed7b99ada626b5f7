#include <fontconfig/fontconfig.h>

#include <map>
#include <mutex>

#include "platform/big5.h"
#include "platform/fonts.h"

// Face names are looked up once each; fontconfig is asked under one lock.

namespace plat {
namespace {

constexpr const char* kChineseFamily = "AR PL UMing TW";
constexpr const char* kChineseLanguage = "zh-tw";

std::mutex g_mutex;
std::map<std::string, FontFile, std::less<>> g_found;

const FcChar8* Text(const std::string& s) { return reinterpret_cast<const FcChar8*>(s.c_str()); }

// Only outline fonts can be drawn at every size the game asks for.
bool ReadFont(FcPattern* font, FontFile* out) {
  FcChar8* file = nullptr;
  FcBool outline = FcFalse;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return false;
  if (FcPatternGetBool(font, FC_OUTLINE, 0, &outline) == FcResultMatch && !outline) return false;
  int index = 0;
  FcPatternGetInteger(font, FC_INDEX, 0, &index);
  FcChar8* family = nullptr;
  out->path = reinterpret_cast<const char*>(file);
  out->index = index;
  out->family = FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch && family
                    ? reinterpret_cast<const char*>(family)
                    : std::string();
  return true;
}

bool HasFamily(FcPattern* font, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (FcStrCmpIgnoreCase(name, Text(family)) == 0) return true;
  return false;
}

bool SpeaksChinese(FcPattern* font) {
  FcLangSet* languages = nullptr;
  return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch &&
         FcLangSetHasLang(languages, Text(kChineseLanguage)) == FcLangEqual;
}

// fontconfig always answers with its best guess; the check says whether the
// guess is what was asked for.
template <typename Check>
bool MatchPattern(FcPattern* pattern, Check check, FontFile* out) {
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!font) return false;
  bool found = check(font) && ReadFont(font, out);
  FcPatternDestroy(font);
  return found;
}

bool MatchFamily(const std::string& family, FontFile* out) {
  if (family.empty()) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, Text(family));
  return MatchPattern(
      pattern, [&](FcPattern* font) { return HasFamily(font, family); }, out);
}

bool MatchChinese(FontFile* out) {
  if (MatchFamily(kChineseFamily, out)) return true;
  FcPattern* pattern = FcPatternCreate();
  FcLangSet* languages = FcLangSetCreate();
  FcLangSetAdd(languages, Text(kChineseLanguage));
  FcPatternAddLangSet(pattern, FC_LANG, languages);
  FcLangSetDestroy(languages);
  return MatchPattern(pattern, SpeaksChinese, out);
}

bool MatchAny(FontFile* out) {
  FcPattern* pattern = FcPatternCreate();
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
  FcPatternDestroy(pattern);
  bool found = false;
  for (int i = 0; fonts && i < fonts->nfont && !found; ++i) found = ReadFont(fonts->fonts[i], out);
  if (fonts) FcFontSetDestroy(fonts);
  return found;
}

bool ConfigReady() {
  static const bool ready = FcInit() == FcTrue;
  return ready;
}

}  // namespace

bool FindFontFile(std::string_view faceName, FontFile* out) {
  // A face name comes from a fixed-size field; it ends at its first NUL.
  faceName = faceName.substr(0, faceName.find('\0'));
  std::lock_guard lock(g_mutex);
  if (!ConfigReady()) return false;
  if (auto it = g_found.find(faceName); it != g_found.end()) {
    *out = it->second;
    return true;
  }
  FontFile file;
  if (!MatchFamily(Big5ToUtf8(faceName), &file) && !MatchChinese(&file) && !MatchAny(&file)) return false;
  g_found.emplace(std::string(faceName), file);
  *out = file;
  return true;
}

bool FindChineseFontFile(FontFile* out) {
  std::lock_guard lock(g_mutex);
  return ConfigReady() && MatchChinese(out);
}

}  // namespace plat
