# Custom awards: the definition file SAVE/VELLUM.AWD, the award list and its
# look-ups (vellum_customawards, standard library only), and the "Get award"
# dialog (vellum_customawards_windows, Qt 6 Widgets). Included by the awards
# folder's CMakeLists.txt.
set(VELLUM_CUSTOMAWARDS_DIR ${CMAKE_CURRENT_LIST_DIR})

add_library(vellum_customawards STATIC
  ${VELLUM_CUSTOMAWARDS_DIR}/customaward.cpp ${VELLUM_CUSTOMAWARDS_DIR}/customawardfile.cpp)
target_include_directories(vellum_customawards PUBLIC ${VELLUM_CUSTOMAWARDS_DIR}/..)
target_link_libraries(vellum_customawards PUBLIC vellum_logstore vellum_country)

if(VELLUM_GUI)
  find_package(Qt6 REQUIRED COMPONENTS Widgets)
  add_library(vellum_customawards_windows STATIC
    ${VELLUM_CUSTOMAWARDS_DIR}/Fgetaward.cpp ${VELLUM_CUSTOMAWARDS_DIR}/Fgetaward.h)
  set_target_properties(vellum_customawards_windows PROPERTIES AUTOMOC ON)
  target_link_libraries(vellum_customawards_windows PUBLIC vellum_customawards Qt6::Widgets)
endif()

# The example definition file a new program directory starts with.
if(NOT VELLUM_FUZZ)
  set(VELLUM_EXAMPLE_AWARDS ${VELLUM_CUSTOMAWARDS_DIR}/../../data/VELLUM.AWD)
  add_custom_command(OUTPUT ${VELLUM_DEFAULT_DATA_DIR}/SAVE/VELLUM.AWD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELLUM_DEFAULT_DATA_DIR}/SAVE
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VELLUM_EXAMPLE_AWARDS} ${VELLUM_DEFAULT_DATA_DIR}/SAVE/VELLUM.AWD
    DEPENDS ${VELLUM_EXAMPLE_AWARDS}
    COMMENT "Copying the example custom award definitions"
    VERBATIM)
  add_custom_target(default_custom_awards ALL DEPENDS ${VELLUM_DEFAULT_DATA_DIR}/SAVE/VELLUM.AWD)
endif()

vellum_fuzz_target(awd_reader SOURCE fuzz/awd_reader.cpp LIBS vellum_customawards)

if(VELLUM_TESTS)
  vellum_add_test(customaward_tests
    SOURCES ${VELLUM_CUSTOMAWARDS_DIR}/tests/customaward_test.cpp ${VELLUM_CUSTOMAWARDS_DIR}/tests/customawardfile_test.cpp
    LIBS vellum_customawards vellum_testsupport)
  target_compile_definitions(customaward_tests PRIVATE
    VELLUM_EXAMPLE_AWARDS="${VELLUM_EXAMPLE_AWARDS}" VELLUM_DEFAULT_COUNTRY_FILE="${VELLUM_DEFAULT_COUNTRY_FILE}")
  if(TARGET default_country_file)
    add_dependencies(customaward_tests default_country_file)
  endif()
  if(VELLUM_GUI)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(customaward_window_tests ${VELLUM_CUSTOMAWARDS_DIR}/tests/customawardwindow_test.cpp)
    target_link_libraries(customaward_window_tests PRIVATE vellum_customawards_windows vellum_testsupport_windows)
    gtest_discover_tests(customaward_window_tests DISCOVERY_TIMEOUT 60
                         PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endif()
