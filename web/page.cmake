# The page: skitterbat.js, .wasm and .data from the same game and framework,
# with the browser's platform and entry, beside the page shell and the art
# level packages.
add_executable(skitterbat ${PROJECT_SOURCE_DIR}/host/web_main.cpp ${PROJECT_SOURCE_DIR}/host/web_platform.cpp
  ${PROJECT_SOURCE_DIR}/host/web_packages.cpp)
target_link_libraries(skitterbat PRIVATE host game)
set_target_properties(skitterbat PROPERTIES SUFFIX .js LINK_DEPENDS ${SKITTERBAT_DATA_STAMP})
add_dependencies(skitterbat page_data)
target_link_options(skitterbat PRIVATE
  -O2 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sFORCE_FILESYSTEM=1 -lidbfs.js
  "SHELL:--preload-file ${SKITTERBAT_DATA_DIR}@/data"
  "SHELL:--preload-file ${SKITTERBAT_PACKAGES}@/packages.json")

foreach(file index.html page.js)
  configure_file(${PROJECT_SOURCE_DIR}/web/${file} ${CMAKE_BINARY_DIR}/${file} COPYONLY)
endforeach()
