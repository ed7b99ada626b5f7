#include "talk/base_talk_player.h"

#include <cstdarg>
#include <cstdio>

#include "base/format.h"
#include "talk/markup_parser.h"
#include "talk/markup_scanner.h"

CBaseTalkPlayer::CBaseTalkPlayer() : CBaseListContainer(0) {}

CBaseTalkPlayer::~CBaseTalkPlayer() { ClearDocument(); }

void CBaseTalkPlayer::Dump() const {
  for (const auto& talk : children) talk->Dump();
}

int CBaseTalkPlayer::Enter(CBaseTalkPlayer&) { return 1; }

void CBaseTalkPlayer::ClearDocument() {
  children.clear();
  childCount = 0;
  detachedTalks.clear();
  errorCount = 0;
  errors.clear();
  variables.clear();
  anames.clear();
  nodeStack.clear();
  depth = 0;
  current = nullptr;
}

int CBaseTalkPlayer::Load(const std::string& path) {
  style = TalkStyle();
  ClearDocument();

  CTalkScanner scanner;
  if (!scanner.Open(path)) {
    ReportError("Open file %s fail.", path.c_str());
    return 0;
  }
  CTalkParser parser(*this, scanner);
  bool completed = parser.Parse();
  for (const std::string& failure : scanner.IncludeFailures()) ReportError("%s", failure.c_str());
  if (parser.EndedEarly() || scanner.EndedInsideMarkup()) ReportError("Unexpected end of file in %s", path.c_str());
  for (auto& talk : children) talk->ResolveLinks(*this);
  current = nullptr;

  if (!completed || scanner.OpenFileCount() > 0) ReportError("internal error");
  if (errorCount == 0) {
    state = TALKSTATE_LOADED;
    return 1;
  }
  return 0;
}

void CBaseTalkPlayer::ReportError(const char* format, ...) {
  ++errorCount;
  va_list args;
  va_start(args, format);
  errors.push_back(FormatStringV(format, args));
  va_end(args);
}

int CBaseTalkPlayer::AddAname(const std::string& name, CBaseListContainer* node) {
  if (!anames.emplace(name, node).second) {
    ReportError("Symble Name:\"%s\" was used again\n", name.c_str());
    return 0;
  }
  return 1;
}

CBaseListContainer* CBaseTalkPlayer::FindAname(const std::string& name) const {
  auto it = anames.find(name);
  return it == anames.end() ? nullptr : it->second;
}

int CBaseTalkPlayer::AddVariable(const std::string& name, std::unique_ptr<CVarExpr> variable) {
  if (variables.count(name)) {
    ReportError("Symble Name:\"%s\" was used again\n", name.c_str());
    return 0;
  }
  variables.emplace(name, std::move(variable));
  return 1;
}

CVarExpr* CBaseTalkPlayer::FindVariable(const std::string& name) const {
  auto it = variables.find(name);
  return it == variables.end() ? nullptr : it->second.get();
}

void CBaseTalkPlayer::AddTalk(std::unique_ptr<CTalkContainer> talk) { AddChild(std::move(talk)); }

void CBaseTalkPlayer::KeepDetachedTalk(std::unique_ptr<CTalkContainer> talk) {
  detachedTalks.push_back(std::move(talk));
}
