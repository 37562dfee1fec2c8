# A library that shows windows with FLTK 1.3 and that the application loads when it opens one
# (the window back end, the viewer's window): shared and versioned, with the project's root as
# its include path, the toolkit and X kept private, and the connection to the display built in.
function(vantrel_add_window_library name)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;PUBLIC")
  add_library(${name} SHARED ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/platform/fltk/FltkDisplay.cpp)
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE FLTK::fltk X11::X11)
  set_target_properties(${name} PROPERTIES
    VERSION ${PROJECT_VERSION} SOVERSION ${VANTREL_SOVERSION})
  install(TARGETS ${name} LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
endfunction()
