# Qt Test executables, one per file in tests/ui/, run on the offscreen platform with HOME and the XDG
# folders inside the build tree, never the real home folder.
find_package(Qt6 REQUIRED COMPONENTS Test)
file(GLOB ui_test_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp")
foreach(source IN LISTS ui_test_sources)
  get_filename_component(name "${source}" NAME_WE)
  set(target psalmora_ui_${name})
  add_executable(${target} ${source})
  set_target_properties(${target} PROPERTIES AUTOMOC ON)
  target_link_libraries(${target} PRIVATE psalmora_ui Qt6::Test psalmora_warnings)
  target_compile_definitions(${target} PRIVATE ${PSALMORA_TEST_DEFINITIONS}
                             PSALMORA_TWO_SCREENS_CONFIG="${CMAKE_SOURCE_DIR}/tests/data/qt-offscreen-two-screens.json")
  # The synchronisation runs against a real song-management server when this build has one; the test
  # skips those cases while the binary is not built.
  if(TARGET psalmora-server)
    target_compile_definitions(${target} PRIVATE PSALMORA_SERVER_PATH="$<TARGET_FILE:psalmora-server>")
  endif()
  set(test_home "${CMAKE_CURRENT_BINARY_DIR}/ui-home/${name}")
  # Qt creates only the last level of the runtime folder itself.
  file(MAKE_DIRECTORY "${test_home}")
  add_test(NAME ui_${name} COMMAND ${target})
  set_tests_properties(ui_${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu;HOME=${test_home};XDG_CONFIG_HOME=${test_home}/config;XDG_DATA_HOME=${test_home}/data;XDG_RUNTIME_DIR=${test_home}/runtime;QTWEBENGINE_DISABLE_SANDBOX=1"
    TIMEOUT 300)
endforeach()
