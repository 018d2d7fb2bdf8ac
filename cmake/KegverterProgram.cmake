# kegverter_add_program(NAME SOURCES... [MAN page.1])
#
# One installable program: a thin main over the core library, linked statically (fully on
# Windows, the C++ runtime and pugixml elsewhere), installed with its man page and packaged by
# every package the project makes; on Windows it carries the project's version as a resource. The list of programs is the global property KEGVERTER_PROGRAMS.
include(GNUInstallDirs)

function(kegverter_add_program name)
  cmake_parse_arguments(PROGRAM "" "MAN" "" ${ARGN})
  add_executable(${name} ${PROGRAM_UNPARSED_ARGUMENTS})
  if(WIN32)
    # The project's version in the file's properties.
    set(KEGVERTER_RC_NAME ${name})
    configure_file(${CMAKE_SOURCE_DIR}/cmake/program.rc.in ${CMAKE_BINARY_DIR}/generated/${name}.rc
      @ONLY)
    target_sources(${name} PRIVATE ${CMAKE_BINARY_DIR}/generated/${name}.rc)
  endif()
  target_compile_options(${name} PRIVATE ${KEGVERTER_WARNINGS})
  target_link_libraries(${name} PRIVATE kegverter_core)
  if(NOT (KEGVERTER_SANITIZE OR KEGVERTER_FUZZ OR KEGVERTER_TSAN))
    if(WIN32)
      target_link_options(${name} PRIVATE -static)
    else()
      target_link_options(${name} PRIVATE -static-libstdc++ -static-libgcc)
    endif()
  endif()
  install(TARGETS ${name} RUNTIME DESTINATION ${KEGVERTER_INSTALL_BINDIR})
  if(PROGRAM_MAN AND NOT WIN32)
    install(FILES ${PROGRAM_MAN} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  set_property(GLOBAL APPEND PROPERTY KEGVERTER_PROGRAMS ${name})
endfunction()
