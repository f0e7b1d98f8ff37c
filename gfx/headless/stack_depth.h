// Where the stack stands in the calling function, as a number: a deeper call
// gives a lower one on every platform the game is built for (the stack grows
// downwards). The headless twin notes it at each poll.
#pragma once

#include <cstdint>

#if defined(_MSC_VER) && !defined(__clang__)
#include <intrin.h>
#endif

namespace qb {

// The caller's frame: always inline, so it is the caller's own.
#if defined(__GNUC__) || defined(__clang__)
[[gnu::always_inline]] inline std::uintptr_t StackDepthMark() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}
#elif defined(_MSC_VER)
__forceinline std::uintptr_t StackDepthMark() { return reinterpret_cast<std::uintptr_t>(_AddressOfReturnAddress()); }
#else
inline std::uintptr_t StackDepthMark() {
  volatile char here = 0;
  return reinterpret_cast<std::uintptr_t>(&here);
}
#endif

}  // namespace qb
