# media_tests: the media layer's tests, in an executable of their own because the
# layer reads its media from the executable itself (type "img", id 400 + n), where
# win32_tests keeps question pictures. Its resources, made at build time:
#   401, 403, 405: a number spoken in French (espeak-ng, encoded to MP3 by lame);
#   402: none; 404: empty;
#   413, 415: one-second Motion JPEG AVI clips without sound (ffmpeg); 414: none;
# and the player's own resource script for the panel templates and the icons.

find_program(DEVINETTE_ESPEAK NAMES espeak-ng REQUIRED)
find_program(DEVINETTE_LAME NAMES lame REQUIRED)
find_program(DEVINETTE_FFMPEG NAMES ffmpeg REQUIRED)

set(media_fixture_dir ${win32_fixture_dir}/media)
file(MAKE_DIRECTORY ${media_fixture_dir})
set(media_fixture_files)
set(media_resource_lines "")

# add_spoken_media(ID WORD): resource ID, WORD spoken as MP3.
function(add_spoken_media id word)
  set(output ${media_fixture_dir}/spoken_${id}.mp3)
  add_custom_command(
    OUTPUT ${output}
    COMMAND sh -c "\"$1\" -v fr -s 150 --stdout \"$2\" | \"$3\" --quiet -b 32 -m m --resample 22.05 - \"$4\""
            spoken ${DEVINETTE_ESPEAK} ${word} ${DEVINETTE_LAME} ${output}
    COMMENT "Speaking the media fixture ${id}: ${word}"
    VERBATIM)
  set(media_fixture_files ${media_fixture_files} ${output} PARENT_SCOPE)
  set(media_resource_lines "${media_resource_lines}${id} img \"${output}\"\n" PARENT_SCOPE)
endfunction()

# add_video_media(ID COLOUR): resource ID, a clip of a COLOUR square crossing a grey ground.
function(add_video_media id colour)
  set(output ${media_fixture_dir}/clip_${id}.avi)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${DEVINETTE_FFMPEG} -loglevel error -y -f lavfi -i color=c=gray:s=64x48:d=1:r=10 -f lavfi
            -i color=c=${colour}:s=16x16:d=1:r=10 -filter_complex overlay=x=t*48:y=16 -c:v mjpeg -q:v 10 -an
            ${output}
    COMMENT "Drawing the media fixture ${id}: a ${colour} square"
    VERBATIM)
  set(media_fixture_files ${media_fixture_files} ${output} PARENT_SCOPE)
  set(media_resource_lines "${media_resource_lines}${id} img \"${output}\"\n" PARENT_SCOPE)
endfunction()

add_spoken_media(401 un)
add_spoken_media(403 trois)
add_spoken_media(405 cinq)
add_video_media(413 red)
add_video_media(415 blue)
file(CONFIGURE OUTPUT ${media_fixture_dir}/empty.bin CONTENT "")
string(APPEND media_resource_lines "404 img \"${media_fixture_dir}/empty.bin\"\n")

set(media_resource_script ${media_fixture_dir}/media_tests.rc)
file(CONFIGURE OUTPUT ${media_resource_script} CONTENT "${media_resource_lines}")
set_property(SOURCE ${media_resource_script} APPEND PROPERTY OBJECT_DEPENDS ${media_fixture_files})

file(GLOB media_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/media/*_test.cpp)
add_executable(media_tests ${media_test_sources} ${media_resource_script} ${CMAKE_SOURCE_DIR}/resources/player.rc)
target_include_directories(media_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(media_tests PRIVATE player_win32 gtest_main)
# scripts/test-windows runs every tests/*_tests.exe of the build.
set_target_properties(media_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_test(NAME media_tests COMMAND media_tests)
