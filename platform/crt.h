#pragma once
// The one shared pseudo-random generator of the whole program. It reproduces the
// classic C runtime's linear congruential sequence (values 0..32767), which the
// game's data and behaviour were tuned against. Nothing may use std::rand.
namespace plat {

constexpr int kRandMax = 0x7FFF;

void Srand(unsigned seed);
int Rand();

}  // namespace plat
