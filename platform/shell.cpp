#include "platform/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QString>

namespace quillex {

QUrl DesktopShell::UrlFor(const ShellTarget& target) {
    const QString text = QString::fromStdString(target.target);
    switch (target.kind) {
        case ShellTarget::Kind::WebAddress:
            return QUrl(text, QUrl::StrictMode);
        case ShellTarget::Kind::Document:
            return QUrl::fromLocalFile(QDir::current().absoluteFilePath(text));
    }
    return {};
}

void DesktopShell::Open(const ShellTarget& target) {
    QDesktopServices::openUrl(UrlFor(target));
}

}  // namespace quillex
