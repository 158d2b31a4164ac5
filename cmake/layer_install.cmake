# What `cmake --install` puts under the prefix for programs built on the
# platform layer: the library, its public headers (included as in the tree,
# "os/window.h"), the shaders the renderer reads from beside the executable,
# a CMake package (find_package(FathomerLayer), target Fathomer::layer) and
# fathomer-layer.pc for pkg-config.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(fathomer_layer PROPERTIES EXPORT_NAME layer)
# A sanitised library needs its sanitisers' run-time in every program that
# links it.
if(FATHOMER_SANITIZE)
  target_link_options(fathomer_layer INTERFACE "$<INSTALL_INTERFACE:-fsanitize=address;-fsanitize=undefined>")
endif()

set(FATHOMER_LAYER_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/FathomerLayer)
set(FATHOMER_LAYER_SHADER_DIR ${CMAKE_INSTALL_DATADIR}/fathomer-layer/shaders)
install(TARGETS fathomer_layer EXPORT FathomerLayerTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT layer
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
# The backends' headers, the seam between them and the portable code, and the
# formatter's configuration (which needs stb's headers) stay inside the layer.
foreach(dir os render sound)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/${dir}/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${dir} COMPONENT layer
          FILES_MATCHING PATTERN "*.h"
          PATTERN backend.h EXCLUDE PATTERN format.h EXCLUDE
          PATTERN win32 EXCLUDE PATTERN posix EXCLUDE PATTERN sdl EXCLUDE PATTERN nodisplay EXCLUDE PATTERN web EXCLUDE)
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/shaders/ DESTINATION ${FATHOMER_LAYER_SHADER_DIR} COMPONENT layer)
install(EXPORT FathomerLayerTargets NAMESPACE Fathomer:: DESTINATION ${FATHOMER_LAYER_CMAKE_DIR} COMPONENT layer)

# The package finds again what the backends link against.
set(FATHOMER_LAYER_DEPENDENCIES "")
set(FATHOMER_LAYER_PC_REQUIRES "")
set(FATHOMER_LAYER_PC_LIBS "")
if(WIN32)
  set(FATHOMER_LAYER_PC_LIBS "-luser32 -lgdi32 -lshell32 -lole32 -luuid -lwinmm -ldsound -ldxguid")
else()
  string(APPEND FATHOMER_LAYER_DEPENDENCIES "find_dependency(Threads)\n")
  set(FATHOMER_LAYER_PC_LIBS "-pthread -ldl")
endif()
if(FATHOMER_DISPLAY STREQUAL "sdl2")
  string(APPEND FATHOMER_LAYER_DEPENDENCIES "find_dependency(SDL2)\n")
  set(FATHOMER_LAYER_PC_REQUIRES "sdl2")
endif()
set(FATHOMER_LAYER_PC_SANITIZE "")
if(FATHOMER_SANITIZE)
  set(FATHOMER_LAYER_PC_SANITIZE " -fsanitize=address,undefined")
endif()

set(gen ${CMAKE_BINARY_DIR}/gen/layer_package)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/FathomerLayerConfig.cmake.in ${gen}/FathomerLayerConfig.cmake
                              INSTALL_DESTINATION ${FATHOMER_LAYER_CMAKE_DIR} PATH_VARS FATHOMER_LAYER_SHADER_DIR)
write_basic_package_version_file(${gen}/FathomerLayerConfigVersion.cmake COMPATIBILITY SameMinorVersion)
# pkg-config finds the prefix from the file's own place, so the package can be
# installed or moved anywhere.
file(RELATIVE_PATH FATHOMER_LAYER_PC_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" FATHOMER_LAYER_PC_PREFIX ${FATHOMER_LAYER_PC_PREFIX})
configure_file(${CMAKE_CURRENT_LIST_DIR}/fathomer-layer.pc.in ${gen}/fathomer-layer.pc @ONLY)
install(FILES ${gen}/FathomerLayerConfig.cmake ${gen}/FathomerLayerConfigVersion.cmake
        DESTINATION ${FATHOMER_LAYER_CMAKE_DIR} COMPONENT layer)
install(FILES ${gen}/fathomer-layer.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT layer)
