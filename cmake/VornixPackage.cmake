# The Debian package, built by `cpack -G DEB` (or ./package.sh) from a Release
# tree. Everything it holds comes from the install() rules; this file only
# describes the package. Included before the subfolders, which fill the
# package's own files (changelog, copyright) from these settings.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vornix)
# CPack keeps only three parts of the project version unless told the whole.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
# The day this version was released; the Debian changelog and the AppStream
# release entry both state it.
set(VORNIX_RELEASE_DATE 2026-12-08)
# The copyright line, "Copyright (C) YEARS HOLDER", names the maker.
string(REGEX REPLACE "^Copyright \\([Cc]\\) " "" VORNIX_COPYRIGHT_NOTICE "${VORNIX_LEGAL_COPYRIGHT}")
string(REGEX REPLACE "^[-0-9, ]+ " "" VORNIX_MAKER "${VORNIX_COPYRIGHT_NOTICE}")
set(CPACK_PACKAGE_VENDOR "${VORNIX_MAKER}")
set(CPACK_PACKAGE_CONTACT "${VORNIX_MAKER} <${VORNIX_EMAIL}>")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://${VORNIX_WEB_HOST}/")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password keeper that stores sites in one encrypted ZIP archive")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Vornix keeps web-site credentials (site name, user name, password, URL\n"
    "and notes) in one archive file: a standard ZIP file whose member Data\n"
    "holds the sites as lines of text, deflated and encrypted. Any ZIP tool\n"
    "that knows the password opens it.\n"
    "\n"
    "The package holds the window, vornix, with a password generator and\n"
    "import from other archives, and the command-line companion, vornix-cli,\n"
    "which lists, shows, adds, changes and removes sites, exports and imports\n"
    "CSV files and generates passwords on the same archive files.")

# The Debian revision of the packaging; with it the package is not a native
# one, so its changelog belongs in changelog.Debian.gz.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(VORNIX_DEBIAN_VERSION "${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The SVG icons are drawn by a Qt plugin that the binaries load at run time,
# so dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_STRIP_FILES ON)
# Installed folders must not depend on the packager's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

include(CPack)
