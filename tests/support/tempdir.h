// Test support: a temporary folder name of its own for each test, so that
// test runs side by side (two builds, two checkouts) never share one.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace support {

inline std::filesystem::path TempFolder(const std::string& name) {
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  return std::filesystem::temp_directory_path() / ("salvetor-" + name + "-" + std::to_string(stamp));
}

}  // namespace support
