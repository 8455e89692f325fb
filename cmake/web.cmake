# The browser build (emcmake cmake): emscripten's own GLFW, legacy GL and
# OpenAL stand in for the system libraries, the stb decoders are compiled
# from Debian's headers, and the data folder comes from a native build of the
# generator, preloaded into the page.
include(ExternalProject)

# A program that never opens a window (SKITTERBAT_HEADLESS) links neither.
set(SKITTERBAT_WINDOWED $<NOT:$<BOOL:$<TARGET_PROPERTY:SKITTERBAT_HEADLESS>>>)
add_library(glfw INTERFACE IMPORTED)
target_link_options(glfw INTERFACE $<${SKITTERBAT_WINDOWED}:-sUSE_GLFW=3>)
add_library(OpenGL::GL INTERFACE IMPORTED)
target_link_options(OpenGL::GL INTERFACE $<${SKITTERBAT_WINDOWED}:-sLEGACY_GL_EMULATION=1>)
add_library(OpenAL::OpenAL INTERFACE IMPORTED)
add_library(Threads::Threads INTERFACE IMPORTED)
set(OPENAL_INCLUDE_DIR "")
set(OPENAL_LIBRARY "")

find_path(SKITTERBAT_STB_INCLUDE stb_image.h PATHS /usr/include/stb NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(stb_decoders STATIC ${PROJECT_SOURCE_DIR}/web/stb_decoders.c ${PROJECT_SOURCE_DIR}/web/stb_deflate.c)
target_include_directories(stb_decoders SYSTEM PUBLIC ${SKITTERBAT_STB_INCLUDE})
target_compile_options(stb_decoders PRIVATE -w)
add_library(PkgConfig::STB INTERFACE IMPORTED)
target_link_libraries(PkgConfig::STB INTERFACE stb_decoders)

# The generator runs on the build machine, so it is built by the native
# compiler in a build of its own.
set(SKITTERBAT_NATIVE_BUILD ${CMAKE_BINARY_DIR}/native)
ExternalProject_Add(native_data
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${SKITTERBAT_NATIVE_BUILD}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DSKITTERBAT_TESTS=OFF
  BUILD_COMMAND ${CMAKE_COMMAND} --build ${SKITTERBAT_NATIVE_BUILD} --target data
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${SKITTERBAT_NATIVE_BUILD}/assets/data.stamp)
# The page's copy of the data, its PNGs deflated harder and its sound effects
# encoded to Ogg Vorbis for the download, split into the packages the page
# fetches: the first menu's, then play's and the sharper art levels'. The
# manifest of them all is the first script of the page's program.
find_program(SKITTERBAT_PYTHON python3 REQUIRED)
find_program(SKITTERBAT_OGGENC oggenc REQUIRED)
set(SKITTERBAT_DATA_DIR ${CMAKE_BINARY_DIR}/page-data)
set(SKITTERBAT_PACKAGES ${CMAKE_BINARY_DIR}/page-packages.json)
set(SKITTERBAT_MANIFEST_JS ${CMAKE_BINARY_DIR}/page-packages.js)
set(SKITTERBAT_DATA_STAMP ${CMAKE_BINARY_DIR}/page-data.stamp)
add_custom_command(
  OUTPUT ${SKITTERBAT_DATA_STAMP}
  COMMAND ${SKITTERBAT_PYTHON} ${PROJECT_SOURCE_DIR}/web/deflate_data.py ${SKITTERBAT_NATIVE_BUILD}/data ${SKITTERBAT_DATA_DIR}
  COMMAND ${SKITTERBAT_PYTHON} ${PROJECT_SOURCE_DIR}/web/pack_data.py ${SKITTERBAT_DATA_DIR} ${CMAKE_BINARY_DIR}
          ${SKITTERBAT_PACKAGES} ${SKITTERBAT_MANIFEST_JS} ${SKITTERBAT_OGGENC}
  COMMAND ${CMAKE_COMMAND} -E touch ${SKITTERBAT_DATA_STAMP}
  DEPENDS ${SKITTERBAT_NATIVE_BUILD}/assets/data.stamp ${PROJECT_SOURCE_DIR}/web/deflate_data.py
          ${PROJECT_SOURCE_DIR}/web/pack_data.py
  BYPRODUCTS ${SKITTERBAT_PACKAGES} ${SKITTERBAT_MANIFEST_JS} ${CMAKE_BINARY_DIR}/skitterbat.data
             ${CMAKE_BINARY_DIR}/skitterbat-play.data ${CMAKE_BINARY_DIR}/skitterbat-hd.data
             ${CMAKE_BINARY_DIR}/skitterbat-hd2.data
  COMMENT "Deflating the page's data, encoding its sounds and packing it"
  VERBATIM)
add_custom_target(page_data DEPENDS ${SKITTERBAT_DATA_STAMP})
add_dependencies(page_data native_data)

foreach(layer runtime graphics input audio host game web)
  add_subdirectory(${layer})
endforeach()
# The wasm is built for size, but for the renderer and the game, whose work
# each frame the sprite and update benchmarks measure, and the image and Ogg
# decoders, which now run while a round is played: they keep the build type's
# optimisation for speed.
foreach(library runtime input audio host skitterbat)
  target_compile_options(${library} PRIVATE -Os)
endforeach()
