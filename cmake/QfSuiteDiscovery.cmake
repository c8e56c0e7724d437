# Run by CTest (script mode) before it runs anything: registers one test per GoogleTest
# suite of a test program. A suite runs in one process, so the program's start-up (the
# sanitizer runtime, Qt, the static registrations) is paid once per suite, not per case.
#
# Input variables (set by the include file qf_add_suite_tests writes):
#   QF_SUITE_PROGRAM    the test program
#   QF_SUITE_LABEL      the CTest label of its tests
#   QF_SUITE_WORKDIR    the working directory of its tests
#   QF_SUITE_EXCLUDE    GoogleTest filter patterns whose cases run elsewhere (":"-separated)
#   QF_SUITE_TESTS_FILE the generated list, remade when the program is newer

if(NOT EXISTS "${QF_SUITE_PROGRAM}")
  add_test("${QF_SUITE_LABEL}.NOT_BUILT" "${CMAKE_COMMAND}" -E echo "${QF_SUITE_PROGRAM} is not built")
  set_tests_properties("${QF_SUITE_LABEL}.NOT_BUILT" PROPERTIES LABELS "${QF_SUITE_LABEL}" WILL_FAIL TRUE)
  return()
endif()

if(NOT EXISTS "${QF_SUITE_TESTS_FILE}" OR "${QF_SUITE_PROGRAM}" IS_NEWER_THAN "${QF_SUITE_TESTS_FILE}")
  execute_process(
    COMMAND "${QF_SUITE_PROGRAM}" --gtest_list_tests
    WORKING_DIRECTORY "${QF_SUITE_WORKDIR}"
    OUTPUT_VARIABLE listing
    RESULT_VARIABLE status
    TIMEOUT 60)
  if(NOT status EQUAL 0)
    add_test("${QF_SUITE_LABEL}.LISTING_FAILED" "${QF_SUITE_PROGRAM}" --gtest_list_tests)
    set_tests_properties("${QF_SUITE_LABEL}.LISTING_FAILED" PROPERTIES LABELS "${QF_SUITE_LABEL}")
    return()
  endif()

  string(REPLACE ":" ";" exclude_patterns "${QF_SUITE_EXCLUDE}")
  set(suites)
  set(suite "")
  string(REPLACE "\n" ";" lines "${listing}")
  foreach(line IN LISTS lines)
    # "Suite.  # TypeParam = ..." opens a suite; "  Case  # GetParam() = ..." is one of its cases.
    string(REGEX REPLACE "[ \t]+#.*$" "" line "${line}")
    if(line MATCHES "^([^ ].*)\\.$")
      set(suite "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^  +(.+)$" AND suite)
      set(full "${suite}.${CMAKE_MATCH_1}")
      set(excluded FALSE)
      foreach(pattern IN LISTS exclude_patterns)
        string(REPLACE "*" "" needle "${pattern}")
        string(FIND "${full}" "${needle}" at)
        if(NOT at EQUAL -1)
          set(excluded TRUE)
        endif()
      endforeach()
      if(NOT excluded)
        list(APPEND suites "${suite}")
      endif()
    endif()
  endforeach()
  list(REMOVE_DUPLICATES suites)

  set(content "")
  foreach(suite IN LISTS suites)
    string(APPEND content
      "add_test([==[${suite}]==] [==[${QF_SUITE_PROGRAM}]==] [==[--gtest_filter=${suite}.*-${QF_SUITE_EXCLUDE}]==])\n"
      "set_tests_properties([==[${suite}]==] PROPERTIES LABELS [==[${QF_SUITE_LABEL}]==]"
      " WORKING_DIRECTORY [==[${QF_SUITE_WORKDIR}]==])\n")
  endforeach()
  file(WRITE "${QF_SUITE_TESTS_FILE}" "${content}")
endif()

include("${QF_SUITE_TESTS_FILE}")
