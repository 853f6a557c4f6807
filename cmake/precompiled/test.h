// What nearly every test file parses: the system's headers, the standard library and GoogleTest,
// precompiled once for all test code (which is compiled without optimisation, so GCC's warnings
// about inlined copies do not arise).
#include "product.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
