# A .deb that installs the program, its desktop entry, MIME type, icon and
# help page. Build it with `cpack -G DEB` in the build folder.
set(CPACK_PACKAGE_NAME "zor-quorvane")
set(CPACK_PACKAGE_VENDOR "Kelvarbund")
# The program's keepers, not the association's report mailbox.
set(CPACK_PACKAGE_CONTACT "${ZOR_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZOR_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Jährliche Bestandsmeldung (Quorvane) für Vereine des Verbands")
# Lines of at most 80 characters, as package tools show them.
set(CPACK_PACKAGE_DESCRIPTION
  "Mit ZOR-Quorvane füllt ein Mitgliedsverein die jährliche Bestandsmeldung\naus: Vereinsdaten, Mitgliederzahlen, Dan-Träger und Trainingsstätte. Das\nProgramm prüft die Angaben, speichert sie als .zor-Datei, druckt sie und\nübergibt sie dem E-Mail-Programm zum Versand an den Verband.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "zor-quorvane")
set(CPACK_STRIP_FILES ON)
# The package is staged through DESTDIR, so the install step knows it is not
# installing to a live system.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The shared libraries the program links decide most of Depends; the fonts
# are what the printout is set in, the platform plugins what shows the
# window, and Qt's translations what makes its own dialogs speak German.
# libcups is loaded only when the program first prints, so shlibdeps does
# not see it: the package names it itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "fonts-liberation, libcups2 (>= 2.2), qt6-qpa-plugins, qt6-translations-l10n")
# xdg-email and xdg-open hand mail and the help page to the desktop; Qt's
# Wayland plugin lets the window run natively on GNOME and KDE sessions.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")

include(CPack)
