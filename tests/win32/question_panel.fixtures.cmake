# IMG resources of the test executable itself: the question panel and the answer
# evaluation load pictures from the program's own module. JPEGs drawn at build
# time by ImageMagick.
#   401 to 408 and 411: 400 x 300 (fitted 360 x 270); 409: 300 x 400 (fitted 258 x 345);
#   410: none; 412: not a picture; 413: 333 x 251; 414: 40 x 30 (enlarged); 415: 2 x 900
#   (fits to nothing). Answer pictures 10401 and 10413: 300 x 400, 10402: 400 x 300; 10403: none.

find_program(DEVINETTE_CONVERT NAMES convert REQUIRED)

set(panel_picture_dir ${win32_fixture_dir}/question_panel)
file(MAKE_DIRECTORY ${panel_picture_dir})
set(panel_landscape ${panel_picture_dir}/landscape.jpg)
set(panel_portrait ${panel_picture_dir}/portrait.jpg)
set(panel_odd_pictures ${panel_picture_dir}/not_a_picture.jpg ${panel_picture_dir}/odd.jpg
    ${panel_picture_dir}/tiny.jpg ${panel_picture_dir}/thin.jpg)
add_custom_command(
  OUTPUT ${panel_landscape} ${panel_portrait} ${panel_odd_pictures}
  COMMAND ${DEVINETTE_CONVERT} -size 400x300 xc:orange -strip -interlace none -quality 90 JPEG:${panel_landscape}
  COMMAND ${DEVINETTE_CONVERT} -size 300x400 xc:teal -strip -interlace none -quality 90 JPEG:${panel_portrait}
  COMMAND ${DEVINETTE_CONVERT} -size 4x4 xc:white TXT:${panel_picture_dir}/not_a_picture.jpg
  COMMAND ${DEVINETTE_CONVERT} -size 333x251 gradient:navy-gold -strip -interlace none JPEG:${panel_picture_dir}/odd.jpg
  COMMAND ${DEVINETTE_CONVERT} -size 40x30 gradient:red-blue -strip -interlace none JPEG:${panel_picture_dir}/tiny.jpg
  COMMAND ${DEVINETTE_CONVERT} -size 2x900 xc:green -strip -interlace none JPEG:${panel_picture_dir}/thin.jpg
  COMMENT "Drawing the question panel's pictures"
  VERBATIM)
add_custom_target(question_panel_pictures DEPENDS ${panel_landscape} ${panel_portrait} ${panel_odd_pictures})

set(panel_picture_script ${panel_picture_dir}/question_panel_pictures.rc)
set(panel_picture_lines "")
foreach(id 401 402 403 404 405 406 407 408 411 10402)
  string(APPEND panel_picture_lines "${id} IMG \"${panel_landscape}\"\n")
endforeach()
foreach(id 409 10401 10413)
  string(APPEND panel_picture_lines "${id} IMG \"${panel_portrait}\"\n")
endforeach()
string(APPEND panel_picture_lines "412 IMG \"${panel_picture_dir}/not_a_picture.jpg\"\n"
       "413 IMG \"${panel_picture_dir}/odd.jpg\"\n414 IMG \"${panel_picture_dir}/tiny.jpg\"\n"
       "415 IMG \"${panel_picture_dir}/thin.jpg\"\n")
file(CONFIGURE OUTPUT ${panel_picture_script} CONTENT "${panel_picture_lines}")

target_sources(win32_tests PRIVATE ${panel_picture_script})
set_property(SOURCE ${panel_picture_script} APPEND PROPERTY OBJECT_DEPENDS ${panel_landscape} ${panel_portrait}
             ${panel_odd_pictures})
add_dependencies(win32_tests question_panel_pictures)
