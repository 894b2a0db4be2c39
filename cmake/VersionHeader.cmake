# The version text lives in one place, the project's VERSION; the library,
# the tests and the manual page take it from the header written here.
set(QUORREL_VERSION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/QuorrelVersion.h.in)

# Writes DIR/QuorrelVersion.h for VERSION.
function(quorrel_write_version_header dir version)
  set(QUORREL_VERSION ${version})
  configure_file(${QUORREL_VERSION_TEMPLATE} ${dir}/QuorrelVersion.h @ONLY)
endfunction()

# The VERSION of the top-level project, for builds that are projects of their
# own (the fuzz targets).
function(quorrel_read_project_version root result)
  file(STRINGS ${root}/CMakeLists.txt line REGEX "^project\\(Quorrel VERSION ")
  string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" version "${line}")
  set(${result} ${version} PARENT_SCOPE)
endfunction()
