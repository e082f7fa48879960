# Each library publishes its own headers and no one else's: its include root is
# a folder of the build that holds only a link to the library's source folder,
# so `#include "editor/MapEditor.h"` compiles only in targets that link the
# editor. The layers' direction is then kept by the build itself.
function(quarnet_header_root target)
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  set(root ${PROJECT_BINARY_DIR}/header-roots/${folder})
  file(MAKE_DIRECTORY ${root})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()
