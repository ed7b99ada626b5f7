// The running half of the talk player: starting talks, the interpreter's
// walk over the document, choices and the empty display operations.
#include <vector>

#include "base/debug_trace.h"
#include "platform/crt.h"
#include "talk/base_talk_player.h"
#include "talk/talk_sys_proc.h"

namespace {

// A talk whose links keep looping without ever reaching a sentence or a menu
// would hang the game; after this many passes without a stop it ends.
constexpr int kMaxPassesPerStep = 100000;

}  // namespace

CBaseListContainer* CBaseTalkPlayer::StartTalk(const std::string& name) {
  talkName = name;
  nodeStack.clear();
  depth = 0;
  current = FindAname(name);
  if (current) {
    state = TALKSTATE_STEPPING;
    current->Reset();
  }
  return current;
}

CBaseListContainer* CBaseTalkPlayer::StartTalkAt(int talkIndex) {
  nodeStack.clear();
  depth = 0;
  current = GetChild(talkIndex);
  if (!current) return nullptr;
  state = TALKSTATE_STEPPING;
  current->Reset();
  talkName = current->aname;
  return current;
}

int CBaseTalkPlayer::Choose(int childIndex) {
  if (!current || current->kind != NODE_OPTIONAL) return 0;
  CBaseListContainer* child = current->GetChild(childIndex);
  if (!child) return 0;
  current = child;
  state = TALKSTATE_STEPPING;
  return 1;
}

void CBaseTalkPlayer::ShowOptions(int) {}

void CBaseTalkPlayer::ShowSentence() {
  if (current && current->speakerIsPlayer) current->speaker = playerName;
}

void CBaseTalkPlayer::EndSentence() {}

void CBaseTalkPlayer::End() {
  nodeStack.clear();
  depth = 0;
  state = TALKSTATE_IDLE;
}

int CBaseTalkPlayer::Update() {
  if (!current) return TALKSTATE_IDLE;
  if (state == TALKSTATE_STEPPING) Step();
  return state;
}

void CBaseTalkPlayer::OnClick(int, int) {}

void CBaseTalkPlayer::SetScreen(int width, int height) {
  screenWidth = width;
  screenHeight = height;
  xScale = static_cast<float>(width) / refWidth;
  yScale = static_cast<float>(height) / refHeight;
}

void CBaseTalkPlayer::Pause() { paused = 1; }
void CBaseTalkPlayer::Resume() { paused = 0; }

void CBaseTalkPlayer::Push(CBaseListContainer* node) {
  nodeStack.push_back(node);
  depth = static_cast<int>(nodeStack.size());
}

void CBaseTalkPlayer::Pop() {
  if (!nodeStack.empty()) nodeStack.pop_back();
  depth = static_cast<int>(nodeStack.size());
  current = nodeStack.empty() ? nullptr : nodeStack.back();
}

namespace {

// A question's sentence and a chosen option are not typed: the menu shows them.
bool IsShownByMenu(const CBaseListContainer& sentence) {
  const CBaseListContainer* first = sentence.GetChild(0);
  return (first && first->kind == NODE_OPTIONAL) || (sentence.parent && sentence.parent->kind == NODE_OPTIONAL);
}

// Picks among e enabled children so that the first and the last are drawn
// half as often as each one between.
int PickRandomChild(int enabled) {
  double r = plat::Rand();
  return static_cast<int>(r * (enabled - 1) / 32767.0 + 0.5);
}

}  // namespace

CBaseListContainer* CBaseTalkPlayer::Step() {
  for (int pass = 0; current; ++pass) {
    if (pass == kMaxPassesPerStep) {
      DebugTrace("talk \"%s\" loops without stopping; ended\n", talkName.c_str());
      break;
    }
    CBaseListContainer* n = current;
    ++n->visits;
    bool firstVisit = n->visits == 1;

    if (n->condition && n->condition.Evaluate() == 0) {
      if (!nodeStack.empty() && nodeStack.back() == n) Pop();
      current = n->parent;
      continue;
    }

    state = TALKSTATE_STEPPING;
    bool leave = false;
    switch (n->kind) {
      case NODE_SEQUENCE:
      case NODE_TALK:
        if (firstVisit) {
          Push(n);
        } else if (n->cursor < n->childCount) {
          current = n->GetChild(n->cursor++);
        } else {
          leave = true;
        }
        break;
      case NODE_RANDOM:
      case NODE_OPTIONAL:
        if (!firstVisit) {
          leave = true;
          break;
        }
        Push(n);
        n->Filter();
        if (n->enabledCount == 0) {  // nothing to enter: the list is left
          leave = true;
          break;
        }
        if (n->kind == NODE_RANDOM) {
          n->cursor = PickRandomChild(n->enabledCount);
          current = n->GetChild(n->cursor);
          break;
        }
        state = TALKSTATE_CHOOSING;
        selectedOption = -1;
        ShowOptions(-1);
        return n;
      case NODE_SENTENCE: {
        auto* sentence = static_cast<CSentence*>(n);
        if (firstVisit) {
          Push(n);
          if (IsShownByMenu(*sentence)) {
            ++sentence->shownCount;
          } else if (!sentence->text.empty()) {
            state = TALKSTATE_TYPING;
            ShowSentence();
            return n;
          }
        } else if (n->cursor < n->childCount) {
          current = n->GetChild(n->cursor++);
        } else {
          // A menu's sentence was counted when the menu took it.
          if (!IsShownByMenu(*sentence)) ++sentence->shownCount;
          EndSentence();
          leave = true;
        }
        break;
      }
      default: leave = true; break;
    }
    if (leave && !Leave(n)) return nullptr;
  }
  End();
  return nullptr;
}

int CBaseTalkPlayer::Leave(CBaseListContainer* node) {
  Pop();
  if (!node->event.empty()) {
    std::vector<char> name(node->event.begin(), node->event.end());
    name.push_back('\0');
    g_talkSysProc(SYSMODE_DO, name.data(), 0);
  }
  if (node->script) node->script->Evaluate();

  if (node->func == "end") {
    End();
    return 0;
  }
  if (node->func == "back") {
    while (current && current->kind != NODE_SENTENCE) Pop();
    CBaseListContainer* question = current;
    if (!question) {
      End();
      return 0;
    }
    // Off the stack too: entering it again pushes it once more.
    Pop();
    current = question;
    question->Reset();
    return 1;
  }
  if (node->func.empty()) {
    if (!node->link.empty()) {
      state = TALKSTATE_STEPPING;
      current = node->linkTarget;
      if (current) current->Reset();
      node->visits = 1;
    } else if (!node->switchName.empty()) {
      state = TALKSTATE_STEPPING;
      nodeStack.clear();
      depth = 0;
      current = node->switchTarget;
      if (current) current->Reset();
    }
  }
  if (!current) {
    End();
    return 0;
  }
  return 1;
}
