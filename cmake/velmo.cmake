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

# velmo_publish(<target> <folder>...): makes each <folder> (a path from the
# source root, such as app/document) reachable through the target's own
# include root, and only through it. Sources keep writing
# #include "app/document/picture.h", but the include resolves only in targets
# that link the library publishing app/document, so a level that includes
# one above it, or a window that includes a sibling window, fails to compile.
function(velmo_publish target)
  get_target_property(type ${target} TYPE)
  set(scope PUBLIC)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  endif()
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  foreach(folder IN LISTS ARGN)
    get_filename_component(parent ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT IS_SYMLINK ${root}/${folder})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} ${scope} ${root})
endfunction()

# velmo_test(<name> SOURCES ... LIBS ...): one GoogleTest program, registered
# as one ctest test. Under the win32 build it runs through the Wine runner.
function(velmo_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  velmo_target(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} velmo_test_support velmo_gtest_main)
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

# velmo_text_art(<rc-source> <art-folder>): builds the bitmaps, icons and
# cursors drawn as text in <art-folder> (tools/make_resources.py) into the
# build folder, before <rc-source> is compiled; the rc file names them
# without a path. Sets VELMO_ART_DIR in the caller to that build folder.
function(velmo_text_art rc_source art_folder)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  file(GLOB art_sources CONFIGURE_DEPENDS ${art_folder}/*.txt)
  set(art_dir ${CMAKE_CURRENT_BINARY_DIR}/art)
  set(make_resources ${PROJECT_SOURCE_DIR}/tools/make_resources.py)
  add_custom_command(OUTPUT ${art_dir}/built.stamp
    COMMAND Python3::Interpreter ${make_resources} ${art_folder} ${art_dir}
    COMMAND ${CMAKE_COMMAND} -E touch ${art_dir}/built.stamp
    DEPENDS ${art_sources} ${make_resources}
    COMMENT "Building bitmaps, icons and cursors from the text art in ${art_folder}")
  set_source_files_properties(${rc_source} PROPERTIES OBJECT_DEPENDS ${art_dir}/built.stamp)
  set(VELMO_ART_DIR ${art_dir} PARENT_SCOPE)
endfunction()
