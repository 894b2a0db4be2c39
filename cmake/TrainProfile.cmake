# Script mode: runs TRAINER on every page of PAGES, then moves the counts
# from the object folder FROM to the same places under TO and touches STAMP.
file(GLOB_RECURSE stale "${FROM}/*.gcda" "${TO}/*.gcda")
if(stale)
  file(REMOVE ${stale})
endif()

foreach(page IN LISTS PAGES)
  execute_process(COMMAND "${TRAINER}" "${page}" OUTPUT_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "profile training failed on ${page}")
  endif()
endforeach()

file(GLOB_RECURSE counts RELATIVE "${FROM}" "${FROM}/*.gcda")
if(NOT counts)
  message(FATAL_ERROR "profile training left no counts in ${FROM}")
endif()
foreach(count IN LISTS counts)
  get_filename_component(folder "${TO}/${count}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(RENAME "${FROM}/${count}" "${TO}/${count}")
endforeach()
file(TOUCH "${STAMP}")
