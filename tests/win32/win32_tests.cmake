# Windows-only tests: real windows and messages under Wine.
# Resource fixtures are small DLLs whose resources the tests load by module handle.

set(win32_fixture_dir ${CMAKE_CURRENT_BINARY_DIR}/fixtures)
set(win32_fixture_stub ${CMAKE_CURRENT_LIST_DIR}/fixture_stub.c)
file(MAKE_DIRECTORY ${win32_fixture_dir})

# add_resource_fixture(NAME RC_FILE [DEPENDS files or targets...]): builds
# fixtures/NAME.dll, beside the test executable, from the resource script; files
# named in the script are looked up in the fixture directory of the build tree,
# where generated files go. DEPENDS names what must exist before the script compiles.
function(add_resource_fixture name rc_file)
  cmake_parse_arguments(FIX "" "" "DEPENDS" ${ARGN})
  add_library(${name} SHARED ${win32_fixture_stub} ${rc_file})
  target_include_directories(${name} PRIVATE ${win32_fixture_dir})
  set_target_properties(${name} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${win32_fixture_dir}
                        LIBRARY_OUTPUT_DIRECTORY ${win32_fixture_dir})
  foreach(dependency ${FIX_DEPENDS})
    if(TARGET ${dependency})
      add_dependencies(${name} ${dependency})
    else()
      set_property(SOURCE ${rc_file} APPEND PROPERTY OBJECT_DEPENDS ${dependency})
    endif()
  endforeach()
  add_dependencies(win32_tests ${name})
endfunction()

file(GLOB win32_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(win32_tests ${win32_test_sources})
target_link_libraries(win32_tests PRIVATE player_win32 gtest_main)
add_test(NAME win32_tests COMMAND win32_tests)

# Each area of the Win32 layer adds its fixtures in a fragment of its own.
file(GLOB win32_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.fixtures.cmake)
foreach(fragment ${win32_fragments})
  include(${fragment})
endforeach()
