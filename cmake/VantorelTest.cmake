# add_vantorel_test(NAME SOURCES file... LIBS lib... [LABELS label...] [TIMEOUT seconds])
# One QtTest executable per test; it always runs headless.
set(VANTOREL_TEST_OUTPUT_DIR ${CMAKE_BINARY_DIR}/tests)

# The environment of every test.
set(VANTOREL_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
if(VANTOREL_TSAN)
  # Qt itself is not instrumented: report races in the program's own code only.
  list(APPEND VANTOREL_TEST_ENVIRONMENT "TSAN_OPTIONS=ignore_noninstrumented_modules=1 die_after_fork=0")
endif()
if(VANTOREL_ASAN)
  list(APPEND VANTOREL_TEST_ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1")
endif()

function(add_vantorel_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VANTOREL_TEST_OUTPUT_DIR})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${VANTOREL_TEST_ENVIRONMENT}"
    TIMEOUT ${T_TIMEOUT}
    LABELS "${T_LABELS}")
endfunction()
