# A copy of the built player beside the tests: packing a quiz into it shows what
# every packed quiz carries besides its quiz (manifest, version information, icons).
set(player_fixture ${win32_fixture_dir}/player.exe)
add_custom_command(OUTPUT ${player_fixture}
                   COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:devinette> ${player_fixture}
                   DEPENDS devinette)
add_custom_target(player_fixture DEPENDS ${player_fixture})
add_dependencies(win32_tests player_fixture)
target_link_libraries(win32_tests PRIVATE version)
