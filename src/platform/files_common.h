// Shared by the file calls of each system (not part of the platform
// interface).
#pragma once

#include <string>

#include "platform/files.h"

namespace platform {

// ".name.salvetor-" for a target's file name: the prefix of its temporary
// files, the name shortened where the whole would not fit a file name.
inline std::string TempPrefix(std::string base) {
  const std::string suffix = ".salvetor-";
  const std::size_t room = kMaxFileName - 1 - suffix.size() - 6;
  if (base.size() > room) base.resize(room);
  return "." + base + suffix;
}

}  // namespace platform
