# Where `cmake --install` puts what a desktop and a shell look for (the XDG and FHS layouts),
# and the Debian package `make package` builds from the same rules. The programs find their
# recordings in ../share/quorvel/sounds beside bin/, so any prefix works.

set(QUORVEL_RES_DIR ${PROJECT_SOURCE_DIR}/res)
set(QUORVEL_INSTALL_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/quorvel)

install(FILES ${QUORVEL_RES_DIR}/desktop/${QUORVEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${QUORVEL_RES_DIR}/desktop/${QUORVEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${QUORVEL_RES_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${QUORVEL_RES_DIR}/completion/quorvel ${QUORVEL_RES_DIR}/completion/quorvel-calc
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
install(FILES ${QUORVEL_RES_DIR}/package/copyright DESTINATION ${QUORVEL_INSTALL_DOCDIR})

# Debian wants manual pages, the changelog and documents over 4 kB compressed without a time
# stamp (gzip -n), so that rebuilding gives the same bytes; man and zless read them so.
set(QUORVEL_GZIPPED)
foreach(source ${QUORVEL_RES_DIR}/man/quorvel.1 ${QUORVEL_RES_DIR}/man/quorvel-calc.1
               ${QUORVEL_RES_DIR}/package/changelog ${PROJECT_SOURCE_DIR}/README.md
               ${PROJECT_SOURCE_DIR}/NEWS)
  get_filename_component(name ${source} NAME)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/compressed/${name})
  add_custom_command(OUTPUT ${output}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${source} ${output}
      COMMAND gzip -9nf ${output}
      DEPENDS ${source}
      VERBATIM)
  list(APPEND QUORVEL_GZIPPED ${output}.gz)
endforeach()
add_custom_target(quorvel_compressed_docs ALL DEPENDS ${QUORVEL_GZIPPED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/quorvel.1.gz
              ${CMAKE_CURRENT_BINARY_DIR}/compressed/quorvel-calc.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/compressed/changelog.gz
              ${CMAKE_CURRENT_BINARY_DIR}/compressed/README.md.gz
              ${CMAKE_CURRENT_BINARY_DIR}/compressed/NEWS.gz
        DESTINATION ${QUORVEL_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvel)
set(CPACK_PACKAGE_VENDOR "The Quorvel developers")
set(CPACK_PACKAGE_CONTACT "The Quorvel developers <quorvel@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "talking calculator that shows every step")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvel is a talking calculator with a window and a command line. It
checks an expression as it is typed, works it out in its own
arbitrary-precision decimal arithmetic, shows every reduction step and
speaks keys, expressions and results aloud. It keeps a log and a formula
book, solves equations in x, converts units, calculates whole text files
and generates exercises.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvel.github.io/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, where shlibdeps cannot see them: Qt's platform plugins, and the sound
# and line-editing libraries, which are opened only when a program first needs them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-core, libportaudio2, libsndfile1, libreadline8")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
