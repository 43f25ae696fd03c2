#pragma once
// The run-time error a call raises, for tests that check its number or text.

#include <gtest/gtest.h>

#include "errors/runtime_error.h"

namespace vex::testing {

/// The error `call` raises; when it raises none, a failed expectation and an error numbered -1.
template <class Call>
errors::RuntimeError Raised(Call&& call) {
    try {
        call();
    } catch (const errors::RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "no run-time error was raised";
    return errors::RuntimeError(-1, "none");
}

}  // namespace vex::testing
