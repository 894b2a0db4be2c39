# The library's sources as one target per layer, from the bottom: platform
# (operating-system services, text helpers, tracing), markup (the document
# tree, its tokenizer, builder and writer), devices (configuration and
# device profiles) and conversion (the passes that make the deck). A layer
# sees the headers of its own folder and of the layers below it only: its
# include folder holds a link to its own source folder and nothing else, and
# it takes the include folders of the layers below from them, so an include
# that points up does not build.
set(QUORREL_LAYERS platform markup devices conversion)

# quorrel_add_core(NAME ROOT): the layers as object libraries NAME_platform
# ... NAME_conversion, and the static library NAME holding all of them with
# the exported functions (library/). NAME_TARGETS lists every target made,
# for settings that apply to the whole copy (the profile, the fuzzer's
# instrumentation).
function(quorrel_add_core name root)
  set(targets)
  set(below)
  foreach(layer IN LISTS QUORREL_LAYERS)
    set(target ${name}_${layer})
    file(GLOB sources CONFIGURE_DEPENDS ${root}/${layer}/*.cpp)
    add_library(${target} OBJECT ${sources})
    set(includes ${CMAKE_BINARY_DIR}/layers/${layer})
    file(MAKE_DIRECTORY ${includes})
    if(NOT EXISTS ${includes}/${layer})
      file(CREATE_LINK ${root}/${layer} ${includes}/${layer} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${includes})
    target_link_libraries(${target} PUBLIC ${below})
    if(QUORREL_TRACE)
      target_compile_definitions(${target} PUBLIC QUORREL_TRACE)
    endif()
    list(APPEND targets ${target})
    set(below ${target})
  endforeach()

  # The exported functions see every layer and the public header.
  add_library(${name} STATIC ${root}/library/WapConvert.cpp ${root}/library/LibraryVersion.cpp)
  target_link_libraries(${name} PUBLIC ${targets} ${CMAKE_DL_LIBS})
  target_include_directories(${name} PUBLIC ${root} ${CMAKE_BINARY_DIR}/generated)
  target_compile_definitions(${name} PUBLIC QUORREL_BUILDING_LIBRARY)
  list(APPEND targets ${name})
  set(${name}_TARGETS ${targets} PARENT_SCOPE)
endfunction()
