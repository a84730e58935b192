# IMG resources of the test executable itself: the question panel and the answer
# evaluation load pictures from the program's own module. JPEGs drawn at build
# time by ImageMagick.
#   401 to 408 and 411: 400 x 300 (fitted 360 x 270); 409: 300 x 400 (fitted 258 x 345);
#   410: none. Answer pictures 10401: 300 x 400, 10402: 400 x 300; 10403: none.

find_program(DEVINETTE_CONVERT NAMES convert REQUIRED)

set(panel_picture_dir ${win32_fixture_dir}/question_panel)
file(MAKE_DIRECTORY ${panel_picture_dir})
set(panel_landscape ${panel_picture_dir}/landscape.jpg)
set(panel_portrait ${panel_picture_dir}/portrait.jpg)
add_custom_command(
  OUTPUT ${panel_landscape} ${panel_portrait}
  COMMAND ${DEVINETTE_CONVERT} -size 400x300 xc:orange -strip -interlace none -quality 90 JPEG:${panel_landscape}
  COMMAND ${DEVINETTE_CONVERT} -size 300x400 xc:teal -strip -interlace none -quality 90 JPEG:${panel_portrait}
  COMMENT "Drawing the question panel's pictures"
  VERBATIM)
add_custom_target(question_panel_pictures DEPENDS ${panel_landscape} ${panel_portrait})

set(panel_picture_script ${panel_picture_dir}/question_panel_pictures.rc)
set(panel_picture_lines "")
foreach(id 401 402 403 404 405 406 407 408 411 10402)
  string(APPEND panel_picture_lines "${id} IMG \"${panel_landscape}\"\n")
endforeach()
foreach(id 409 10401)
  string(APPEND panel_picture_lines "${id} IMG \"${panel_portrait}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${panel_picture_script} CONTENT "${panel_picture_lines}")

target_sources(win32_tests PRIVATE ${panel_picture_script})
set_property(SOURCE ${panel_picture_script} APPEND PROPERTY OBJECT_DEPENDS ${panel_landscape} ${panel_portrait})
add_dependencies(win32_tests question_panel_pictures)
