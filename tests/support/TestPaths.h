// SPDX-License-Identifier: MIT
#pragma once

// Where tests find their fixture files and the corvida-cli program.

#include <string>

namespace corvida::test {

// The tests/data directory of the source tree, with a trailing '/'.
inline std::string dataPath(const std::string& relative = {}) {
    return std::string(CORVIDA_TEST_DATA) + "/" + relative;
}

// The corvida-cli program built with the tests.
inline std::string cliPath() {
    return CORVIDA_CLI_PATH;
}

} // namespace corvida::test
