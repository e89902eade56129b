# `cmake --build BUILD --target package`: a Debian package of what
# `cmake --install` lays out (the viewer, the movie encoder, the model
# service, the models, pictures and sample run, the desktop entry and the
# icon), installed under /usr. Its library dependencies are worked out from
# the binaries by dpkg-shlibdeps, so that apt brings what they link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME corvane)
set(CPACK_PACKAGE_VENDOR "Corvane")
set(CPACK_PACKAGE_CONTACT "Corvane developers <corvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer of clothing thermal-comfort simulation runs")
set(CPACK_PACKAGE_DESCRIPTION
    "Corvane loads the folder a clothing thermal-comfort simulation writes and shows it as charts and\
 3D line plots of every quantity, a 3D body in its garment coloured by temperature, humidity or\
 sweating rate with a player through the simulated time, a walking body and a space suit on the\
 moon; it writes figures, movies, screenshots and CSV exports from the command line too.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the binaries load without linking it: Qt's platforms (a window, or
# none on a cluster's node), Mesa's GL and EGL for the 3D pictures without a
# GPU, and the fonts the pictures are drawn with. The Python module is built
# for the interpreter of its build (its ABI tag names the version) and makes
# its DataFrames with Debian's NumPy and pandas.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libgl1-mesa-dri, libegl-mesa0, fonts-liberation2, fonts-dejavu-core, fonts-droid-fallback")
if(TARGET _corvane)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${CORVANE_PYTHON_DEPENDS}, python3-numpy, python3-pandas")
  # What a cluster of worker processes needs; the module runs without it.
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3-distributed")
  # The module's byte code is made when the package is installed and removed
  # before it goes, as Debian's Python packages do; else the __pycache__ an
  # import leaves keeps the module's folder behind after a purge.
  set(maintainer_scripts ${CMAKE_BINARY_DIR}/debian)
  file(WRITE ${maintainer_scripts}/postinst "#!/bin/sh\nset -e\n"
       "if [ \"$1\" = configure ] && command -v py3compile >/dev/null 2>&1; then\n  py3compile -p corvane\nfi\n")
  file(WRITE ${maintainer_scripts}/prerm "#!/bin/sh\nset -e\n"
       "if command -v py3clean >/dev/null 2>&1; then\n  py3clean -p corvane\nfi\n")
  file(CHMOD ${maintainer_scripts}/postinst ${maintainer_scripts}/prerm
       PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${maintainer_scripts}/postinst;${maintainer_scripts}/prerm")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
