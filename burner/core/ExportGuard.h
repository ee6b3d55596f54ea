// The engine's boundary: nothing thrown inside an export may cross into the
// program, out of memory included. An export with a result says Internal;
// one without (the handler setters) leaves things as they were.
#pragma once

#include "burner/core/EngineErrors.h"

#include <type_traits>

template <class Body> auto Guarded(Body body) noexcept -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        if constexpr (std::is_void_v<decltype(body())>)
            return;
        else
            return ToCode(EngineError::Internal);
    }
}
