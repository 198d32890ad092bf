# The game's program for the browser: quimbo.js, quimbo.wasm and quimbo.data, from the game
# library and the web entry (main.cpp here), which takes the place of src/main.cpp.
add_executable(quimbo ${PROJECT_SOURCE_DIR}/packaging/web/main.cpp)
target_link_libraries(quimbo PRIVATE quimbogame)
set(QUIMBO_WEB_DIR ${PROJECT_SOURCE_DIR}/packaging/web)
if(NOT QUIMBO_WEB_DATA)
  set(QUIMBO_WEB_DATA ${PROJECT_SOURCE_DIR}/Data)
endif()
target_link_options(quimbo PRIVATE
  # Only the real libraries: emcc would otherwise fill any missing SDL function with its own
  # JavaScript SDL, which draws and sounds differently.
  -sAUTO_JS_LIBRARIES=0 -lGL -lEGL
  # The JavaScript helpers SDL2 calls, which Emscripten adds only for its own SDL2.
  "-sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${QUIMBO_WEB_DIR}/sdl2-library-funcs.json"
  -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=web
  # A delay in a browser frame spins: the web entry's __wrap_SDL_Delay takes every call.
  -Wl,--wrap=SDL_Delay
  # Data/ becomes quimbo.data, unpacked into the program's own file system before main().
  # The web build passes its own copy (QUIMBO_WEB_DATA), whose fonts carry only the glyphs
  # the game draws.
  "--preload-file" "${QUIMBO_WEB_DATA}@/Data")
set_property(TARGET quimbo APPEND PROPERTY LINK_DEPENDS
  ${QUIMBO_WEB_DIR}/sdl2-library-funcs.json)
# The Data folder is packed at link time: a changed picture or sound links again.
file(GLOB_RECURSE QUIMBO_DATA_FILES CONFIGURE_DEPENDS ${QUIMBO_WEB_DATA}/*)
set_property(TARGET quimbo APPEND PROPERTY LINK_DEPENDS ${QUIMBO_DATA_FILES})
# A profiling build (WEB_PROFILING=1 packaging/web/build-web) keeps the wasm's function names, so
# that a browser's CPU profile names the game's and SDL's functions.
option(QUIMBO_WEB_PROFILING "Keep the wasm's function names for profiling" OFF)
if(QUIMBO_WEB_PROFILING)
  target_link_options(quimbo PRIVATE --profiling-funcs)
endif()
