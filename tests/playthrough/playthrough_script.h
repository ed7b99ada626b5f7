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
# The fight: turn to an enemy (the mouse turns the view and the hero with
# it), left button on the highlighted one, then a circle on it to strike
# from that side; the right button backs out when no circle shows.
186 move -7 433
8 lclick 320 240
8 rclick 320 240
8 move 256 237
8 move 226 234
8 move 205 231
8 move 190 228
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
8 lclick 499 17
44 move 649 14
8 move 700 17
5 lclick 320 240
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
8 rclick 320 240
8 move 258 243
8 move 214 246
8 move 184 249
8 move 193 252
8 move 241 255
8 move 312 258
8 move 362 261
8 move 397 264
8 move 422 267
8 move 439 270
8 move 421 273
8 move 373 273
8 move 331 270
8 move 302 267
8 move 282 264
3 lclick 320 240
8 lclick 179 335
36 move 165 335
8 move 196 332
8 move 264 329
8 move 349 326
8 move 409 323
8 move 451 320
8 move 480 317
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
8 lclick 177 235
44 move 271 232
8 move 380 229
8 move 456 226
8 move 509 223
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
8 lclick 265 30
37 move 263 27
8 move 277 30
8 move 304 33
8 move 335 36
8 move 362 39
8 move 376 42
8 move 375 45
8 move 357 48
8 move 328 51
8 move 296 54
8 move 272 57
8 move 262 60
8 move 268 63
8 move 290 66
8 move 321 69
8 move 352 72
8 move 373 75
8 move 378 78
8 move 367 81
8 move 342 84
8 move 310 87
8 move 281 90
8 move 264 93
8 move 264 96
8 move 279 99
8 move 307 102
8 move 339 105
8 move 365 108
8 move 378 111
8 move 374 114
8 move 354 117
8 move 324 120
8 move 292 123
8 move 269 126
8 move 261 129
8 move 270 132
8 move 294 135
8 move 326 138
8 move 356 141
8 move 375 144
8 move 388 147
8 move 397 150
8 move 404 153
8 move 409 156
8 move 412 159
8 move 414 162
8 move 416 165
8 move 417 168
8 move 418 171
8 move 418 174
8 move 418 177
8 move 418 180
8 move 418 183
8 move 418 186
8 move 418 189
8 move 418 192
8 move 418 195
8 move 418 198
8 move 418 201
8 move 418 204
8 move 418 207
8 move 418 210
8 move 418 213
8 move 418 216
8 move 418 219
8 move 418 222
8 move 418 225
8 move 418 228
8 move 418 231
8 move 418 234
8 move 418 237
8 move 418 240
8 move 418 243
8 move 418 246
8 move 418 249
8 move 418 252
8 move 418 255
8 move 418 258
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
3 lclick 320 240
8 lclick 301 236
# The victory camera, the rewards and the level-up clicked away.
283 lclick 320 240
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
90 up W
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
