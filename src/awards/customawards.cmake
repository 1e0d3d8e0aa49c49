# Custom awards: the definition file SAVE/VELLUM.AWD, the award list and its
# look-ups (vellum_customawards, standard library only), and the "Get award"
# dialog (vellum_customawards_windows, Qt 6 Widgets). Included by the awards
# folder's CMakeLists.txt.
set(VELLUM_CUSTOMAWARDS_DIR ${CMAKE_CURRENT_LIST_DIR})
set(VELLUM_EXAMPLE_AWARDS ${VELLUM_CUSTOMAWARDS_DIR}/../../data/VELLUM.AWD)

vellum_subsystem(customawards
  CORE ${VELLUM_CUSTOMAWARDS_DIR}/customaward.cpp ${VELLUM_CUSTOMAWARDS_DIR}/customawardfile.cpp
  CORE_LINKS vellum_logstore vellum_country
  WINDOWS ${VELLUM_CUSTOMAWARDS_DIR}/Fgetaward.cpp ${VELLUM_CUSTOMAWARDS_DIR}/Fgetaward.h
  TESTS ${VELLUM_CUSTOMAWARDS_DIR}/tests/customaward_test.cpp ${VELLUM_CUSTOMAWARDS_DIR}/tests/customawardfile_test.cpp
  WINDOW_TESTS ${VELLUM_CUSTOMAWARDS_DIR}/tests/customawardwindow_test.cpp
  DATA default_country_file
  DEFINITIONS VELLUM_EXAMPLE_AWARDS="${VELLUM_EXAMPLE_AWARDS}" VELLUM_DEFAULT_COUNTRY_FILE="${VELLUM_DEFAULT_COUNTRY_FILE}")

# The example definition file a new program directory starts with.
if(NOT VELLUM_FUZZ)
  add_custom_command(OUTPUT ${VELLUM_DEFAULT_DATA_DIR}/SAVE/VELLUM.AWD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VELLUM_DEFAULT_DATA_DIR}/SAVE
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${VELLUM_EXAMPLE_AWARDS} ${VELLUM_DEFAULT_DATA_DIR}/SAVE/VELLUM.AWD
    DEPENDS ${VELLUM_EXAMPLE_AWARDS}
    COMMENT "Copying the example custom award definitions"
    VERBATIM)
  add_custom_target(default_custom_awards ALL DEPENDS ${VELLUM_DEFAULT_DATA_DIR}/SAVE/VELLUM.AWD)
endif()

vellum_fuzz_target(awd_reader SOURCE fuzz/awd_reader.cpp LIBS vellum_customawards)
