# cmake -DROOT=<source dir> -P CheckIncludes.cmake
#
# Checks the include lines of the tree against its layering:
# - a quoted include in src/ is written by path from src/ ("qelfile/DatabaseFile.h") and names a
#   file that exists there;
# - a src/ library includes only itself and the libraries below it, and of those only their
#   public face: the headers at the top of the library's folder, not those in its subfolders;
# - tests, benchmarks, fuzz targets and the application include src/ by path, tests/support by
#   "support/...", and their own folder's helpers by bare name.
# Prints every offending line and fails when there is one.
cmake_minimum_required(VERSION 3.25)

# Each library's folder under src/ and what it may include besides itself (the closure of its
# dependencies).
set(allowed_table "")
set(allowed_text "")
set(allowed_qelfile "table;text")
set(allowed_exchange "table;text")
set(allowed_settings "text")
set(allowed_platform "text")
set(allowed_gridview "platform;qelfile;exchange;table;text;settings")
set(allowed_ui/dialogs "gridview;platform;qelfile;exchange;table;text;settings")
set(allowed_ui/search "gridview;platform;qelfile;exchange;table;text;settings")
set(allowed_ui/database
    "ui/search;ui/dialogs;gridview;platform;qelfile;exchange;table;text;settings")
set(allowed_ui/shell
    "ui/database;ui/search;ui/dialogs;gridview;platform;qelfile;exchange;table;text;settings")

set(libraries table text qelfile exchange settings platform gridview ui/dialogs ui/search
    ui/database ui/shell)

# The library a path below src/ belongs to ("ui/database/commands/X.h" -> "ui/database").
function(library_of path out)
  set(found "")
  foreach(lib IN LISTS libraries)
    string(LENGTH "${lib}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    if(head STREQUAL "${lib}/")
      set(found "${lib}")
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(problems "")

file(GLOB_RECURSE sources RELATIVE "${ROOT}"
     "${ROOT}/src/*.h" "${ROOT}/src/*.cpp" "${ROOT}/tests/*.h" "${ROOT}/tests/*.cpp"
     "${ROOT}/bench/*.h" "${ROOT}/bench/*.cpp" "${ROOT}/fuzz/*.h" "${ROOT}/fuzz/*.cpp"
     "${ROOT}/app/*.h" "${ROOT}/app/*.cpp")
foreach(source IN LISTS sources)
  file(STRINGS "${ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  get_filename_component(folder "${source}" DIRECTORY)
  set(own "")
  if(source MATCHES "^src/(.*)$")
    library_of("${CMAKE_MATCH_1}" own)
  endif()
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" included "${line}")
    if(included MATCHES "\\.moc$")
      continue()
    endif()
    if(NOT included MATCHES "/")
      # A bare name: only a test's own helper beside it.
      if(source MATCHES "^src/" OR NOT EXISTS "${ROOT}/${folder}/${included}")
        list(APPEND problems "${source}: \"${included}\" is not written by path from src/")
      endif()
      continue()
    endif()
    if(included MATCHES "^support/")
      if(source MATCHES "^src/" OR NOT EXISTS "${ROOT}/tests/${included}")
        list(APPEND problems "${source}: \"${included}\" names no test helper")
      endif()
      continue()
    endif()
    if(NOT EXISTS "${ROOT}/src/${included}")
      list(APPEND problems "${source}: \"${included}\" names no file under src/")
      continue()
    endif()
    library_of("${included}" target)
    if(own STREQUAL "" OR target STREQUAL own)
      continue()
    endif()
    if(NOT target IN_LIST allowed_${own})
      list(APPEND problems "${source}: ${own} may not include ${target} (\"${included}\")")
      continue()
    endif()
    string(LENGTH "${target}/" length)
    string(SUBSTRING "${included}" ${length} -1 rest)
    if(rest MATCHES "/")
      list(APPEND problems
           "${source}: \"${included}\" is internal to ${target}, use its public headers")
    endif()
  endforeach()
endforeach()

if(problems)
  list(JOIN problems "\n" text)
  message(FATAL_ERROR "Include lines that break the layering:\n${text}")
endif()
list(LENGTH sources count)
message(STATUS "Include lines of ${count} files follow the layering")
