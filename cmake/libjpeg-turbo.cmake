# libjpeg-turbo decodes photographs small, scaled in the compressed domain.
# Debian has no mingw-w64 build of it: scripts/setup fetches its Debian source
# package into build/sources/, and its static library alone is built here by the
# same compilers as the rest, into third_party/libjpeg-turbo/{include,lib}.
# Gives the imported target libjpeg_turbo.
include(ExternalProject)
file(GLOB libjpeg_turbo_source LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/build/sources/libjpeg-turbo-*)
if(NOT libjpeg_turbo_source)
  message(FATAL_ERROR "libjpeg-turbo's source is missing from build/sources/: run scripts/setup")
endif()
list(GET libjpeg_turbo_source 0 libjpeg_turbo_source)
set(libjpeg_turbo_dir ${CMAKE_BINARY_DIR}/third_party/libjpeg-turbo)
if(MSVC)
  set(libjpeg_turbo_built jpeg-static.lib)
else()
  set(libjpeg_turbo_built libjpeg.a)
endif()
set(libjpeg_turbo_library ${libjpeg_turbo_dir}/lib/${libjpeg_turbo_built})
# No SIMD: scaled decoding spends its time in the Huffman decoder, which is C
# anyway. A fixed build string keeps the library the same bytes on every build.
ExternalProject_Add(libjpeg_turbo_build
  SOURCE_DIR ${libjpeg_turbo_source}
  BINARY_DIR ${libjpeg_turbo_dir}/build
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
             -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_POSITION_INDEPENDENT_CODE=ON -DENABLE_SHARED=OFF
             -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DBUILD=20230208 -DCMAKE_INSTALL_PREFIX=${libjpeg_turbo_dir}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${libjpeg_turbo_dir}/include ${libjpeg_turbo_dir}/lib
          COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/jconfig.h <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h
                  <SOURCE_DIR>/jerror.h ${libjpeg_turbo_dir}/include
          COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/${libjpeg_turbo_built} ${libjpeg_turbo_dir}/lib
  BUILD_BYPRODUCTS ${libjpeg_turbo_library})
file(MAKE_DIRECTORY ${libjpeg_turbo_dir}/include)
add_library(libjpeg_turbo STATIC IMPORTED GLOBAL)
set_target_properties(libjpeg_turbo PROPERTIES IMPORTED_LOCATION ${libjpeg_turbo_library}
                                               INTERFACE_INCLUDE_DIRECTORIES ${libjpeg_turbo_dir}/include)
add_dependencies(libjpeg_turbo libjpeg_turbo_build)
