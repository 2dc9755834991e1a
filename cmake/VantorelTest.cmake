# One executable per test, registered by name from the list of its folder; it always runs
# headless. A cross build runs it through CMAKE_CROSSCOMPILING_EMULATOR (Wine for the MinGW
# build), a QtTest suite on Qt's offscreen platform.
#   add_vantorel_tests(NAME... LIBS lib... [DOCTEST] [WITH_BOXSIM] [LABELS label...] [TIMEOUT seconds])
# Each NAME is built from NAME.cpp. DOCTEST: a doctest suite, free of Qt, built for every
# platform; otherwise a QtTest suite. WITH_BOXSIM: the test talks to the simulated box.
# Natively a QtTest suite runs the box inside the test (tests/support/TestBox.h) and a doctest
# suite runs beside it (tests/support/with-boxsim.sh names its port in VANTOREL_TEST_PORT); a
# cross build starts the native VANTOREL_BOXSIM beside it, as a COM port with its control
# channel on the next one.
set(VANTOREL_TEST_OUTPUT_DIR ${CMAKE_BINARY_DIR}/tests)

set(VANTOREL_BOXSIM "" CACHE FILEPATH
  "A native vantorel-boxsim, for the tests of a cross build that talk to the simulated box")

# The environment of every test.
if(CMAKE_CROSSCOMPILING)
  # Wine hands a program no QT_ variable of the Linux side, only one spelt with WINE before
  # it. Without a console Qt on Windows writes the test log to the debugger, so it is sent
  # to the output; and Qt's offscreen platform on Windows takes its fonts from one folder:
  # Liberation's, whose Mono stands in for the window's Courier New as under Wine itself.
  find_path(VANTOREL_TEST_FONT_DIR LiberationMono-Regular.ttf
    PATHS /usr/share/fonts/truetype/liberation NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  set(VANTOREL_TEST_ENVIRONMENT
    "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
    "WINEQT_QPA_PLATFORM=offscreen"
    "WINEQT_FORCE_STDERR_LOGGING=1"
    "WINEQT_QPA_FONTDIR=Z:${VANTOREL_TEST_FONT_DIR}")
else()
  set(VANTOREL_TEST_ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endif()
if(VANTOREL_TSAN)
  # Qt itself is not instrumented: report races in the program's own code only.
  list(APPEND VANTOREL_TEST_ENVIRONMENT "TSAN_OPTIONS=ignore_noninstrumented_modules=1 die_after_fork=0")
endif()
if(VANTOREL_ASAN)
  list(APPEND VANTOREL_TEST_ENVIRONMENT "UBSAN_OPTIONS=print_stacktrace=1")
endif()

# A cross build's box test runs under Wine beside the native VANTOREL_BOXSIM: without one it
# is left out, with a word; `out` says whether it is.
function(vantorel_box_test_left_out name out)
  set(left_out FALSE)
  if(CMAKE_CROSSCOMPILING AND NOT VANTOREL_BOXSIM)
    message(WARNING "${name} left out: it runs in a cross build with VANTOREL_BOXSIM set to a "
                    "native vantorel-boxsim")
    set(left_out TRUE)
  endif()
  set(${out} ${left_out} PARENT_SCOPE)
endfunction()

# Adds to the environment list named `list_name` what a test needs to start boxes under Wine
# (tests/support/with-boxsim.sh --com, or a shell test's own): the box, and COM ports of the
# test's own from VANTOREL_TEST_COM on (two without COUNT: the box and its control channel),
# so that ctest may run the box tests side by side. Every test's ports are numbered here, from
# COM12 on.
function(vantorel_add_box_environment list_name)
  cmake_parse_arguments(B "" "COUNT" "" ${ARGN})
  if(NOT B_COUNT)
    set(B_COUNT 2)
  endif()
  get_property(com GLOBAL PROPERTY VANTOREL_NEXT_TEST_COM)
  if(NOT com)
    set(com 12)
  endif()
  math(EXPR next "${com} + ${B_COUNT}")
  set_property(GLOBAL PROPERTY VANTOREL_NEXT_TEST_COM ${next})
  set(${list_name} ${${list_name}} "VANTOREL_BOXSIM=${VANTOREL_BOXSIM}" "VANTOREL_TEST_COM=${com}"
      PARENT_SCOPE)
endfunction()

find_file(VANTOREL_DOCTEST_HEADER doctest.h
  HINTS /usr/include/doctest PATH_SUFFIXES doctest NO_CMAKE_FIND_ROOT_PATH REQUIRED)
get_filename_component(VANTOREL_DOCTEST_DIR ${VANTOREL_DOCTEST_HEADER} DIRECTORY)
add_library(vantorel_doctestmain STATIC ${PROJECT_SOURCE_DIR}/tests/support/DoctestMain.cpp)
target_include_directories(vantorel_doctestmain SYSTEM PUBLIC ${VANTOREL_DOCTEST_DIR})
target_include_directories(vantorel_doctestmain PUBLIC ${PROJECT_SOURCE_DIR}/tests/support)

function(add_vantorel_tests)
  cmake_parse_arguments(T "DOCTEST;WITH_BOXSIM" "TIMEOUT" "LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  foreach(name IN LISTS T_UNPARSED_ARGUMENTS)
    if(T_WITH_BOXSIM)
      vantorel_box_test_left_out(${name} left_out)
      if(left_out)
        continue()
      endif()
    endif()
    add_executable(${name} ${name}.cpp)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VANTOREL_TEST_OUTPUT_DIR})
    if(T_DOCTEST)
      target_link_libraries(${name} PRIVATE vantorel_doctestmain ${T_LIBS})
    else()
      target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS})
      get_target_property(qt_kind Qt6::Core TYPE)
      if(qt_kind STREQUAL "STATIC_LIBRARY")
        # A static Qt brings only the system's own platform by default.
        qt_import_plugins(${name} INCLUDE Qt6::QOffscreenIntegrationPlugin)
      endif()
    endif()
    if(T_DOCTEST AND T_WITH_BOXSIM AND NOT CMAKE_CROSSCOMPILING)
      add_dependencies(${name} vantorel-boxsim)
      add_test(NAME ${name}
        COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-boxsim.sh $<TARGET_FILE:vantorel-boxsim> $<TARGET_FILE:${name}>)
    else()
      add_test(NAME ${name} COMMAND ${name})
    endif()
    set(environment ${VANTOREL_TEST_ENVIRONMENT})
    if(T_WITH_BOXSIM AND CMAKE_CROSSCOMPILING)
      vantorel_add_box_environment(environment)
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT ${T_TIMEOUT} LABELS "${T_LABELS}")
    if(T_DOCTEST)
      set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77) # tests/support/DoctestSkip.h
    endif()
  endforeach()
endfunction()

# add_vantorel_test_with_box_process(TARGET [TIMEOUT seconds])
# Runs a native WITH_BOXSIM test once more with the box as a process of its own behind its
# control channel, the way a cross build runs it, so that way is tested without Wine too.
function(add_vantorel_test_with_box_process target)
  cmake_parse_arguments(T "" "TIMEOUT" "" ${ARGN})
  if(CMAKE_CROSSCOMPILING)
    return()
  endif()
  add_dependencies(${target} vantorel-boxsim)
  add_test(NAME ${target}_boxprocess
    COMMAND ${PROJECT_SOURCE_DIR}/tests/support/with-boxsim.sh $<TARGET_FILE:vantorel-boxsim> $<TARGET_FILE:${target}>)
  if(NOT T_TIMEOUT)
    get_test_property(${target} TIMEOUT T_TIMEOUT)
  endif()
  set_tests_properties(${target}_boxprocess PROPERTIES
    ENVIRONMENT "${VANTOREL_TEST_ENVIRONMENT}" TIMEOUT ${T_TIMEOUT} LABELS "boxprocess")
endfunction()
