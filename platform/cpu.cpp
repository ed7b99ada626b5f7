#include "platform/cpu.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

#include <cstring>

namespace plat {

#if defined(__x86_64__) || defined(__i386__)

std::string CpuVendor() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(0, &a, &b, &c, &d)) return {};
  char vendor[13];
  std::memcpy(vendor, &b, 4);
  std::memcpy(vendor + 4, &d, 4);
  std::memcpy(vendor + 8, &c, 4);
  vendor[12] = 0;
  return vendor;
}

// The instructions themselves always run here: the operating system enables them.
bool CpuHasSse() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  return __get_cpuid(1, &a, &b, &c, &d) && (d & (1u << 25));
}

bool CpuHasSse2() {
  unsigned a = 0, b = 0, c = 0, d = 0;
  return __get_cpuid(1, &a, &b, &c, &d) && (d & (1u << 26));
}

#else

std::string CpuVendor() { return {}; }
bool CpuHasSse() { return false; }
bool CpuHasSse2() { return false; }

#endif

}  // namespace plat
