#pragma once
// A path as the windows show it and hand it to Qt: the file system's bytes
// are UTF-8 here, as QString::fromStdString reads them.

#include <QString>

#include <filesystem>

namespace meridan {

inline QString PathText(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

}  // namespace meridan
