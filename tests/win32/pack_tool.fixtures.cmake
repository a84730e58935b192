# The pack tool's resource writer, tested on a template: fixtures/pack_template.dll
# carries an old quiz (PATCH and IMG resources in windres's US English) that a
# packed copy must lose, and resources of other types, names and languages that
# it must keep.

target_sources(win32_tests PRIVATE ${CMAKE_SOURCE_DIR}/pack_tool/console_window.cpp)
target_link_libraries(win32_tests PRIVATE authoring_win32)

file(CONFIGURE OUTPUT ${win32_fixture_dir}/pack_template.rc CONTENT
"#include <windows.h>
104 PATCH { \"old quiz stream\" }
105 PATCH { \"old codes stream\" }
401 IMG { \"old picture 1\" }
445 IMG { \"old picture 45\" }
10401 IMG { \"old answer picture\" }
1001 DIALOG 0, 0, 86, 100
STYLE WS_CHILD
BEGIN
END
KEEPME DATA { \"a string type and name\" }
7 RCDATA { \"an integer type, English\" }
LANGUAGE LANG_FRENCH, SUBLANG_FRENCH
7 RCDATA { \"an integer type, French\" }
")

add_resource_fixture(pack_template ${win32_fixture_dir}/pack_template.rc)
