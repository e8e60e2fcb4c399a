#pragma once
// GoogleTest and the standard headers most engine tests include, compiled once for all the
// engine test programs: parsing GoogleTest again for every test file was a large part of
// the build.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>
