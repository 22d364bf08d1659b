# A .deb that installs the program, its desktop entry, MIME type, icon and
# help page. Build it with `cpack -G DEB` in the build folder.
set(CPACK_PACKAGE_NAME "zor-quorvane")
set(CPACK_PACKAGE_VENDOR "Kelvarbund")
set(CPACK_PACKAGE_CONTACT "Kelvarbund <${ZOR_REPORT_MAILBOX}>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Jährliche Bestandsmeldung (Quorvane) für Vereine des Verbands")
set(CPACK_PACKAGE_DESCRIPTION
  "Mit ZOR-Quorvane füllt ein Mitgliedsverein die jährliche Bestandsmeldung aus,\nprüft sie, speichert sie als .zor-Datei, druckt sie und schickt sie an den Verband.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "zor-quorvane")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The shared libraries the program links decide most of Depends; the fonts
# are what the printout is set in, and the platform plugins what shows the window.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-qpa-plugins")
# xdg-email and xdg-open hand mail and the help page to the desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")

include(CPack)
