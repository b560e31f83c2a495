# cmake -DROOT=<source dir> -DCLANG_FORMAT=<program> -P CheckFormat.cmake
# Fails when a C++ file of the tree is not formatted as the root .clang-format says.
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE sources
     "${ROOT}/src/*.h" "${ROOT}/src/*.cpp" "${ROOT}/tests/*.h" "${ROOT}/tests/*.cpp"
     "${ROOT}/bench/*.h" "${ROOT}/bench/*.cpp" "${ROOT}/fuzz/*.h" "${ROOT}/fuzz/*.cpp"
     "${ROOT}/app/*.h" "${ROOT}/app/*.cpp")
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${sources}
                WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Files above are not formatted: run clang-format -i on them")
endif()
