# The download for Windows users: `cmake --build --preset release --target package` (or
# release32) makes Tamik-<version text>-win64.zip (win32 for i686) in the build directory, with
# Tamik.exe, README.txt and LICENSE.txt at the top of the archive, and a .sha256 file beside it.
# The two texts get Windows line ends, since they are read on Windows.

configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt ${CMAKE_BINARY_DIR}/package/README.txt
               @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/package/LICENSE.txt
               @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/package/README.txt ${CMAKE_BINARY_DIR}/package/LICENSE.txt
        DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(tamik_package_system win64)
else()
  set(tamik_package_system win32)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tamik)
set(CPACK_PACKAGE_VENDOR "Tamik developers")
set(CPACK_PACKAGE_VERSION ${TAMIK_VERSION_TEXT})
set(CPACK_PACKAGE_FILE_NAME Tamik-${TAMIK_VERSION_TEXT}-${tamik_package_system})
# The files at the top of the archive: unzipping it into a folder of one's choice is all there is
# to installing.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
include(CPack)
