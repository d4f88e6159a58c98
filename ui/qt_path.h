#pragma once

#include <QString>

#include <filesystem>

namespace quillex {

// A file name typed or picked in a widget, as the file system spells it.
std::filesystem::path ToFilesystemPath(const QString& fileName);

}  // namespace quillex
