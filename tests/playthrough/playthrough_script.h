#pragma once
#include <string>

// The play-through as the player's input, 30 passes a second. Clicks name
// points inside the windows' buttons; walking holds the walk keys.
namespace gametest {

// A save from the field into a new slot: Esc, the system tab, save and load,
// Save on the new slot's row (the list opens on it), OK to the name, then the
// list's and the menu's close buttons.
inline constexpr const char* kSaveInANewSlot = R"(
0 key 0x1B
30 lclick 520 417
10 lclick 514 290
10 lclick 39 325
10 lclick 273 152
30 lclick 520 439
10 lclick 520 439
)";

inline const std::string kPlayThroughScript = R"(
# The title: a new game with the first hero of the hero choice.
5 check title
0 lclick 48 321
10 lclick 206 168
5 lclick 246 335
10 check start-script
# The start script plays to its end and the field settles.
110 check field
# A first save, in slot 0.
)" + std::string(kSaveInANewSlot) + R"(30 check first-save
# Walking east brings the walker to Mira, who stops him and talks.
0 down D
20 up D
5 check talk
# Through the greeting to the question; the first answer, then on.
10 lclick 320 400
10 lclick 320 400
10 lclick 320 400
10 lclick 320 400
10 key 0x28
10 key 0x0D
10 lclick 320 400
# The cut-scene "opening" waits on its own question: the first answer.
50 check cut-scene
0 lclick 10 430
2 move 10 430
2 lclick 10 430
30 check boss-battle
# The boss battle: the victory camera, the rewards and the level-up clicked away.
120 lclick 320 240
10 lclick 320 240
10 lclick 320 240
10 lclick 320 240
30 check boss-won
# The second save, in slot 1.
30 check before-save
)" + kSaveInANewSlot + R"(30 check saved
# South, then east through the portal into the meadow.
0 down S
40 up S
0 down D
180 up D
30 check meadow
# Walking on in the meadow meets a random battle; Escape loses it.
0 down W
40 up W
30 check random-battle
60 key 0x1B
10 check game-over
150 check title-again
# Load: the list opens on the last slot, 1; Load, and OK in the question.
0 lclick 48 363
10 lclick 134 325
10 lclick 272 250
30 check loaded
# The window's close button ends the program.
0 close
5 check quit
)";

}  // namespace gametest
