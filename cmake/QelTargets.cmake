# Helpers shared by the folders' CMakeLists.

# qel_add_library(<name> SOURCES <files...> [PUBLIC <targets...>] [PRIVATE <targets...>])
# One static library of src/. Every library's include folder is src/ alone, so an include line
# names the library it reaches into ("qelfile/DatabaseFile.h").
function(qel_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  qel_precompile(${name})
endfunction()

# qel_precompile(<target>)
# Precompiles the Qt and standard headers most sources of a library include (the widget ones
# too where the library builds on widgets). A clean build of the libraries takes about a tenth
# less compiler time with them; the tests, with a source or two each, take longer, so they do
# without.
function(qel_precompile name)
  get_target_property(links ${name} LINK_LIBRARIES)
  set(headers <QtGlobal> <QString> <QStringView> <QByteArray> <QList> <QIODevice> <QFile>
      <memory> <vector>)
  set(widgets OFF)
  foreach(link IN LISTS links)
    if(link MATCHES "Widgets|qel_gridview|qel_dialogs|qel_search|qel_database|qel_shell")
      set(widgets ON)
    endif()
  endforeach()
  if(widgets)
    list(APPEND headers <QWidget> <QLabel> <QPainter> <QApplication> <QMouseEvent> <QKeyEvent>
         <QLineEdit>)
  endif()
  target_precompile_headers(${name} PRIVATE ${headers})
endfunction()

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

# qel_add_fuzz_target(<name> ENTRY <source> CORPUS <folder> LIBS <targets...>)
# A libFuzzer entry point (LLVMFuzzerTestOneInput in <source>). Every build with tests makes
# <name>_replay, which CTest runs once over every file of the corpus folder: the inputs the
# fuzzer found interesting stay regression tests without fuzzing in CI. With QEL_BUILD_FUZZ
# (clang only, everything built with AddressSanitizer and UndefinedBehaviorSanitizer) the
# fuzzer <name> itself is built as well.
function(qel_add_fuzz_target name)
  cmake_parse_arguments(ARG "" "ENTRY;CORPUS" "LIBS" ${ARGN})
  if(QEL_BUILD_TESTS)
    add_executable(${name}_replay ${ARG_ENTRY} ${PROJECT_SOURCE_DIR}/fuzz/ReplayMain.cpp)
    target_link_libraries(${name}_replay PRIVATE ${ARG_LIBS})
    add_test(NAME ${name}_replay COMMAND ${name}_replay ${ARG_CORPUS})
    set_tests_properties(${name}_replay PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
  if(QEL_BUILD_FUZZ)
    add_executable(${name} ${ARG_ENTRY})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()
