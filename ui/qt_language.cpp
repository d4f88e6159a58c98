#include "ui/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>

#include "core/caption_table.h"

namespace quillex {

void QtLanguage::Apply(std::int32_t languageIndex) {
    // An index that selects no language changes nothing, as it leaves the caption table.
    if (languageIndex != kLanguageEnglish && languageIndex != kLanguageRussian) {
        return;
    }
    const bool russian = languageIndex == kLanguageRussian;
    if (russian && !loaded_) {
        // Where Qt keeps them, or (a Windows folder made by windeployqt) beside the program.
        loaded_ =
            russian_.load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
            russian_.load(QStringLiteral("qtbase_ru"),
                          QCoreApplication::applicationDirPath() + QStringLiteral("/translations"));
    }
    const bool wanted = russian && loaded_;
    if (wanted == installed_) {
        return;
    }
    if (wanted) {
        installed_ = QCoreApplication::installTranslator(&russian_);
    } else {
        QCoreApplication::removeTranslator(&russian_);
        installed_ = false;
    }
}

}  // namespace quillex
