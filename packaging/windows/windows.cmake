# Windows: a windowed program (no console window) that carries the game's icon and version,
# with the C and C++ runtimes linked in so that only the SDL libraries travel beside it.
set(QUIMBO_ICON "${CMAKE_CURRENT_BINARY_DIR}/quimbo.ico" CACHE FILEPATH "The exe's icon")
# Windows wants four numbers: 1.2 becomes 1,2,0,0.
string(REGEX MATCHALL "[0-9]+" QUIMBO_RC_VERSION "${PROJECT_VERSION}.0.0.0")
list(SUBLIST QUIMBO_RC_VERSION 0 4 QUIMBO_RC_VERSION)
list(JOIN QUIMBO_RC_VERSION "," QUIMBO_RC_VERSION)
configure_file(${CMAKE_CURRENT_LIST_DIR}/quimbo.rc.in quimbo.rc @ONLY)
target_sources(quimbo PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/quimbo.rc)
set_target_properties(quimbo PROPERTIES WIN32_EXECUTABLE ON)
target_link_options(quimbo PRIVATE -static-libgcc -static-libstdc++)
