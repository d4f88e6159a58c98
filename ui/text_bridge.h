#pragma once

#include <QFile>
#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

#include "core/cp1251.h"

// Where the core's byte strings meet Qt's strings.
namespace quillex {

// Captions are UTF-8.
inline QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::u16string_view U16View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Document bytes are shown as Windows-1251.
inline QString DecodeForView(std::string_view bytes) {
    return QString::fromStdU16String(DecodeCp1251(bytes));
}

inline std::string EncodeFromView(const QString& text) {
    return EncodeCp1251(U16View(text));
}

// A path from a dialog or a field, as the file system names it.
inline std::filesystem::path ToPath(const QString& path) {
#if defined(_WIN32)
    return std::filesystem::path(path.toStdWString());
#else
    const QByteArray local = QFile::encodeName(path);
    return std::filesystem::path(std::string(local.constData(), local.size()));
#endif
}

}  // namespace quillex
