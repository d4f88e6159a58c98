#include "core/shell_target.h"

#include <string>
#include <system_error>

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

namespace {

// UTF-8, as every target's text is.
std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

std::optional<ShellTarget> HelpFileTarget(std::int32_t languageIndex,
                                          const std::filesystem::path& folder) {
    if (languageIndex == kLanguageEnglish) {
        return ShellTarget{ShellTarget::Kind::Document, Utf8(folder / kHelpFileEnglish),
                           ShowCommand::Restore};
    }
    if (languageIndex == kLanguageRussian) {
        return ShellTarget{ShellTarget::Kind::Document, Utf8(folder / kHelpFileRussian),
                           ShowCommand::Restore};
    }
    return std::nullopt;
}

std::filesystem::path HelpFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path installed = programFolder.parent_path() / "share" / "quillex";
    std::error_code error;
    if (std::filesystem::is_regular_file(installed / kHelpFileEnglish, error)) {
        return installed;
    }
    return programFolder;
}

}  // namespace quillex
