// Stack depth checks.
#include "StackGuard.h"

#include <pthread.h>

#include <cstdint>

namespace mirvex::script {
namespace {

struct StackBounds {
    std::uintptr_t Low = 0;
    bool Known = false;
};

StackBounds CurrentBounds() {
    StackBounds bounds;
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return bounds;
    void* address = nullptr;
    std::size_t size = 0;
    if (pthread_attr_getstack(&attr, &address, &size) == 0) {
        bounds.Low = reinterpret_cast<std::uintptr_t>(address);
        bounds.Known = true;
    }
    pthread_attr_destroy(&attr);
    return bounds;
}

}  // namespace

bool StackNearlyExhausted(std::size_t reserve) {
    thread_local const StackBounds bounds = CurrentBounds();
    if (!bounds.Known) return false;
    char probe = 0;
    const auto here = reinterpret_cast<std::uintptr_t>(&probe);
    return here < bounds.Low + reserve;
}

}  // namespace mirvex::script
