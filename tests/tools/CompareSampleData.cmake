# Runs trvgen into a fresh folder and compares every file with the committed data folder.
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${TRVGEN}" "${SOURCE}" "${WORK}" RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "trvgen failed (${status})")
endif()

file(GLOB_RECURSE generated RELATIVE "${WORK}" "${WORK}/*")
file(GLOB_RECURSE committed RELATIVE "${DATA}" "${DATA}/*")
list(FILTER committed EXCLUDE REGEX "(^|/)\\.git")
list(SORT generated)
list(SORT committed)
if(NOT generated STREQUAL committed)
    message(FATAL_ERROR "data/ holds ${committed}\ntrvgen writes ${generated}\n"
                        "Regenerate with: cmake --build <build folder> --target sampledata")
endif()

set(differing "")
foreach(name IN LISTS generated)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/${name}" "${DATA}/${name}"
                    RESULT_VARIABLE same)
    if(NOT same EQUAL 0)
        list(APPEND differing "${name}")
    endif()
endforeach()
if(differing)
    message(FATAL_ERROR "data/ differs from what trvgen writes in: ${differing}\n"
                        "Regenerate with: cmake --build <build folder> --target sampledata")
endif()
list(LENGTH generated count)
message(STATUS "data/ matches trvgen byte for byte (${count} files)")
