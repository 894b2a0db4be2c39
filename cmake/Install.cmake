# Installation: the shared library with its soname, the public header, the
# command-line tool and its manual page, the documentation and example
# configuration, a pkg-config file and a CMake package (Quorrel::quorrel).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUORREL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quorrel)
set(QUORREL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quorrel)
# The library reads Fendrel.cfg from its own folder: a DLL lives in bin.
if(WIN32)
  set(QUORREL_CONFIG_DIR ${CMAKE_INSTALL_BINDIR})
else()
  set(QUORREL_CONFIG_DIR ${CMAKE_INSTALL_LIBDIR})
endif()

set_target_properties(quorrel PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})

# The installed tool finds the installed library relative to itself, so the
# whole prefix can be moved or installed with `cmake --install --prefix`.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(QUORREL_TOOL_RPATH "${CMAKE_INSTALL_LIBDIR}")
else()
  file(RELATIVE_PATH QUORREL_BIN_TO_LIB
    /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
  set(QUORREL_TOOL_RPATH "$ORIGIN/${QUORREL_BIN_TO_LIB}")
endif()
set_target_properties(quorrel_tool PROPERTIES INSTALL_RPATH "${QUORREL_TOOL_RPATH}")

install(TARGETS quorrel EXPORT QuorrelTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS quorrel_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/quorrel.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${QUORREL_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${QUORREL_DOC_DIR}
  FILES_MATCHING PATTERN "*.md")
install(FILES ${PROJECT_SOURCE_DIR}/examples/welcome.html
  DESTINATION ${QUORREL_DOC_DIR}/examples)
# Only an example: installed beside the library it would take effect at once.
if(EXISTS ${PROJECT_SOURCE_DIR}/examples/Fendrel.cfg)
  install(FILES ${PROJECT_SOURCE_DIR}/examples/Fendrel.cfg
    DESTINATION ${QUORREL_DOC_DIR}/examples)
endif()

# The pkg-config file and the manual page name installed paths, so they are
# written when installing, with the prefix in force then (which
# `cmake --install --prefix` may change).
set(QUORREL_INSTALLED_DIR ${PROJECT_BINARY_DIR}/installed)
foreach(dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${dir}}")
    set(QUORREL_PC_${dir} "${CMAKE_INSTALL_${dir}}")
  else()
    set(QUORREL_PC_${dir} "\${prefix}/${CMAKE_INSTALL_${dir}}")
  endif()
endforeach()
install(CODE "
  set(QUORREL_SOURCE_DIR [[${PROJECT_SOURCE_DIR}]])
  set(QUORREL_INSTALLED_DIR [[${QUORREL_INSTALLED_DIR}]])
  set(QUORREL_VERSION [[${PROJECT_VERSION}]])
  set(QUORREL_PC_LIBDIR [[${QUORREL_PC_LIBDIR}]])
  set(QUORREL_PC_INCLUDEDIR [[${QUORREL_PC_INCLUDEDIR}]])
  set(QUORREL_CONFIG_DIR [[${QUORREL_CONFIG_DIR}]])
  set(QUORREL_DOC_DIR [[${QUORREL_DOC_DIR}]])")
install(CODE [[
  configure_file(${QUORREL_SOURCE_DIR}/cmake/quorrel.pc.in
    ${QUORREL_INSTALLED_DIR}/quorrel.pc @ONLY)
  # The page names the paths of a default installation; the installed copy
  # names those of this installation.
  foreach(dir QUORREL_CONFIG_DIR QUORREL_DOC_DIR)
    if(IS_ABSOLUTE "${${dir}}")
      set(${dir}_FULL "${${dir}}")
    else()
      set(${dir}_FULL "${CMAKE_INSTALL_PREFIX}/${${dir}}")
    endif()
    string(REPLACE "-" "\\-" ${dir}_FULL "${${dir}_FULL}")
  endforeach()
  file(READ ${QUORREL_SOURCE_DIR}/docs/quorrel.1 page)
  string(REPLACE "/usr/local/lib/Fendrel.cfg" "${QUORREL_CONFIG_DIR_FULL}/Fendrel.cfg"
    page "${page}")
  string(REPLACE "/usr/local/share/doc/quorrel" "${QUORREL_DOC_DIR_FULL}" page "${page}")
  string(CONFIGURE "${page}" page @ONLY)
  file(WRITE ${QUORREL_INSTALLED_DIR}/quorrel.1 "${page}")
]])
install(FILES ${QUORREL_INSTALLED_DIR}/quorrel.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
install(FILES ${QUORREL_INSTALLED_DIR}/quorrel.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(EXPORT QuorrelTargets NAMESPACE Quorrel::
  DESTINATION ${QUORREL_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QuorrelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/QuorrelConfig.cmake
  INSTALL_DESTINATION ${QUORREL_CMAKE_DIR})
# The soname stays libquorrel.so.0 within 0.x: a request for 0.y is met by
# any installed 0.z that is at least as new.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/QuorrelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/QuorrelConfig.cmake
  ${PROJECT_BINARY_DIR}/QuorrelConfigVersion.cmake
  DESTINATION ${QUORREL_CMAKE_DIR})
