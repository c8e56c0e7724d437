# Builds the example program as a program outside the tree builds it (outside/
# CMakeLists.txt: the tree added with add_subdirectory, EXCLUDE_FROM_ALL, tests and
# benchmarks off, no C++ standard of its own) and runs it.
#
# The outside build is configured whole, and the example's own source is compiled by the
# command it generates: what it gets from the library targets alone (the include folder,
# C++20, the start-up symbols the linker is asked for) is what is tested. Its link command
# is run as generated, but with the libraries this build compiled from the same sources
# in place of the outside build's copies, which would take minutes to compile again.
#
#   cmake -DSETTINGS=<file> -P BuildOutside.cmake
#
# The settings file (written by tests/richtext/edit/CMakeLists.txt) sets QF_SOURCE_DIR
# (the tree), QF_BINARY_DIR (this build), WORK_DIR (a scratch folder), NINJA,
# CONFIGURE_ARGS (this build's compilers and flags) and EXAMPLE_ARGS (the example's
# arguments before its output folder).
include(${SETTINGS})

function(qf_outside_fail message)
  message(FATAL_ERROR "the example built outside the tree: ${message}")
endfunction()

# Runs command in WORK_DIR; the output, or a failure with it.
function(qf_outside_run out)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT result EQUAL 0)
    list(JOIN ARGN " " shown)
    qf_outside_fail("${shown} failed (${result}):\n${output}")
  endif()
  set(${out} "${output}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
qf_outside_run(configured ${CMAKE_COMMAND} -S ${QF_SOURCE_DIR}/tests/richtext/edit/example/outside -B ${WORK_DIR}
               -G Ninja -DQF_SOURCE_DIR=${QF_SOURCE_DIR} ${CONFIGURE_ARGS})

# The commands that build the example, its own compile and link among them.
qf_outside_run(commands ${NINJA} -t commands rich-edit-example)
string(REPLACE ";" "\\;" commands "${commands}")
string(REPLACE "\n" ";" commands "${commands}")
set(compile "")
set(link "")
foreach(command IN LISTS commands)
  if(command MATCHES " -c [^ ]*RichEditExample\\.cpp")
    set(compile "${command}")
  elseif(command MATCHES " -o rich-edit-example ")
    set(link "${command}")
  endif()
endforeach()
if(NOT compile OR NOT link)
  qf_outside_fail("no compile or link command for the example:\n${commands}")
endif()
if(NOT compile MATCHES " -std=(c|gnu)\\+\\+20 ")
  qf_outside_fail("the example is not compiled as C++20:\n${compile}")
endif()
foreach(symbol QfRichTextStartup QfRichTextScreenStartup QfRichTextModelStartup)
  if(NOT link MATCHES "--undefined=${symbol}")
    qf_outside_fail("the link does not ask for ${symbol}:\n${link}")
  endif()
endforeach()
# The example's object, by the outside build's command. (Not through ninja: the object
# waits there for the edit library's generated resource table, and that generated
# source, as every custom command of a target, for all of the target's libraries.)
if(NOT compile MATCHES " -o ([^ ]*RichEditExample\\.cpp\\.o) ")
  qf_outside_fail("no object of the example in:\n${compile}")
endif()
get_filename_component(objectDir ${WORK_DIR}/${CMAKE_MATCH_1} DIRECTORY)
file(MAKE_DIRECTORY ${objectDir})
qf_outside_run(compiled sh -c "${compile}")

# The outside build's libraries (quirefold/src/<folder>/lib<target>.a) are this build's.
string(REGEX MATCHALL "quirefold/src/[^ ]*\\.a" archives "${link}")
if(NOT archives)
  qf_outside_fail("the link names no library of the tree:\n${link}")
endif()
foreach(archive IN LISTS archives)
  string(REPLACE "quirefold/" "${QF_BINARY_DIR}/" built "${archive}")
  if(NOT EXISTS ${built})
    qf_outside_fail("${built} is not built")
  endif()
endforeach()
string(REPLACE " quirefold/src/" " ${QF_BINARY_DIR}/src/" link "${link}")
qf_outside_run(linked sh -c "${link}")

file(MAKE_DIRECTORY ${WORK_DIR}/out)
qf_outside_run(ran ${WORK_DIR}/rich-edit-example ${EXAMPLE_ARGS} ${WORK_DIR}/out)
message("${ran}")
