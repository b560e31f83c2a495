# Helpers shared by the folders' CMakeLists.

# qel_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One Qt Test executable, run by CTest without a display.
function(qel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QEL_TEST_OUTPUT_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# qel_add_bench(<name> SOURCES <files...> LIBS <targets...>)
function(qel_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE benchmark::benchmark ${ARG_LIBS})
endfunction()
