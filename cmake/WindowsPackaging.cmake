# The Windows packages, made by CPack from the windows build:
#   quarnet-<version>-win64.zip   quarnet.exe, README-Windows.txt, LICENSE.txt
#                                 demo\ (the demo map and its picture) and
#                                 guide\ (the modder's guide in both
#                                 languages, the command-line reference and
#                                 their pictures), in one folder
#   quarnet-<version>-win64.exe   an installer (NSIS) of the same files, with a
#                                 Start-menu entry and an uninstaller
# The program installs itself (win32/); anything else installed into the
# package's root or its own folder lands in both packages.

# Texts with CRLF, which Notepad of older Windows wants.
configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/README-Windows.txt"
               "${PROJECT_BINARY_DIR}/README-Windows.txt" @ONLY NEWLINE_STYLE CRLF)
configure_file("${PROJECT_SOURCE_DIR}/LICENSE" "${PROJECT_BINARY_DIR}/LICENSE.txt" @ONLY NEWLINE_STYLE CRLF)
install(FILES "${PROJECT_BINARY_DIR}/README-Windows.txt" "${PROJECT_BINARY_DIR}/LICENSE.txt" DESTINATION .)
# The guide travels with the program: many users can't reach its web address.
file(GLOB quarnet_guide_pictures ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.zh-CN.md ${PROJECT_SOURCE_DIR}/docs/guide.md
              ${PROJECT_SOURCE_DIR}/docs/command-line.md ${quarnet_guide_pictures}
        DESTINATION guide)
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
