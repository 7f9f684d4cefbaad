# Read by ctest each time it starts: registers one entry per GoogleTest suite
# of the test program, so that a suite's cases share one Wine process. The
# suites are listed by running the program (`program`, set by the includer:
# the emulator and the program), so a new case or suite needs no edit here.
# Cases whose full name holds Cp936 run with Wine's ANSI code page set to 936
# (GBK), in an entry named zh_CN.<suite>. A failing case is named in its
# entry's output by GoogleTest itself. Each entry runs alone: the suites share
# one screen, and many time what they see, so no build may run beside them
# either (the long soak may: it counts what is left behind, not how fast).
execute_process(COMMAND ${program} --gtest_list_tests
  OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status TIMEOUT 60)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Listing the test suites failed (${status}):\n${listing}${errors}")
endif()

# "Suite." then "  Case" lines; parameterised ones carry a "# ..." comment.
string(REGEX REPLACE "[ ]*#[^\n]*" "" listing "${listing}")
string(REPLACE "\r" "" listing "${listing}")
string(REPLACE "\n" ";" lines "${listing}")
set(cases "")
foreach(line IN LISTS lines)
  if(line MATCHES "^([^ ]+)\\.$")
    set(suite ${CMAKE_MATCH_1})
  elseif(line MATCHES "^  ([^ ]+)$")
    list(APPEND cases ${suite}.${CMAKE_MATCH_1})
  endif()
endforeach()

set(suites ${cases})
list(TRANSFORM suites REPLACE "\\.[^.]*$" "")
list(REMOVE_DUPLICATES suites)
foreach(suite IN LISTS suites)
  set(english ${cases})
  list(FILTER english INCLUDE REGEX "^${suite}\\.")
  set(chinese ${english})
  list(FILTER english EXCLUDE REGEX "Cp936")
  list(FILTER chinese INCLUDE REGEX "Cp936")
  if(english)
    add_test(${suite} ${program} --gtest_filter=${suite}.*-*Cp936*)
    set_tests_properties(${suite} PROPERTIES RUN_SERIAL TRUE)
  endif()
  if(chinese)
    # In a suite named *Cp936* every case is Chinese.
    set(filter ${suite}.*Cp936*)
    if(suite MATCHES "Cp936")
      set(filter ${suite}.*)
    endif()
    add_test(zh_CN.${suite} ${program} --gtest_filter=${filter})
    set_tests_properties(zh_CN.${suite} PROPERTIES ENVIRONMENT LC_ALL=zh_CN.UTF-8 RUN_SERIAL TRUE)
  endif()
endforeach()
