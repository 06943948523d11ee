# The Debian package: `./package.sh` builds zifferix_<version>_amd64.deb with CPack. The
# libraries are found by dpkg-shlibdeps; the two font families are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zifferix)
set(CPACK_PACKAGE_VENDOR "Zifferix")
set(CPACK_PACKAGE_CONTACT "Zifferix maintainers <maintainers@zifferix.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kopfrechentrainer für Schulkinder")
set(CPACK_PACKAGE_DESCRIPTION "A mental-arithmetic trainer for schoolchildren, in German.
Seven small animated games: a race against the clock, a ball up a mountain,
a glass to fill, a spider's web, a balance, a balloon ride and flying numbers,
each at three levels, and all of them in a row, with a table of best scores.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Control files owned by root and readable by all, as dpkg-deb makes them.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/Permissions.cmake)
# Reading aloud speaks through Qt's speech-dispatcher plugin; speech-dispatcher recommends
# espeak-ng's voices, German among them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation, fonts-comic-neue, qt6-speech-speechd-plugin, speech-dispatcher")
include(CPack)
