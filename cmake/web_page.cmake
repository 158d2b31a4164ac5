# The game as a page: fathomer.js, fathomer.wasm and fathomer.data (the
# shaders and the game's data, preloaded into the page's file system at its
# root, where the program finds them beside itself), with the page's own
# files beside them in build/web/.
set(FATHOMER_WEB_DIR ${CMAKE_BINARY_DIR})
# The data directory the page carries (img/, audio/ and the manifest that
# names the files it was made from): the game's data with the music as Ogg
# Vorbis (tools/web_data/).
set(FATHOMER_WEB_PRELOAD ${CMAKE_BINARY_DIR}/web_data CACHE PATH "Data directory the page preloads")

# A program of the tree as a page's script, its data preloaded; extra
# arguments are further --preload-file pairs.
file(GLOB FATHOMER_WEB_SHADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shaders/*)
function(fathomer_web_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${FATHOMER_WEB_DIR} SUFFIX .js)
  set(extra)
  foreach(pair ${ARGN})
    list(APPEND extra "SHELL:--preload-file ${pair}")
  endforeach()
  target_link_options(${target} PRIVATE
    -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=134217728
    -sEXIT_RUNTIME=0
    -sEXPORTED_RUNTIME_METHODS=[FS,addRunDependency,removeRunDependency]
    "SHELL:--preload-file ${FATHOMER_WEB_PRELOAD}/img@/img"
    "SHELL:--preload-file ${FATHOMER_WEB_PRELOAD}/audio@/audio"
    "SHELL:--preload-file ${FATHOMER_WEB_PRELOAD}/data_manifest.txt@/data_manifest.txt"
    "SHELL:--preload-file ${CMAKE_SOURCE_DIR}/shaders@/shaders"
    ${extra})
  add_dependencies(${target} fathomer_web_data)
  # The preloaded files are read at link time: changed data links again.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${FATHOMER_WEB_SHADERS}
               ${FATHOMER_WEB_PRELOAD}/data_manifest.txt)
endfunction()
fathomer_web_program(fathomer)

set(FATHOMER_PAGE_FILES index.html page.js page.css)
set(FATHOMER_PAGE_OUTPUTS ${FATHOMER_PAGE_FILES})
list(TRANSFORM FATHOMER_PAGE_OUTPUTS PREPEND ${FATHOMER_WEB_DIR}/)
set(FATHOMER_PAGE_SOURCES ${FATHOMER_PAGE_FILES})
list(TRANSFORM FATHOMER_PAGE_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/web/)
add_custom_command(OUTPUT ${FATHOMER_PAGE_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E copy ${FATHOMER_PAGE_SOURCES} ${FATHOMER_WEB_DIR}/
  DEPENDS ${FATHOMER_PAGE_SOURCES}
  COMMENT "Copying the page"
  VERBATIM)
add_custom_target(fathomer_page ALL DEPENDS ${FATHOMER_PAGE_OUTPUTS})
