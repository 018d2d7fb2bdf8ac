# The core library, floor by floor. Each floor is a static library of the folders it holds and
# links the floor below it, so the programs link them in order, top floor first:
#
#   kegverter_driver      driver/                      recognition, conversion, both programs' runs
#   kegverter_beerxml2    beerxml2/  \
#   kegverter_beerxml1    beerxml1/   } side by side   one module per output format
#   kegverter_beerjson    beerjson/  /
#   kegverter_output      document/ output/            the XML toolkit; the writer interface, saving
#   kegverter_model       model/                       the brewing model
#   kegverter_source      source/                      layouts, readers, text
#   kegverter_platform    platform/                    files, terminals, Unicode
#
# A floor may include its own folders and those of the floors below, never one above or beside
# it: kegverter_floor reads every file's #include "..." lines when the build is configured and
# stops with the file and the line that runs up (or across, between the formats).

set(KEGVERTER_FLOORS "")

# kegverter_floor(NAME FOLDERS folder... [BELOW floor...] SOURCES file...)
# BELOW: the floors this one stands on directly; what they may include, it may include too.
function(kegverter_floor name)
  cmake_parse_arguments(FLOOR "" "" "FOLDERS;BELOW;SOURCES" ${ARGN})
  add_library(${name} STATIC ${FLOOR_SOURCES})
  target_compile_options(${name} PRIVATE ${KEGVERTER_WARNINGS})
  if(KEGVERTER_FUZZ)
    # Coverage feedback for the fuzzer comes from the code under test only.
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
  target_link_libraries(${name} PUBLIC ${FLOOR_BELOW})

  set(allowed ${FLOOR_FOLDERS})
  foreach(below ${FLOOR_BELOW})
    get_property(below_allowed GLOBAL PROPERTY KEGVERTER_FLOOR_${below})
    list(APPEND allowed ${below_allowed})
  endforeach()
  list(REMOVE_DUPLICATES allowed)
  set_property(GLOBAL PROPERTY KEGVERTER_FLOOR_${name} ${allowed})

  foreach(folder ${FLOOR_FOLDERS})
    file(GLOB files ${CMAKE_SOURCE_DIR}/${folder}/*.h ${CMAKE_SOURCE_DIR}/${folder}/*.cc)
    foreach(file ${files})
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
      file(STRINGS ${file} includes REGEX "^#include \"[^\"/]+/")
      foreach(line ${includes})
        string(REGEX REPLACE "^#include \"([^\"/]+)/.*" "\\1" top "${line}")
        if(NOT top IN_LIST allowed)
          file(RELATIVE_PATH shown ${CMAKE_SOURCE_DIR} ${file})
          message(FATAL_ERROR "${shown}: ${line}: the floor ${name} (${FLOOR_FOLDERS}) stands on "
            "${allowed}, not on ${top}/")
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(KEGVERTER_FLOORS ${KEGVERTER_FLOORS} ${name} PARENT_SCOPE)
endfunction()
