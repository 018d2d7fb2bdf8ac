# The library for other programs (include/kegverter/kegverter.h): what `cmake --install` adds to
# the programs, as the install component Development, which the release packages leave out
# (Packaging.cmake):
#   include/kegverter/kegverter.h       the public header, the only one
#   lib/libkegverter.a                  the core library (static; it needs pugixml)
#   lib/cmake/kegverter/                find_package(kegverter) and the target kegverter::kegverter,
#                                       where pugixml is the system's (not the vendored copy)
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# One archive of every floor's objects, so that a program outside the build links one library.
set(KEGVERTER_FLOOR_OBJECTS "")
foreach(floor ${KEGVERTER_FLOORS})
  list(APPEND KEGVERTER_FLOOR_OBJECTS $<TARGET_OBJECTS:${floor}>)
endforeach()
add_library(kegverter_library STATIC ${KEGVERTER_FLOOR_OBJECTS})
target_include_directories(kegverter_library INTERFACE
  $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_link_libraries(kegverter_library INTERFACE pugixml::static Threads::Threads)
set_target_properties(kegverter_library PROPERTIES OUTPUT_NAME kegverter EXPORT_NAME kegverter)
install(TARGETS kegverter_library EXPORT kegverter-targets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
install(FILES ${CMAKE_SOURCE_DIR}/include/kegverter/kegverter.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kegverter COMPONENT Development)

if(NOT KEGVERTER_VENDORED_PUGIXML)
  set(KEGVERTER_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/kegverter)
  install(EXPORT kegverter-targets NAMESPACE kegverter:: DESTINATION ${KEGVERTER_PACKAGE_DIR}
    COMPONENT Development)
  configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/kegverter-config.cmake.in
    ${CMAKE_BINARY_DIR}/generated/kegverter-config.cmake
    INSTALL_DESTINATION ${KEGVERTER_PACKAGE_DIR})
  write_basic_package_version_file(${CMAKE_BINARY_DIR}/generated/kegverter-config-version.cmake
    COMPATIBILITY SameMinorVersion)
  install(FILES ${CMAKE_BINARY_DIR}/generated/kegverter-config.cmake
    ${CMAKE_BINARY_DIR}/generated/kegverter-config-version.cmake
    DESTINATION ${KEGVERTER_PACKAGE_DIR} COMPONENT Development)
endif()
