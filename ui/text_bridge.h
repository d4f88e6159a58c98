#pragma once

#include <QFile>
#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

#include "core/cp1251.h"
#include "core/encoding.h"

// Where the core's byte strings meet Qt's strings.
namespace quillex {

// Captions are UTF-8.
inline QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

inline std::u16string_view U16View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

// Document bytes are shown in the document's encoding; a UTF-8 byte that begins no valid
// sequence shows as U+FFFD.
inline QString DecodeForView(std::string_view bytes, Encoding encoding = Encoding::Windows1251) {
    return QString::fromStdU16String(encoding == Encoding::Utf8 ? DecodeUtf8(bytes)
                                                                : DecodeCp1251(bytes));
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
