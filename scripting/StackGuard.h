// Tells whether the current thread's stack is close to its end, so that a
// recursive phase can stop with an error instead of overflowing.
#pragma once

#include <cstddef>

namespace mirvex::script {

// True when less than `reserve` bytes of the thread's stack are left.
bool StackNearlyExhausted(std::size_t reserve = 256 * 1024);

}  // namespace mirvex::script
