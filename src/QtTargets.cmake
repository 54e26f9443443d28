# Qt side of the program: platform adapters, the UI library of every subsystem, and the GUI program.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network WebEngineWidgets Multimedia MultimediaWidgets
                                          PrintSupport Svg)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

# Headers are listed too, so that AUTOMOC sees a new Q_OBJECT header in an incremental build.
file(GLOB psalmora_platform_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/platform/*.cpp"
                                                      "${CMAKE_CURRENT_SOURCE_DIR}/platform/*.h")
add_library(psalmora_platform STATIC ${psalmora_platform_sources})
target_link_libraries(psalmora_platform PUBLIC psalmora_core Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network
                                               Qt6::WebEngineWidgets Qt6::Multimedia Qt6::MultimediaWidgets
                                               Qt6::PrintSupport
                                        PRIVATE psalmora_warnings)

set(psalmora_ui_sources "")
foreach(subsystem IN LISTS PSALMORA_CORE_SUBSYSTEMS)
  file(GLOB ui_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${subsystem}/ui/*.cpp"
                                         "${CMAKE_CURRENT_SOURCE_DIR}/${subsystem}/ui/*.h")
  list(APPEND psalmora_ui_sources ${ui_sources})
endforeach()
# The stage view's window, settings and bridge (stage/ui/), on the stage library.
file(GLOB stage_ui_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/stage/ui/*.cpp"
                                            "${CMAKE_CURRENT_SOURCE_DIR}/stage/ui/*.h")
list(APPEND psalmora_ui_sources ${stage_ui_sources})
# The application shell: every file of app/ but the program's main().
file(GLOB shell_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/app/*.h")
list(REMOVE_ITEM shell_sources "${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp")
list(APPEND psalmora_ui_sources ${shell_sources})
# Every resource file under data/resources/ is built in; InitUiResources() (core/ui) registers them.
file(GLOB psalmora_ui_resources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/data/resources/*.qrc")
add_library(psalmora_ui STATIC ${psalmora_ui_sources} ${psalmora_ui_resources})
target_link_libraries(psalmora_ui PUBLIC psalmora_platform psalmora_stage PRIVATE psalmora_sword psalmora_warnings)
# The QR code of the stage address.
pkg_check_modules(PSALMORA_QRENCODE REQUIRED IMPORTED_TARGET libqrencode)
target_link_libraries(psalmora_ui PRIVATE PkgConfig::PSALMORA_QRENCODE)

add_executable(psalmora app/main.cpp)
target_link_libraries(psalmora PRIVATE psalmora_ui psalmora_warnings)
