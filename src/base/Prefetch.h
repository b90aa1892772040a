// SPDX-License-Identifier: MIT
#pragma once

// A hint for the memory: a walk over many nodes that lie all over memory asks for what it
// reads soon, for all of them, before it reads any, so that the waits overlap.

namespace corvida {

// Asks for the cache line at address. Null (a text that is not there) asks nothing: a hint
// on an unmapped page still costs a page walk.
inline void prefetchMemory(const void* address) {
#if defined(__GNUC__)
    if (address != nullptr) {
        __builtin_prefetch(address);
    }
#else
    static_cast<void>(address);
#endif
}

} // namespace corvida
