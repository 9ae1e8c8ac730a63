# "make package": a Debian package of the programs, the sample flare file
# with its licence, the desktop entry and icon, the manual pages and the
# AppStream metadata, made by CPack. Its library dependencies are computed
# by dpkg-shlibdeps from the programs themselves.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME barywalk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Barywalk developers")
set(CPACK_PACKAGE_CONTACT "The Barywalk developers <barywalk@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "the Sun's wander around the solar system's barycenter, and solar-flare statistics")
set(CPACK_PACKAGE_DESCRIPTION
    "Barywalk computes the nine planets' positions (abridged VSOP87, a theory of Pluto), \
the solar system's barycenter and the planets' pull on the Sun, and animates the Sun's \
wander around the barycenter to true scale. It reads solar-flare catalogs and tests, with \
calibrated Monte Carlo nulls, whether flares line up with the planets. barywalk is the \
desktop program; barywalk-ephem, barywalk-flares and barywalk-render do the same work \
from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What dpkg-shlibdeps cannot see, because it is loaded or run, not linked:
# PLplot's cairo driver is a plugin that significance --plot loads, and
# barywalk-render pipes MP4 frames to ffmpeg and, without a display, starts
# its own Xvfb.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "plplot-driver-cairo")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "ffmpeg, xvfb, xauth")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)
