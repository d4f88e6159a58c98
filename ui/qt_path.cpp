#include "ui/qt_path.h"

#include <QFile>

namespace quillex {

std::filesystem::path ToFilesystemPath(const QString& fileName) {
#if defined(Q_OS_WIN)
    return std::filesystem::path(fileName.toStdWString());
#else
    // The bytes Qt itself would use to open the file, whatever the locale.
    const QByteArray bytes = QFile::encodeName(fileName);
    return std::filesystem::path(std::string(bytes.constData(), bytes.size()));
#endif
}

}  // namespace quillex
