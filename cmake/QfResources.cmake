# Resources embedded into a program at build time (src/platform/base/Resources.h).
#
#   qf_embed_resources(<executable>
#     [RCDATA <name> <file> [<name> <file>]...]   RCDATA resources by name ("#5": ordinal 5)
#     [BITMAP <name> <file.bmp> [...]]              bitmap resources (the file without its header)
#     [CURSOR <name> <file.cur> [...]]              cursor resources (the cursor file whole)
#     [STRINGS <file>...]                          string tables from UTF-8 "id<TAB>text" lines
#     [VERSION [<major.minor.release.build>]])     the version resource; default PROJECT_VERSION
#
# Writes one generated source into the executable; its table registers itself when the
# program starts. Each executable is one module, so only executables take resources.
#
#   qf_library_resources(<library> <function> [BITMAP ...] [CURSOR ...] [RCDATA ...])
#     The same kinds of resources compiled into a static library as a table that
#     std::span<const TResourceEntry> <function>() returns; the library's start-up code
#     registers it (RegisterResourceTable), so every program linking it has them.

find_program(QF_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(QF_EMBED_RESOURCES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/QfEmbedResources.py)

function(qf_embed_resources target)
  get_target_property(type ${target} TYPE)
  if(NOT type STREQUAL "EXECUTABLE")
    message(FATAL_ERROR "qf_embed_resources: ${target} is not an executable")
  endif()
  qf_write_resources(${target} "" ${ARGN})
endfunction()

function(qf_library_resources target function)
  qf_write_resources(${target} ${function} ${ARGN})
endfunction()

# The generated source of qf_embed_resources and qf_library_resources: self-registering
# when function is empty.
function(qf_write_resources target function)
  cmake_parse_arguments(ARG "" "" "RCDATA;BITMAP;CURSOR;STRINGS;VERSION" ${ARGN})
  set(arguments)
  if(function)
    list(APPEND arguments --function ${function})
  endif()
  set(inputs)
  # Each kind of named resource: pairs of name and file.
  foreach(kind RCDATA BITMAP CURSOR)
    list(LENGTH ARG_${kind} pairCount)
    math(EXPR pairOdd "${pairCount} % 2")
    if(pairOdd)
      message(FATAL_ERROR "qf_embed_resources: ${kind} takes pairs of name and file")
    endif()
    string(TOLOWER ${kind} option)
    while(ARG_${kind})
      list(POP_FRONT ARG_${kind} name file)
      cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
      list(APPEND arguments --${option} ${name} ${file})
      list(APPEND inputs ${file})
    endwhile()
  endforeach()
  foreach(file IN LISTS ARG_STRINGS)
    cmake_path(ABSOLUTE_PATH file BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND arguments --strings ${file})
    list(APPEND inputs ${file})
  endforeach()
  if(ARG_VERSION)
    list(APPEND arguments --version ${ARG_VERSION})
  elseif("VERSION" IN_LIST ARG_KEYWORDS_MISSING_VALUES)
    list(APPEND arguments --version ${PROJECT_VERSION})
  endif()

  set(output ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${QF_PYTHON3} ${QF_EMBED_RESOURCES_SCRIPT} --output ${output} ${arguments}
    DEPENDS ${inputs} ${QF_EMBED_RESOURCES_SCRIPT}
    COMMENT "Embedding resources into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
  target_link_libraries(${target} PRIVATE qf_platform_base)
endfunction()
