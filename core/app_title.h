#pragma once

#include <string>
#include <string_view>

namespace quillex {

// The application's title, from the program file's path: the file name without its folder and
// without everything from its first full stop on, every letter after the first in lower case
// ("C:\\Tools\\QUILLEX.EXE" gives "Quillex"). Both '/' and '\\' separate folders.
std::string ApplicationTitle(std::string_view programPath);

}  // namespace quillex
