# The shape of a subsystem folder in one place: its core library (standard
# library only), its window library (Qt 6 Widgets), its GoogleTest binary and
# its window test binary, with the dependencies between them written out.
#
# vellum_subsystem(<name>
#   CORE <sources...>              core library vellum_<name>: no file with the window prefix F
#   [CORE_LINKS <libraries...>]    the core libraries it uses
#   [WINDOWS <sources...>]         window library vellum_<name>_windows (AUTOMOC): F files only;
#                                  links vellum_<name> and Qt6::Widgets
#   [WINDOW_LINKS <libraries...>]  further libraries of the windows
#   [TESTS <sources...>]           GoogleTest binary <name>_tests: links vellum_<name> and vellum_testsupport
#   [TEST_LINKS <libraries...>]
#   [WINDOW_TESTS <sources...>]    window test binary <name>_window_tests: links the window library and
#                                  vellum_testsupport_windows (the Qt test main), runs on the offscreen platform
#   [WINDOW_TEST_LINKS <libraries...>]
#   [SERIAL_WINDOW_TESTS]          the window tests run one at a time (they drive the whole program)
#   [DATA <targets...>]            what the tests need built first (default data files, vellum-cli);
#                                  targets this build tree does not have are left out
#   [DEFINITIONS <definitions...>] compile definitions of both test binaries)
#
# The pieces are functions of their own for folders that hold more than one
# library or test binary: vellum_core_library, vellum_window_library,
# vellum_tests and vellum_window_tests.
#
# Every library includes headers as "<folder>/<header>" from src/. Which of them
# a file may use is what its target links: the layering test (check_layering.py,
# run by ctest) reads the targets, their folders, sources and links from
# layering-manifest.txt, written here at the end of configuring.

set(VELLUM_SOURCE_ROOT ${PROJECT_SOURCE_DIR}/src)

# Fails configuring when a source's name does not fit its layer: window sources
# carry the prefix F, core sources never do.
function(_vellum_check_prefixes library layer)
  foreach(source IN LISTS ARGN)
    get_filename_component(name ${source} NAME)
    string(REGEX MATCH "^F[a-z]" window "${name}")
    if(layer STREQUAL "core" AND window)
      message(FATAL_ERROR "${library}: ${source} has the window prefix F but is a core source")
    elseif(layer STREQUAL "windows" AND NOT window)
      message(FATAL_ERROR "${library}: ${source} is a window source without the window prefix F")
    endif()
  endforeach()
endfunction()

# One static library of a layer ("core" or "windows"): its sources, src/ as the
# include root, the libraries it links.
function(_vellum_library library layer)
  cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
  _vellum_check_prefixes(${library} ${layer} ${L_SOURCES})
  add_library(${library} STATIC ${L_SOURCES})
  target_include_directories(${library} PUBLIC ${VELLUM_SOURCE_ROOT})
  if(L_LINKS)
    target_link_libraries(${library} PUBLIC ${L_LINKS})
  endif()
endfunction()

# vellum_core_library(<library> SOURCES <sources...> [LINKS <libraries...>])
function(vellum_core_library library)
  _vellum_library(${library} core ${ARGN})
endfunction()

# vellum_window_library(<library> SOURCES <sources...> [LINKS <libraries...>]): with
# Qt6::Widgets and AUTOMOC; nothing without VELLUM_GUI.
function(vellum_window_library library)
  if(NOT VELLUM_GUI)
    return()
  endif()
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  _vellum_library(${library} windows ${ARGN})
  set_target_properties(${library} PROPERTIES AUTOMOC ON)
  target_link_libraries(${library} PUBLIC Qt6::Widgets)
endfunction()

# Makes target depend on data once every folder is read (vellum-cli and the
# default data files are defined in folders that come later).
function(_vellum_depend_on_data target)
  foreach(data IN LISTS ARGN)
    # Deferred arguments are read when the call runs: EVAL puts the names in now.
    cmake_language(EVAL CODE
      "cmake_language(DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]] CALL _vellum_add_data_dependency [[${target}]] [[${data}]])")
  endforeach()
endfunction()

function(_vellum_add_data_dependency target data)
  if(TARGET ${data})
    add_dependencies(${target} ${data})
  endif()
endfunction()

