# Helpers that give every library, test and benchmark the same shape.
#
#   qf_add_library(<target> DIRS <dir>... [DEPS <target>...] [PRIVATE_DEPS <target>...] [STRICT])
#     One static library from the *.cpp files of the listed folders (relative to the
#     current source folder; not recursive, so a subsystem's subfolders that are
#     libraries of their own stay apart). STRICT adds -Wconversion for byte formats.
#
#   qf_add_test(<label> DIRS <dir>... DEPS <target>...)
#     One GoogleTest executable test_<label> from the listed folders, registered with
#     CTest under the label <label> (a source folder with "/" written as "-"), one CTest
#     test per GoogleTest suite.
#
#   qf_add_benchmark(<name> SOURCES <file>... DEPS <target>...)

# The folders of src/ in the order of building: each is one static library, and tests/
# mirrors them. A folder joins the build as soon as it has a CMakeLists.txt. Everything
# up to convert is the conversion and links no Qt; the rich-text interchange formats read
# and write bytes only, so they come before the GUI layer, and the rich view on screen
# and its editor after it.
set(QF_FOLDERS
  platform/base
  platform/cabinet
  platform/graphics
  unicode
  l10n
  wolf
  imaging
  xml
  imaging/png
  fb2
  richtext/model
  richtext/layout
  richtext/table
  richtext/interchange
  archive
  convert
  platform/gui
  unicode/controls
  richtext/screen
  richtext/edit
  app)

# Adds each folder of the list below the current source folder that has a CMakeLists.txt.
function(qf_add_folders)
  foreach(folder IN LISTS ARGN)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/CMakeLists.txt)
      add_subdirectory(${folder})
    endif()
  endforeach()
endfunction()

set(QF_WARNINGS -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Woverloaded-virtual)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  list(APPEND QF_WARNINGS -Wshadow=local)  # GCC's spelling; clang knows no "=local" form
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  # GCC 12 warns about std::string's own inlined copies in optimised builds (GCC bugs
  # 105329 and 105562); the warnings name no line of ours.
  list(APPEND QF_WARNINGS -Wno-restrict -Wno-maybe-uninitialized)
endif()

function(qf_collect_sources out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.c)
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()

function(qf_add_library target)
  cmake_parse_arguments(ARG "STRICT" "" "DIRS;DEPS;PRIVATE_DEPS;SOURCES" ${ARGN})
  qf_collect_sources(sources ${ARG_DIRS})
  if(NOT sources AND NOT ARG_SOURCES)
    message(STATUS "${target}: no sources yet, not built")
    return()
  endif()
  add_library(${target} STATIC ${sources} ${ARG_SOURCES})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  # The headers are C++20: a program that links the library compiles them as such, also
  # one outside this tree that does not set the standard itself.
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE ${QF_WARNINGS})
  if(QF_FUZZ)
    # Coverage for libFuzzer's feedback; the fuzz programs link libFuzzer itself.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
  if(ARG_STRICT)
    target_compile_options(${target} PRIVATE -Wconversion -Wsign-conversion)
  endif()
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
endfunction()

# CTest gets one test per GoogleTest suite of <target>, listed when CTest starts (after the
# build) by cmake/QfSuiteDiscovery.cmake; cases matching <exclude> are left out.
function(qf_add_suite_tests target label exclude)
  set(include_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_suites_include.cmake")
  file(GENERATE OUTPUT "${include_file}" CONTENT
"set(QF_SUITE_PROGRAM [==[$<TARGET_FILE:${target}>]==])
set(QF_SUITE_LABEL [==[${label}]==])
set(QF_SUITE_WORKDIR [==[${CMAKE_CURRENT_BINARY_DIR}]==])
set(QF_SUITE_EXCLUDE [==[${exclude}]==])
set(QF_SUITE_TESTS_FILE [==[${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake]==])
include([==[${PROJECT_SOURCE_DIR}/cmake/QfSuiteDiscovery.cmake]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${include_file}")
endfunction()

function(qf_add_test label)
  cmake_parse_arguments(ARG "" "" "DIRS;DEPS;SOURCES" ${ARGN})
  qf_collect_sources(sources ${ARG_DIRS})
  if(NOT sources AND NOT ARG_SOURCES)
    return()
  endif()
  set(target test_${label})
  add_executable(${target} ${sources} ${ARG_SOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_options(${target} PRIVATE ${QF_WARNINGS})
  target_compile_definitions(${target} PRIVATE
    QF_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    QF_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  # Test code runs little and compiles much: it builds unoptimised in the debug build, and
  # eight files share one compilation of the headers they all include (which leaves a
  # precompiled header little to save, at 85 MB of disk a program). The libraries under
  # test keep the build type's flags.
  target_compile_options(${target} PRIVATE $<$<CONFIG:Debug>:-O0>)
  set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  # Screenshots and other cases that need an X display (named ...UnderX):
  # qf_add_screenshot_test runs them on one of their own.
  qf_add_suite_tests(${target} ${label} "*Screenshot*:*UnderX*")
endfunction()

# The screenshot cases of a test program and its other cases that need X (named ...UnderX),
# on a virtual X display that the entry starts.
# A machine without xvfb-run gets an entry that fails and says what to install.
function(qf_add_screenshot_test label lsan_suppressions)
  find_program(XVFB_RUN xvfb-run)
  set(name ${label}.Screenshots)
  if(XVFB_RUN)
    add_test(NAME ${name}
      COMMAND ${XVFB_RUN} -a -s "-screen 0 1024x768x24" $<TARGET_FILE:test_${label}> --gtest_filter=*Screenshot*:*UnderX*)
  else()
    add_test(NAME ${name}
      COMMAND sh -c "echo 'xvfb-run is missing: scripts/setup.sh installs it (package xvfb)'; exit 1")
  endif()
  set_tests_properties(${name} PROPERTIES
    LABELS ${label}
    ENVIRONMENT "QT_QPA_PLATFORM=xcb;QF_SCREENSHOT_DIR=${CMAKE_CURRENT_BINARY_DIR};LSAN_OPTIONS=suppressions=${lsan_suppressions}")
endfunction()

function(qf_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${QF_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
