# The workbench's record dialogs, list editors, import selectors and points table:
# the routes AddRecordRoutes registers (record_routes.h). Included by the studio's
# CMakeLists, which links the library into the server and its tests.
find_package(nlohmann_json 3 CONFIG REQUIRED)

add_library(orvale_studio_records STATIC
  ${CMAKE_CURRENT_LIST_DIR}/dialog_sessions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor_sessions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/point_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/record_routes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/web_host_services.cpp)
target_link_libraries(orvale_studio_records PUBLIC Orvale::orvale_ui nlohmann_json::nlohmann_json)
orvale_set_warnings(orvale_studio_records)
