# Project-wide helpers: warnings, sanitizers and test registration.

set(VELMO_WARNINGS -Wall -Wextra -Werror)

if(VELMO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VELMO_FUZZ)
  # Coverage for every library, not only the fuzz target's own file, so that
  # libFuzzer sees the branches of the readers it drives.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# velmo_target(<target>): applies the project's warning flags.
function(velmo_target target)
  target_compile_options(${target} PRIVATE ${VELMO_WARNINGS})
endfunction()

# velmo_test(<name> SOURCES ... LIBS ...): one GoogleTest program, registered
# as one ctest test. Under the win32 build it runs through the Wine runner.
function(velmo_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  velmo_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} velmo_gtest_main)
  if(NOT VELMO_WIN32)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  elseif(VELMO_WINE_TESTS)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED wine
      RESOURCE_LOCK wine_display
      ENVIRONMENT "VELMO_BUILD_DIR=${CMAKE_BINARY_DIR}")
  endif()
endfunction()
