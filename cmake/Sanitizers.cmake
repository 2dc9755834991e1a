# Sanitizer and fuzzing builds; each in a build folder of its own.
option(VANTOREL_TSAN "Build with ThreadSanitizer" OFF)
option(VANTOREL_ASAN "Build with AddressSanitizer and UBSan" OFF)
option(VANTOREL_FUZZ "Build the libFuzzer harnesses, with AddressSanitizer and UBSan (clang only)" OFF)

# Undefined behaviour stops the program at once, so a finding fails the run that met it.
set(VANTOREL_UBSAN_FLAGS -fsanitize=undefined -fno-sanitize-recover=undefined)

if(VANTOREL_TSAN)
  add_compile_options(-fsanitize=thread -g)
  add_link_options(-fsanitize=thread)
endif()
if(VANTOREL_ASAN OR VANTOREL_FUZZ)
  add_compile_options(-fsanitize=address ${VANTOREL_UBSAN_FLAGS} -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address ${VANTOREL_UBSAN_FLAGS})
endif()
if(VANTOREL_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VANTOREL_FUZZ needs clang: scripts/fuzz.sh builds with the release's own")
  endif()
  # Every library is instrumented for coverage; only the harness executables link libFuzzer.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
