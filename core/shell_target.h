#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace quillex {

// How the opened window is shown; the values of the Windows show commands, kept so that a
// shell on that platform can pass them on as they are.
enum class ShowCommand : int {
    ShowNormal = 1,  // SW_SHOWNORMAL: the web page
    Restore = 9,     // SW_RESTORE: the help file
};

// Something handed to the platform to open with the user's default application.
struct ShellTarget {
    enum class Kind { WebAddress, Document };

    Kind kind;
    // A full address, or a file name: absolute, or relative to the current working directory.
    std::string target;
    ShowCommand show;

    friend bool operator==(const ShellTarget&, const ShellTarget&) = default;
};

inline constexpr const char* kWebAddressEnglish = "https://quillex.example.org/en/";
inline constexpr const char* kWebAddressRussian = "https://quillex.example.org/ru/";
inline constexpr const char* kHelpFileEnglish = "Help_e.txt";
inline constexpr const char* kHelpFileRussian = "Help_r.txt";

// Sb_InternetClick: the maker's web page in the current language. Nothing for an index other
// than 0 and 1, which selects no language.
std::optional<ShellTarget> WebPageTarget(std::int32_t languageIndex);

// Sb_HelpClick: the help file of the current language in `folder`; with no folder, by its bare
// name, looked for in the current working directory. Nothing for an index other than 0 and 1.
std::optional<ShellTarget> HelpFileTarget(std::int32_t languageIndex,
                                          const std::filesystem::path& folder = {});

// Where the help files of a program in `programFolder` are: installed, share/quillex beside the
// program's bin folder; otherwise (a build tree, a Windows folder with everything side by
// side) the program's own folder. Never the working folder, which is wherever the user was.
std::filesystem::path HelpFolder(const std::filesystem::path& programFolder);

}  // namespace quillex
