#pragma once

#include <QTranslator>

#include <cstdint>

namespace quillex {

// Qt's own texts (the file dialogs, the buttons of message boxes) in the interface language,
// from Qt's translation files. English is Qt's own language and needs none; without the
// Russian file (Debian's qt6-translations-l10n) those texts stay English.
class QtLanguage {
  public:
    void Apply(std::int32_t languageIndex);

  private:
    QTranslator russian_;
    bool loaded_ = false;
    bool installed_ = false;
};

}  // namespace quillex
