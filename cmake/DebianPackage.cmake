# The Debian package: `cpack -G DEB` in the build folder turns the install rules into
# vantorel_<version>_amd64.deb, with its dependencies found by dpkg-shlibdeps.
# Packaging and installing take what was built and build nothing themselves (not the tests
# and benchmarks either), so the package test can run beside the others.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantorel)
set(CPACK_PACKAGE_VENDOR "The Vantorel developers")
set(CPACK_PACKAGE_CONTACT "The Vantorel developers <developers@vantorel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "set up and test satellite receiving equipment")
set(CPACK_PACKAGE_DESCRIPTION [=[
Vantorel talks over a serial port to a small interface box that puts DiSEqC
messages on the bus, drives a dish positioner and keeps a positioner table and
a remote-control code table. Messages are composed from their framing, device,
command and option bytes or picked from the menus; every byte sent and received
is shown in a log, in HEX, BINARY or ASCII form. The positioner and
remote-control tables can be read from the box, edited, written back and kept
in files.

The package also holds vantorel-boxsim, a simulated interface box on a
pseudo-terminal for trying the program without hardware.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Metric twin of the window's font, Courier New.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
include(CPack)
