# The Windows packages, made by CPack from the windows build:
#   quarnet-<version>-win64.zip   quarnet.exe, README-Windows.txt, LICENSE.txt
#                                 demo\ (the demo map and its picture) and
#                                 guide\ (the modder's guide in both
#                                 languages and the command-line reference
#                                 as web pages, with their pictures), in one
#                                 folder
#   quarnet-<version>-win64.exe   an installer (NSIS) of the same files, with
#                                 Start-menu entries for the program and the
#                                 Chinese guide, and an uninstaller
# The program installs itself (win32/); anything else installed into the
# package's root or its own folder lands in both packages.

# Texts with CRLF, which Notepad of older Windows wants.
configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/README-Windows.txt"
               "${PROJECT_BINARY_DIR}/README-Windows.txt" @ONLY NEWLINE_STYLE CRLF)
configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${PROJECT_BINARY_DIR}/LICENSE.txt" @ONLY NEWLINE_STYLE CRLF)
install(FILES "${PROJECT_BINARY_DIR}/README-Windows.txt" "${PROJECT_BINARY_DIR}/LICENSE.txt" DESTINATION .)
# The guide travels with the program: many users can't reach its web address.
# As web pages, since Windows opens Markdown in Notepad, as raw text without
# the pictures; the Markdown files only in a build without the pages.
include(${CMAKE_CURRENT_LIST_DIR}/GuidePages.cmake)
if(QUARNET_GUIDE_PAGES)
  install(FILES ${QUARNET_GUIDE_PAGES} ${QUARNET_GUIDE_PICTURES} DESTINATION guide)
else()
  install(FILES ${QUARNET_GUIDE_SOURCES} ${QUARNET_GUIDE_PICTURES} DESTINATION guide)
endif()
if(DEFINED QUARNET_DEMO_FILES)
  install(FILES ${QUARNET_DEMO_FILES} DESTINATION demo)
endif()

set(CPACK_GENERATOR "ZIP;NSIS")

set(CPACK_NSIS_PACKAGE_NAME Quarnet)
set(CPACK_NSIS_DISPLAY_NAME Quarnet)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quarnet)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quarnet)
# The Start-menu entry: quarnet.exe, shown with the icon linked into it.
set(CPACK_PACKAGE_EXECUTABLES quarnet Quarnet)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# And the Chinese guide, opened in the browser.
if(QUARNET_GUIDE_PAGES)
  set(CPACK_NSIS_MENU_LINKS "guide\\guide.zh-CN.html" "使用指南")
endif()
set(CPACK_NSIS_INSTALLED_ICON_NAME quarnet.exe)
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/qt/resources/quarnet.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/qt/resources/quarnet.ico")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_COMPRESSOR lzma)
# A 64-bit installer for the 64-bit program, installing into the 64-bit
# Program Files.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
