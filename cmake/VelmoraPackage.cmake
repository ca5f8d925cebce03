# `cpack -G DEB` in a Release build folder makes velmora_<version>_<arch>.deb from the install rules.
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "The Velmora developers")
set(CPACK_PACKAGE_CONTACT "The Velmora developers <support@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch video converter for the Sony PSP")
# Lines of the long description; CPack indents them as the control file needs.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Velmora converts videos of many kinds into MP4 files with thumbnails that the"
    "Sony PSP plays, named as the PSP names its own files. It queues many files,"
    "shows the progress of each, can be stopped at any moment and can switch the"
    "computer off when the queue is done. It crops black bars, picks the sound"
    "track and burns in subtitles in the languages the user prefers. It speaks"
    "English, Simplified and Traditional Chinese, Japanese, Korean, French,"
    "German, Spanish, Italian, Brazilian Portuguese and Russian.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.velmora.example/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names exactly the Qt, FFmpeg and uchardet library packages the two programs link against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Without these fonts the Chinese, Japanese and Korean captions show as boxes; without Qt's translations the
# buttons of Qt's own dialogs stay in English.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")

include(CPack)
