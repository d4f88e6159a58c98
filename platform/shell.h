#pragma once

#include <QUrl>

#include "core/shell_target.h"

namespace quillex {

// "Open with the default application". Callers ignore the outcome: a missing browser, viewer or
// help file brings no message of the program's own.
class Shell {
  public:
    virtual ~Shell() = default;

    virtual void Open(const ShellTarget& target) = 0;
};

// The real shell, through QDesktopServices. The show command has no counterpart there; the
// platform shows the opened window its own way.
class DesktopShell : public Shell {
  public:
    void Open(const ShellTarget& target) override;

    // A web address as it stands; a document resolved against the current working directory
    // at the moment of the call, not against the program's folder.
    static QUrl UrlFor(const ShellTarget& target);
};

}  // namespace quillex
