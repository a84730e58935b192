# The start-up benchmark: a player without message loop that reports its start-up.
# scripts/bench packs quizzes into copies of it. Not a test: it is not named *_tests.
add_executable(startup_bench ${CMAKE_SOURCE_DIR}/tests/bench/startup_win32.cpp
               ${CMAKE_SOURCE_DIR}/resources/player.rc)
target_link_libraries(startup_bench PRIVATE devinette_win32)
set_target_properties(startup_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
