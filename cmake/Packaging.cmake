# The Debian package "kelvane", built by `make package` (cpack -G DEB): the
# desktop program, libVantor2 under the name the program binds, vantor,
# hht-sim, the header, the desktop entry, the icons, the AppStream metadata
# and a manual page for each program. Dependencies come from dpkg-shlibdeps.

set(KELVANE_PKG_SRC ${PROJECT_SOURCE_DIR}/packaging)
set(KELVANE_PKG_OUT ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${KELVANE_PKG_OUT})

find_program(HELP2MAN help2man)
find_program(GZIP gzip REQUIRED)

# Manual pages of the two tools come from their --help texts, which are
# written to read as manuals; RTKelvane has no command line and its page is
# written by hand.
set(KELVANE_MAN_PAGES ${KELVANE_PKG_OUT}/RTKelvane.1.gz)
add_custom_command(
  OUTPUT ${KELVANE_PKG_OUT}/RTKelvane.1.gz
  COMMAND ${GZIP} -9nc ${KELVANE_PKG_SRC}/man/RTKelvane.1 > ${KELVANE_PKG_OUT}/RTKelvane.1.gz
  DEPENDS ${KELVANE_PKG_SRC}/man/RTKelvane.1
  VERBATIM)
if(HELP2MAN)
  foreach(tool vantor hht-sim)
    if(tool STREQUAL "vantor")
      set(summary "run one transfer with a hand-held terminal")
    else()
      set(summary "simulate a hand-held terminal on a serial line")
    endif()
    add_custom_command(
      OUTPUT ${KELVANE_PKG_OUT}/${tool}.1.gz
      COMMAND ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION} --name=${summary}
              --output=${KELVANE_PKG_OUT}/${tool}.1 $<TARGET_FILE:${tool}>
      COMMAND ${GZIP} -9nf ${KELVANE_PKG_OUT}/${tool}.1
      DEPENDS ${tool}
      VERBATIM)
    list(APPEND KELVANE_MAN_PAGES ${KELVANE_PKG_OUT}/${tool}.1.gz)
  endforeach()
else()
  message(WARNING "help2man not found: the package lacks the manual pages of vantor and hht-sim")
endif()

add_custom_command(
  OUTPUT ${KELVANE_PKG_OUT}/changelog.gz
  COMMAND ${GZIP} -9nc ${KELVANE_PKG_SRC}/changelog > ${KELVANE_PKG_OUT}/changelog.gz
  DEPENDS ${KELVANE_PKG_SRC}/changelog
  VERBATIM)
add_custom_target(kelvane_package_data ALL DEPENDS ${KELVANE_MAN_PAGES} ${KELVANE_PKG_OUT}/changelog.gz)

install(FILES ${KELVANE_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KELVANE_PKG_SRC}/org.kelvane.RTKelvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KELVANE_PKG_SRC}/copyright ${KELVANE_PKG_OUT}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelvane)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "${VANTOR_COMPANY_NAME}")
set(CPACK_PACKAGE_CONTACT "Kelvane developers <dev@kelvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "data-file exchange with hand-held terminals")
# The extended description; CPack puts the summary before it and indents
# every line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Shop and warehouse staff count stock on a hand-held terminal. When the
terminal sits on its cradle, RTKelvane moves master files to it and the
collected data back, over a serial line or a USB cradle.
.
The package holds the desktop program RTKelvane, the transfer library
libVantor2, the command line vantor for scripts and the terminal simulator
hht-sim.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
# Qt's libraries do not bring the plugin that puts windows on an X11 or
# Wayland display; without the Korean fonts Hangul draws as boxes.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-nanum")
# The library lies in the system's library folder: ldconfig must see it.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${KELVANE_PKG_SRC}/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
