# `cpack -G DEB` in a build folder: one package with both programs and their desktop files.
# Its library dependencies are read from the built programs by dpkg-shlibdeps (dpkg-dev).
set(CPACK_PACKAGE_NAME quillex)
set(CPACK_PACKAGE_VENDOR Tarnwell)
set(CPACK_PACKAGE_CONTACT "Quillex developers <quillex@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Clean up plain-text files line by line")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillex loads a text file, runs one of twelve line functions over it (cut, replace, add,
remove duplicates or lines by a condition, join, filter, trim) and saves the result.
quillex-batch runs the same functions from the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://quillex.example.org/en/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quillex)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own Russian texts for its dialogs; the program runs without them, in English there.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
include(CPack)
