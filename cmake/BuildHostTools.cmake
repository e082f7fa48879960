# cmake -D SOURCE_DIR=... -D BINARY_DIR=... -P BuildHostTools.cmake
# Configures a Linux build of the tree when the folder holds none (the tools
# alone: no tests, no benchmarks, no guide pages), then builds the two tools
# in it.
if(NOT EXISTS "${BINARY_DIR}/CMakeCache.txt")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${BINARY_DIR}" -G Ninja
            -D CMAKE_BUILD_TYPE=Release -D QUARNET_BUILD_TESTS=OFF -D QUARNET_BUILD_BENCHMARKS=OFF
            -D QUARNET_BUILD_GUIDE_PAGES=OFF
    COMMAND_ERROR_IS_FATAL ANY)
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" --build "${BINARY_DIR}" --target quarnet-make-demo-map quarnet-x11-probe
  COMMAND_ERROR_IS_FATAL ANY)
