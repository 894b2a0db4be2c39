# Profile-guided optimisation of the library (g++ optimised native builds).
# An instrumented copy of the library converts the bundled pages (the
# examples and the golden test pages); the library is then compiled with the
# profile of that run, which tells the compiler which branches go which way
# and which code is hot. The output does not change, only its speed.
option(QUORREL_PGO "Optimise the library with a profile of converting the bundled pages" ON)

if(NOT (QUORREL_PGO AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT CMAKE_CROSSCOMPILING
        AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo)$"))
  return()
endif()

set(QUORREL_PROFILE_FLAGS -fprofile-generate -fprofile-update=single)
quorrel_add_core(quorrel_core_training ${CMAKE_SOURCE_DIR})
foreach(target IN LISTS quorrel_core_training_TARGETS)
  target_compile_options(${target} PRIVATE ${QUORREL_PROFILE_FLAGS})
endforeach()

# The training run is the command-line converter on the instrumented copy. It
# runs in a folder of its own, so no Fendrel.cfg lies beside it and the
# built-in defaults apply.
add_executable(quorrel_training tools/quorrel.cpp)
target_include_directories(quorrel_training PRIVATE ${CMAKE_SOURCE_DIR}/include)
target_link_libraries(quorrel_training PRIVATE quorrel_core_training)
target_link_options(quorrel_training PRIVATE ${QUORREL_PROFILE_FLAGS})
set_target_properties(quorrel_training PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/profile-training)

file(GLOB QUORREL_TRAINING_PAGES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/examples/*.html ${CMAKE_SOURCE_DIR}/tests/data/convert/*.html)

# Each object file's counts land beside it; they are moved beside the
# library's object file of the same source, where the compiler looks: from
# each target of the instrumented copy to the same target of the library.
set(QUORREL_PROFILE_FROM)
set(QUORREL_PROFILE_TO)
foreach(target IN LISTS quorrel_core_TARGETS)
  string(REGEX REPLACE "^quorrel_core" "quorrel_core_training" training ${target})
  list(APPEND QUORREL_PROFILE_FROM ${CMAKE_BINARY_DIR}/CMakeFiles/${training}.dir)
  list(APPEND QUORREL_PROFILE_TO ${CMAKE_BINARY_DIR}/CMakeFiles/${target}.dir)
endforeach()
set(QUORREL_PROFILE_STAMP ${CMAKE_BINARY_DIR}/profile-training/profile.stamp)
add_custom_command(OUTPUT ${QUORREL_PROFILE_STAMP}
  COMMAND ${CMAKE_COMMAND}
    -DTRAINER=$<TARGET_FILE:quorrel_training>
    "-DPAGES=${QUORREL_TRAINING_PAGES}"
    "-DFROM=${QUORREL_PROFILE_FROM}"
    "-DTO=${QUORREL_PROFILE_TO}"
    -DSTAMP=${QUORREL_PROFILE_STAMP}
    -P ${CMAKE_SOURCE_DIR}/cmake/TrainProfile.cmake
  DEPENDS quorrel_training ${QUORREL_TRAINING_PAGES} ${CMAKE_SOURCE_DIR}/cmake/TrainProfile.cmake
  COMMENT "Profiling the conversion of the bundled pages"
  VERBATIM)
add_custom_target(quorrel_profile DEPENDS ${QUORREL_PROFILE_STAMP})

# The profile is made before the library is compiled. A changed source is
# compiled again in both copies, so its counts always match its code.
# Code the pages never reached is optimised as without a profile.
foreach(target IN LISTS quorrel_core_TARGETS)
  add_dependencies(${target} quorrel_profile)
  target_compile_options(${target} PRIVATE
    -fprofile-use -fprofile-partial-training -fprofile-correction -Wno-missing-profile)
endforeach()