# vellum_tests(<binary> SOURCES <sources...> LINKS <libraries...> [DATA <targets...>] [DEFINITIONS <definitions...>])
function(vellum_tests binary)
  cmake_parse_arguments(T "" "" "SOURCES;LINKS;DATA;DEFINITIONS" ${ARGN})
  if(NOT VELLUM_TESTS)
    return()
  endif()
  vellum_add_test(${binary} SOURCES ${T_SOURCES} LIBS ${T_LINKS} vellum_testsupport)
  if(T_DEFINITIONS)
    target_compile_definitions(${binary} PRIVATE ${T_DEFINITIONS})
  endif()
  _vellum_depend_on_data(${binary} ${T_DATA})
endfunction()

# vellum_window_tests(<binary> SOURCES <sources...> LINKS <libraries...> [DATA ...] [DEFINITIONS ...] [SERIAL])
function(vellum_window_tests binary)
  cmake_parse_arguments(T "SERIAL" "" "SOURCES;LINKS;DATA;DEFINITIONS" ${ARGN})
  if(NOT VELLUM_TESTS OR NOT VELLUM_GUI)
    return()
  endif()
  find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
  add_executable(${binary} ${T_SOURCES})
  target_link_libraries(${binary} PRIVATE ${T_LINKS} vellum_testsupport_windows)
  target_compile_definitions(${binary} PRIVATE VELLUM_SOURCE_DIR="${PROJECT_SOURCE_DIR}" ${T_DEFINITIONS})
  _vellum_depend_on_data(${binary} ${T_DATA})
  set(serial "")
  if(T_SERIAL)
    set(serial RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${binary} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" ${serial})
endfunction()

function(vellum_subsystem name)
  cmake_parse_arguments(S "SERIAL_WINDOW_TESTS" ""
    "CORE;CORE_LINKS;WINDOWS;WINDOW_LINKS;TESTS;TEST_LINKS;WINDOW_TESTS;WINDOW_TEST_LINKS;DATA;DEFINITIONS" ${ARGN})
  set(core vellum_${name})
  vellum_core_library(${core} SOURCES ${S_CORE} LINKS ${S_CORE_LINKS})
  if(S_WINDOWS)
    vellum_window_library(${core}_windows SOURCES ${S_WINDOWS} LINKS ${core} ${S_WINDOW_LINKS})
  endif()
  if(S_TESTS)
    vellum_tests(${name}_tests SOURCES ${S_TESTS} LINKS ${core} ${S_TEST_LINKS}
                 DATA ${S_DATA} DEFINITIONS ${S_DEFINITIONS})
  endif()
  if(S_WINDOW_TESTS)
    set(serial "")
    if(S_SERIAL_WINDOW_TESTS)
      set(serial SERIAL)
    endif()
    vellum_window_tests(${name}_window_tests SOURCES ${S_WINDOW_TESTS} LINKS ${core}_windows ${S_WINDOW_TEST_LINKS}
                        DATA ${S_DATA} DEFINITIONS ${S_DEFINITIONS} ${serial})
  endif()
endfunction()

# Every library and program of the build with its folder, its sources and the
# libraries it links, one per line ("target|kind|folder|source,...|link,..."),
# for the layering test.
function(_vellum_collect_targets directory out)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  set(lines "")
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(folder ${target} SOURCE_DIR)
    get_target_property(sources ${target} SOURCES)
    get_target_property(links ${target} LINK_LIBRARIES)
    set(absolute "")
    foreach(source IN LISTS sources)
      get_filename_component(path ${source} ABSOLUTE BASE_DIR ${folder})
      list(APPEND absolute ${path})
    endforeach()
    if(NOT links)
      set(links "")
    endif()
    # One line per target: the lists inside are joined with commas.
    string(REPLACE ";" "," absolute "${absolute}")
    string(REPLACE ";" "," links "${links}")
    list(APPEND lines "${target}|${type}|${folder}|${absolute}|${links}")
  endforeach()
  foreach(subdirectory IN LISTS subdirectories)
    _vellum_collect_targets(${subdirectory} more)
    list(APPEND lines ${more})
  endforeach()
  set(${out} ${lines} PARENT_SCOPE)
endfunction()

function(vellum_write_layering_manifest)
  _vellum_collect_targets(${PROJECT_SOURCE_DIR} lines)
  list(JOIN lines "\n" text)
  file(WRITE ${PROJECT_BINARY_DIR}/layering-manifest.txt "${text}\n")
endfunction()
