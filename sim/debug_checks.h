// Whether this build runs the simulation's own consistency checks (the pair
// copies, the frame scratch, the home-base lookup): debug builds do, release
// builds do not. The one place the build type is read; callers test the
// constant with `if constexpr`, so release code carries none of it.
#pragma once

namespace kragmoor {

#ifdef NDEBUG
inline constexpr bool kDebugChecks = false;
#else
inline constexpr bool kDebugChecks = true;
#endif

}  // namespace kragmoor
