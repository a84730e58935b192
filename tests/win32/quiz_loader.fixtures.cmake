# The loader's fixtures: fixtures/loader_NAME.dll built from fixtures/NAME.rc, DLLs
# carrying PATCH 104 and 105 in every state the loader must handle. Their streams
# are written at build time by fixture_maker, a host tool built from the project's
# own stream writer and encoder.

find_program(DEVINETTE_HOST_CXX NAMES c++ g++ REQUIRED)

set(fixture_maker ${CMAKE_CURRENT_BINARY_DIR}/fixture_maker)
set(fixture_maker_sources
    ${CMAKE_CURRENT_LIST_DIR}/fixture_maker.cpp
    ${CMAKE_SOURCE_DIR}/quiz_data/quiz_content.cpp
    ${CMAKE_SOURCE_DIR}/quiz_data/stream_encoder.cpp
    ${CMAKE_SOURCE_DIR}/quiz_data/stream_writer.cpp)
set(fixture_maker_headers
    ${CMAKE_SOURCE_DIR}/quiz_data/quiz_content.h
    ${CMAKE_SOURCE_DIR}/quiz_data/stream_encoder.h
    ${CMAKE_SOURCE_DIR}/quiz_data/stream_writer.h)
add_custom_command(
  OUTPUT ${fixture_maker}
  COMMAND ${DEVINETTE_HOST_CXX} -std=c++17 -O1 -Wall -Wextra -Werror -finput-charset=UTF-8 -fexec-charset=CP1252
          -I${CMAKE_SOURCE_DIR} ${fixture_maker_sources} -o ${fixture_maker}
  DEPENDS ${fixture_maker_sources} ${fixture_maker_headers}
  COMMENT "Building the host tool fixture_maker"
  VERBATIM)

set(quiz_loader_streams full_quiz full_codes truncated_quiz short_codes
    undecodable empty largest_quiz oversized_quiz)
list(TRANSFORM quiz_loader_streams PREPEND ${win32_fixture_dir}/)
list(TRANSFORM quiz_loader_streams APPEND .bin)
add_custom_command(
  OUTPUT ${quiz_loader_streams}
  COMMAND ${fixture_maker} ${win32_fixture_dir}
  DEPENDS ${fixture_maker}
  COMMENT "Writing the quiz loader's PATCH streams"
  VERBATIM)
add_custom_target(quiz_loader_streams DEPENDS ${quiz_loader_streams})

foreach(fixture full_quiz undecodable_quiz truncated_quiz empty_quiz largest_quiz
        oversized_quiz codes_absent codes_empty codes_undecodable codes_short)
  add_resource_fixture(loader_${fixture} ${CMAKE_CURRENT_LIST_DIR}/fixtures/${fixture}.rc
                       DEPENDS quiz_loader_streams ${quiz_loader_streams})
endforeach()
