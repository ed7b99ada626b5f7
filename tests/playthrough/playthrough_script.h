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
3 move 2 429
3 move 11 425
3 move 20 421
3 move 29 417
3 move 38 413
3 move 47 409
3 move 56 405
3 move 65 401
3 move 74 397
3 move 83 393
3 move 92 389
3 move 101 385
3 move 110 381
3 move 119 377
3 move 128 373
3 move 137 369
3 move 146 365
3 move 155 361
3 move 164 357
3 move 173 353
3 move 182 349
3 move 191 345
3 move 200 341
3 move 209 337
3 move 218 333
3 move 227 329
3 move 236 325
3 move 245 321
3 move 254 317
3 move 263 313
3 move 272 309
3 move 281 305
3 move 290 301
3 move 299 297
3 move 308 293
3 move 317 289
3 move 326 285
3 move 335 281
3 move 344 277
3 move 353 273
3 move 362 273
3 move 371 273
3 move 380 273
3 move 389 273
3 move 398 273
3 move 407 273
3 move 416 273
3 move 425 273
3 move 434 273
3 lclick 434 273
8 move 376 98
0 lclick 376 98
150 rclick 376 98
87 move 385 94
0 lclick 385 94
8 move 243 308
0 lclick 243 308
44 move 252 312
3 move 261 316
3 move 270 320
3 move 279 324
3 move 288 328
3 move 297 332
3 move 306 336
3 move 315 340
3 move 324 344
3 move 333 344
3 move 342 344
3 move 351 344
3 move 360 344
3 move 369 344
3 move 378 344
3 move 387 344
3 move 396 344
3 move 405 344
3 move 414 344
3 move 423 344
3 move 432 344
3 move 441 340
3 move 450 336
3 lclick 450 336
8 move 409 262
0 lclick 409 262
47 move 418 258
3 move 427 254
3 move 436 250
3 move 445 246
3 move 454 242
24 lclick 454 242
8 move 310 240
0 lclick 310 240
39 lclick 310 240
8 lclick 310 240
36 lclick 310 240
8 lclick 310 240
40 move 319 236
3 move 328 232
3 move 337 228
3 move 346 224
3 move 355 220
3 move 364 216
3 move 373 212
3 move 382 208
3 move 391 204
3 move 400 200
3 move 409 196
3 move 418 192
3 move 427 188
3 move 436 184
3 move 445 188
3 move 454 192
3 move 463 196
3 move 472 200
3 move 481 204
3 move 490 208
3 move 499 212
3 move 508 216
3 move 517 220
3 move 526 224
3 move 535 228
3 move 544 232
3 move 553 236
3 move 562 240
3 move 571 244
3 move 580 248
3 move 589 252
3 move 598 256
3 move 589 260
3 move 580 264
3 move 571 268
3 move 562 272
3 move 553 276
3 move 544 280
3 move 535 276
3 move 526 272
3 move 517 268
3 move 508 264
3 move 499 260
3 move 490 256
3 move 481 252
3 move 472 248
3 move 463 244
3 move 454 240
3 move 445 236
3 move 436 232
3 move 427 228
3 move 418 224
3 move 409 220
3 move 400 216
3 move 391 212
3 move 382 208
3 move 373 208
3 move 364 208
3 move 355 208
3 move 346 208
3 move 337 208
3 move 328 208
3 move 319 208
3 move 310 208
3 move 301 208
3 move 292 208
3 move 283 208
3 move 274 208
3 move 265 208
3 move 256 208
3 move 247 208
3 move 238 208
3 move 229 208
3 move 220 208
3 move 211 208
3 move 202 208
3 move 193 212
3 move 184 216
3 move 175 220
3 move 166 224
3 move 157 228
3 move 148 232
3 move 139 236
3 move 130 240
3 move 121 244
3 move 112 248
3 move 103 252
3 move 94 256
3 move 85 260
3 move 76 264
4 move 67 268
3 move 58 272
3 move 49 272
3 move 40 268
3 move 49 264
3 move 58 260
3 move 67 256
3 move 76 252
3 move 85 248
3 move 94 244
3 move 103 240
3 move 112 236
3 move 121 232
3 move 130 228
3 move 139 224
3 move 148 220
3 move 157 220
3 move 166 224
3 move 175 228
3 move 184 232
3 move 193 236
3 move 202 240
3 move 211 244
3 move 220 248
3 move 229 252
3 move 238 256
3 move 247 260
3 move 256 264
3 move 265 268
3 move 274 272
3 move 283 276
3 move 292 280
3 move 301 284
3 move 310 288
3 move 319 288
3 move 328 288
3 move 337 288
3 move 346 288
3 move 355 288
3 move 364 288
3 move 373 288
3 move 382 288
3 move 391 288
3 move 400 288
3 move 409 288
3 move 418 288
3 move 427 288
3 move 436 288
3 move 445 284
3 move 454 280
3 move 463 276
3 move 472 272
3 move 481 268
3 move 490 264
3 move 499 260
3 move 508 256
3 move 517 252
3 move 526 248
3 move 535 244
3 move 544 240
3 move 553 236
3 move 562 232
3 move 571 228
3 move 580 224
3 move 589 220
3 move 598 220
3 move 589 224
3 move 580 228
3 move 571 232
3 move 562 236
3 move 553 240
3 move 544 244
3 move 535 248
3 move 526 252
3 move 517 256
3 move 508 260
3 move 499 260
3 move 490 256
3 move 481 252
3 move 472 248
3 move 463 244
3 move 454 240
3 move 445 236
3 move 436 232
3 move 427 228
3 move 418 224
3 move 409 220
3 move 400 216
3 move 391 212
3 move 382 208
3 move 373 208
3 move 364 208
3 move 355 208
3 move 346 208
3 move 337 208
3 move 328 208
3 move 319 208
3 move 310 208
3 move 301 208
3 move 292 208
3 move 283 208
3 move 274 208
3 move 265 208
3 move 256 208
3 move 247 208
3 move 238 208
3 move 229 208
3 move 220 208
3 move 211 208
3 move 202 208
3 move 193 212
3 move 184 216
3 move 175 220
3 move 166 224
3 move 157 228
3 move 148 232
3 move 139 236
3 move 130 240
3 move 121 244
3 move 112 248
3 move 103 252
3 move 94 256
3 move 85 260
3 move 76 264
3 move 67 268
3 move 58 272
3 move 49 272
3 move 40 268
3 move 49 264
3 move 58 260
3 move 67 256
3 move 76 252
3 move 85 248
3 move 94 244
3 move 103 240
3 move 112 236
3 move 121 232
3 move 130 228
3 move 139 224
3 move 148 220
3 move 157 220
3 move 166 224
3 move 175 228
3 move 184 232
3 move 193 236
3 move 202 240
3 move 211 244
3 move 220 248
3 move 229 252
3 move 238 256
3 move 247 260
3 move 256 264
3 move 265 268
3 move 274 272
3 move 283 276
3 move 292 280
3 move 301 284
3 move 310 288
3 move 319 288
3 move 328 288
3 move 337 288
3 move 346 288
3 move 355 288
3 move 364 288
3 move 373 288
3 move 382 288
3 move 391 288
3 move 400 288
3 move 409 288
3 move 418 288
3 move 427 288
3 move 436 288
3 move 445 284
3 move 454 280
3 move 463 276
3 move 472 272
3 move 481 268
3 move 490 264
3 move 499 260
3 move 508 256
3 move 517 252
3 move 526 248
3 move 535 244
3 move 544 240
3 move 553 236
3 move 562 232
3 move 571 228
3 move 580 224
3 move 589 220
3 move 598 220
3 move 589 224
3 move 580 228
3 move 571 232
3 move 562 236
3 move 553 240
0 lclick 553 240
8 move 6 176
0 lclick 6 176
150 rclick 6 176
# The victory camera, the rewards and the level-up clicked away.
233 lclick 320 240
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
