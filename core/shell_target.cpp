#include "core/shell_target.h"

#include "core/caption_table.h"

namespace quillex {

std::optional<ShellTarget> WebPageTarget(std::int32_t languageIndex) {
    if (languageIndex == kLanguageEnglish) {
        return ShellTarget{ShellTarget::Kind::WebAddress, kWebAddressEnglish,
                           ShowCommand::ShowNormal};
    }
    if (languageIndex == kLanguageRussian) {
        return ShellTarget{ShellTarget::Kind::WebAddress, kWebAddressRussian,
                           ShowCommand::ShowNormal};
    }
    return std::nullopt;
}

std::optional<ShellTarget> HelpFileTarget(std::int32_t languageIndex) {
    if (languageIndex == kLanguageEnglish) {
        return ShellTarget{ShellTarget::Kind::Document, kHelpFileEnglish, ShowCommand::Restore};
    }
    if (languageIndex == kLanguageRussian) {
        return ShellTarget{ShellTarget::Kind::Document, kHelpFileRussian, ShowCommand::Restore};
    }
    return std::nullopt;
}

}  // namespace quillex
