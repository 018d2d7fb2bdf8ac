# Release packages of every program (the global property KEGVERTER_PROGRAMS) with README,
# LICENSE, the examples and, on Linux, the man pages: a .tar.gz and a .deb from a Linux build, a
# .zip from the Windows build. scripts/release.sh makes all three under build/release/.
set(CPACK_PACKAGE_NAME kegverter)
set(CPACK_PACKAGE_VENDOR "The Kegverter developers")
set(CPACK_PACKAGE_CONTACT "The Kegverter developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "Converts the files of an old brewing application to BeerXML 2.01")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
# The programs, their man pages and the documents: not the library's header and static library
# (the install component Development, which `cmake --install` adds).
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
  set(CPACK_PACKAGE_FILE_NAME kegverter-${PROJECT_VERSION}-windows-x86_64)
else()
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_SYSTEM_NAME linux-x86_64)
  set(CPACK_PACKAGE_FILE_NAME kegverter-${PROJECT_VERSION}-linux-x86_64)
  # The .deb keeps Debian's own file name (kegverter_1.1.0_amd64.deb) and installs under /usr.
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Kegverter developers")
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Kegverter reads the recipe, mash schedule, water and ingredient database files of an old\n\
desktop brewing application and writes BeerXML 2.01 documents that current brewing tools read.")
  # The C++ runtime and pugixml are linked in; what remains (the C library) is found by
  # dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The .tar.gz unpacks to bin/, share/man/ and share/doc/ under its top folder.
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagingPerGenerator.cmake)
endif()

include(CPack)
