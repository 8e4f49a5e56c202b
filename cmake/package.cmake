# The Debian package, made by CPack's DEB generator (scripts/package): the files of
# `cmake --install` under /usr, its Depends from dpkg-shlibdeps. The icon cache and the
# desktop database are refreshed by Debian's own triggers (gtk-update-icon-cache and
# desktop-file-utils watch those folders), so the package has no scripts of its own.
set(PLOVANA_MAINTAINER "The Plovana developers <plovana@users.noreply.github.com>"
  CACHE STRING "The Maintainer line of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME plovana)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Plovana developers")
set(CPACK_PACKAGE_CONTACT ${PLOVANA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_HOMEPAGE_URL ${PLOVANA_HOMEPAGE})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${PLOVANA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Japanese captions need a Japanese font; Wayland sessions need Qt's Wayland plugin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, qt6-wayland")
# The summary line is the project's description; CPack puts it first and indents these
# lines by one space, as the control file wants them.
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Plovana is a desktop video player with a Japanese user interface. One window"
  "shows the video on the left and a list pane on the right: a folder browser"
  "with folder tabs, favourites with m3u playlist tabs (as a list or as"
  "thumbnails), a recursive file search, scene bookmarks and the options."
  "It plays what libmpv plays and keeps its state in ~/.local/share/plovana/.")

include(CPack)
