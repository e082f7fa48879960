# The Windows build borrows two tools that need Qt or X11 and so build only
# for Linux: the demo map writer (the packages' demo folder) and the X11 probe
# (the system tests under wine). They come from a Linux build of the same tree:
# build/default when it is configured (scripts/test.sh builds it first), else
# a small one of this build's own. Each build brings them up to date first.
set(QUARNET_HOST_BUILD_DIR "" CACHE PATH
  "A Linux build folder of this source tree to take the demo map writer and the X11 probe from (empty: build/default when configured, else one of its own)")

if(QUARNET_HOST_BUILD_DIR)
  set(quarnet_host_dir "${QUARNET_HOST_BUILD_DIR}")
elseif(EXISTS "${PROJECT_SOURCE_DIR}/build/default/CMakeCache.txt")
  set(quarnet_host_dir "${PROJECT_SOURCE_DIR}/build/default")
else()
  set(quarnet_host_dir "${PROJECT_BINARY_DIR}/host-tools")
endif()
set(QUARNET_DEMO_MAP_WRITER "${quarnet_host_dir}/qt/quarnet-make-demo-map")
set(QUARNET_X11_PROBE "${quarnet_host_dir}/tools/quarnet-x11-probe")

add_custom_target(quarnet_host_tools ALL
  COMMAND ${CMAKE_COMMAND} -D "SOURCE_DIR=${PROJECT_SOURCE_DIR}" -D "BINARY_DIR=${quarnet_host_dir}"
          -P "${CMAKE_CURRENT_LIST_DIR}/BuildHostTools.cmake"
  BYPRODUCTS "${QUARNET_DEMO_MAP_WRITER}" "${QUARNET_X11_PROBE}"
  COMMENT "Linux tools in ${quarnet_host_dir}: demo map writer, X11 probe"
  USES_TERMINAL
  VERBATIM)

# The demo map, written again whenever its writer changes.
set(QUARNET_DEMO_DIR "${PROJECT_BINARY_DIR}/demo")
set(QUARNET_DEMO_FILES "${QUARNET_DEMO_DIR}/SANGO7.MPC" "${QUARNET_DEMO_DIR}/SANGO7.0.125.jpg")
add_custom_command(OUTPUT ${QUARNET_DEMO_FILES}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${QUARNET_DEMO_FILES}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${QUARNET_DEMO_DIR}"
  COMMAND "${QUARNET_DEMO_MAP_WRITER}" "${QUARNET_DEMO_DIR}"
  DEPENDS "${QUARNET_DEMO_MAP_WRITER}"
  COMMENT "Demo map"
  VERBATIM)
add_custom_target(quarnet_demo_map ALL DEPENDS ${QUARNET_DEMO_FILES})
