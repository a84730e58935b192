# The player's own resource script in the test executable: tests create the
# panels from templates 1001 and 1002 and load icons 1004, 1005 and cursor 1003.
target_sources(win32_tests PRIVATE ${player_resource_script})
set_property(SOURCE ${player_resource_script} APPEND PROPERTY OBJECT_DEPENDS ${player_resource_files})
