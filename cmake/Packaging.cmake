# The Debian package made by cpack -G DEB from the install rules; its
# dependencies are found by dpkg-shlibdeps (package dpkg-dev) from the
# libraries the programs link (Qt, libjpeg, and for orvalis-plot Qt's SVG
# module and giflib), plus the fonts that the drawing asks for.
set(ORVALIS_PACKAGE_MAINTAINER "Orvalis maintainers <maintainers@orvalis.example>"
    CACHE STRING "Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvalis)
set(CPACK_PACKAGE_VENDOR "The Orvalis developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "formula plotter for Cartesian and polar graphs")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVALIS_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary above this as the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Orvalis draws the graph of a typed formula, y = f(x, z) in Cartesian mode
or r = f(x, z) in polar mode. The formula is compiled to x87 machine code,
so moving the parameter z replots at once. The view is panned and zoomed
with buttons, clicks and the mouse; the picture can be copied or saved.
.
The package also holds orvalis-plot, which writes the same pictures to PNG,
BMP, SVG or PDF files, and sweeps of z to animated GIFs, from the command
line, without a display.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The drawing asks for "Courier New", "Arial" and "Microsoft Sans Serif":
# Liberation's metric-compatible faces stand in for them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
# The About window's links open through xdg-open; on Wayland sessions Qt
# draws natively with its Wayland plugin, otherwise through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")

include(CPack)
