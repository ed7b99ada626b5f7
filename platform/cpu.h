#pragma once
#include <string>

// Processor probes.
namespace plat {

// The twelve-character vendor string ("GenuineIntel", "AuthenticAMD", ...); empty when unknown.
std::string CpuVendor();
bool CpuHasSse();
bool CpuHasSse2();

}  // namespace plat
