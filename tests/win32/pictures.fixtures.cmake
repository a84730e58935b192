# The picture loader's fixture: fixtures/picture_fixtures.dll with IMG resources of the
# sizes the loader must fit, drawn at build time as baseline JFIF files by
# ImageMagick, plus bytes that are no picture and an empty resource.

find_program(DEVINETTE_CONVERT NAMES convert REQUIRED)

set(picture_fixture_files)
# add_fixture_jpeg(NAME WIDTHxHEIGHT COLOUR [DRAW...]): NAME.jpg of one colour,
# with ImageMagick draw primitives painted over it (fill colour first).
function(add_fixture_jpeg name size colour)
  set(drawing)
  foreach(primitive ${ARGN})
    if(primitive MATCHES "^fill ")
      string(REPLACE "fill " "" fill ${primitive})
      list(APPEND drawing -fill ${fill})
    else()
      list(APPEND drawing -draw ${primitive})
    endif()
  endforeach()
  set(output ${win32_fixture_dir}/${name}.jpg)
  add_custom_command(
    OUTPUT ${output}
    # Full-resolution colour keeps the halves' edge sharp; no interlace: baseline.
    COMMAND ${DEVINETTE_CONVERT} -size ${size} xc:${colour} ${drawing} -strip -interlace none
            -sampling-factor 1x1 -quality 95 JPEG:${output}
    COMMENT "Drawing the picture fixture ${name}.jpg"
    VERBATIM)
  set(picture_fixture_files ${picture_fixture_files} ${output} PARENT_SCOPE)
endfunction()

# Halves of known colours tell the fitted bitmap's orientation.
add_fixture_jpeg(landscape_400x300 400x300 red "fill blue" "rectangle 200,0 399,299")
add_fixture_jpeg(portrait_300x400 300x400 lime "fill blue" "rectangle 0,200 299,399")
add_fixture_jpeg(large_1000x1000 1000x1000 gray)
add_fixture_jpeg(small_100x100 100x100 yellow)
add_fixture_jpeg(box_360x345 360x345 white)

file(CONFIGURE OUTPUT ${win32_fixture_dir}/not_a_picture.bin CONTENT "Ceci n'est pas une image.\n")
file(CONFIGURE OUTPUT ${win32_fixture_dir}/empty_picture.bin CONTENT "")
file(CONFIGURE OUTPUT ${win32_fixture_dir}/picture_fixtures.rc CONTENT
"401 IMG \"landscape_400x300.jpg\"
402 IMG \"portrait_300x400.jpg\"
403 IMG \"large_1000x1000.jpg\"
404 IMG \"small_100x100.jpg\"
405 IMG \"box_360x345.jpg\"
501 IMG \"not_a_picture.bin\"
502 IMG \"empty_picture.bin\"
")

add_custom_target(picture_fixture_files DEPENDS ${picture_fixture_files})
add_resource_fixture(picture_fixtures ${win32_fixture_dir}/picture_fixtures.rc
                     DEPENDS picture_fixture_files ${picture_fixture_files})
