# The Linux packages: a .deb that keeps to Debian's conventions (the package
# test checks it with lintian) and a .tar.gz. Included from the top level
# before CPack itself.

set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# CPack puts the summary in front and indents the paragraphs.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [=[
Quarnet is for players who mod a strategy game. In one window it reads
and edits the terrain layer of the game's big map file, SANGO7.MPC.

Pick a map pixel, a city or a place on the map picture, and Quarnet shows
which 32 x 32 block holds it, where the block's 8-byte record lies in the
file and what terrain its code byte names. The block can be stepped in
eight directions, and a terrain code picked from the legend is written
into the file in place.

Each write changes exactly one byte and is shown as done only once that
byte is on disk.]=])
# The Qt libraries come from dpkg-shlibdeps; the platform plugins are loaded
# at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The face the window's layout was drawn for; without it the window falls
# back to the default font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming")

set(quarnet_doc_dir share/doc/quarnet)
set(quarnet_packaging_dir ${PROJECT_BINARY_DIR}/packaging)

# The copyright file in Debian's machine-readable form, made from LICENSE.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE quarnet_licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" quarnet_notice "${quarnet_licence}")
set(quarnet_holder "${CMAKE_MATCH_1}")
string(FIND "${quarnet_licence}" "Permission is hereby granted" quarnet_start)
string(SUBSTRING "${quarnet_licence}" ${quarnet_start} -1 quarnet_permission)
string(STRIP "${quarnet_permission}" quarnet_permission)
# Continuation lines start with a space; an empty one is a lone dot.
string(REPLACE "\n\n" "\n.\n" quarnet_permission "${quarnet_permission}")
string(REPLACE "\n" "\n " quarnet_permission "${quarnet_permission}")
file(WRITE ${quarnet_packaging_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Quarnet
Source: https://github.com/quarnet/quarnet

Files: *
Copyright: ${quarnet_holder}
License: Expat
 ${quarnet_permission}
")
install(FILES ${quarnet_packaging_dir}/copyright DESTINATION ${quarnet_doc_dir})
# The modder's guide in both languages and the command-line reference, with
# their pictures; their web pages in html/, each picture again beside them.
include(${CMAKE_CURRENT_LIST_DIR}/GuidePages.cmake)
install(FILES ${QUARNET_GUIDE_SOURCES} ${QUARNET_GUIDE_PICTURES} DESTINATION ${quarnet_doc_dir})
if(QUARNET_GUIDE_PAGES)
  install(FILES ${QUARNET_GUIDE_PAGES} ${QUARNET_GUIDE_PICTURES} DESTINATION ${quarnet_doc_dir}/html)
endif()

# The changelog and the manual page, compressed without a time stamp.
set(quarnet_compressed)
foreach(pair "packaging/debian/changelog:changelog.gz" "qt/resources/quarnet.1:quarnet.1.gz")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 source)
  list(GET pair 1 output)
  add_custom_command(
    OUTPUT ${quarnet_packaging_dir}/${output}
    COMMAND gzip -9 -n -c ${PROJECT_SOURCE_DIR}/${source} > ${quarnet_packaging_dir}/${output}
    DEPENDS ${PROJECT_SOURCE_DIR}/${source}
    VERBATIM)
  list(APPEND quarnet_compressed ${quarnet_packaging_dir}/${output})
endforeach()
add_custom_target(quarnet_package_docs ALL DEPENDS ${quarnet_compressed})
install(FILES ${quarnet_packaging_dir}/changelog.gz DESTINATION ${quarnet_doc_dir})
install(FILES ${quarnet_packaging_dir}/quarnet.1.gz DESTINATION share/man/man1)
