# Windows-only tests: real windows and messages under Wine.
# Resource fixtures are small DLLs whose resources the tests load by module handle.

set(win32_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/fixtures)
file(MAKE_DIRECTORY ${win32_fixture_dir})

# add_resource_fixture(NAME RC_FILE [DEPENDS generated files...]): builds
# fixtures/NAME.dll from the resource script; files named in it are looked up
# in the fixture directory of the build tree.
function(add_resource_fixture name rc_file)
  cmake_parse_arguments(FIX "" "" "DEPENDS" ${ARGN})
  add_library(${name} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/win32/fixture_stub.c ${rc_file})
  target_include_directories(${name} PRIVATE ${win32_fixture_dir})
  set_target_properties(${name} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${win32_fixture_dir}
                        LIBRARY_OUTPUT_DIRECTORY ${win32_fixture_dir})
  if(FIX_DEPENDS)
    set_source_files_properties(${rc_file} PROPERTIES OBJECT_DEPENDS "${FIX_DEPENDS}")
  endif()
  add_dependencies(win32_tests ${name})
endfunction()

file(GLOB win32_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*_test.cpp)
add_executable(win32_tests ${win32_test_sources})
target_link_libraries(win32_tests PRIVATE devinette_win32 gtest_main)
add_test(NAME win32_tests COMMAND win32_tests)

# Each area of the Win32 layer adds its fixtures in a fragment of its own.
file(GLOB win32_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.fixtures.cmake)
foreach(fragment ${win32_fragments})
  include(${fragment})
endforeach()
