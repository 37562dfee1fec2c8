# Finds FLTK as the imported target FLTK::fltk: its headers and its shared library.
#
# Neither packaged way serves: CMake's own FindFLTK sets variables only, and the package
# configuration Debian ships names its libraries by a path that does not resolve.
#
# Sets FLTK_FOUND and FLTK_VERSION.
find_path(FLTK_INCLUDE_DIR FL/Fl.H)
find_library(FLTK_LIBRARY NAMES fltk)
mark_as_advanced(FLTK_INCLUDE_DIR FLTK_LIBRARY)

if(FLTK_INCLUDE_DIR AND EXISTS "${FLTK_INCLUDE_DIR}/FL/Enumerations.H")
  file(STRINGS "${FLTK_INCLUDE_DIR}/FL/Enumerations.H" version_lines
       REGEX "^#define FL_(MAJOR|MINOR|PATCH)_VERSION[ \t]+[0-9]+")
  set(FLTK_VERSION "")
  foreach(part MAJOR MINOR PATCH)
    string(REGEX REPLACE ".*#define FL_${part}_VERSION[ \t]+([0-9]+).*" "\\1" number
                         "${version_lines}")
    string(APPEND FLTK_VERSION "${number}.")
  endforeach()
  string(REGEX REPLACE "\\.$" "" FLTK_VERSION "${FLTK_VERSION}")
endif()

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(FLTK
  REQUIRED_VARS FLTK_LIBRARY FLTK_INCLUDE_DIR
  VERSION_VAR FLTK_VERSION
  REASON_FAILURE_MESSAGE "install the Debian package libfltk1.3-dev (make install-deps does)")

if(FLTK_FOUND AND NOT TARGET FLTK::fltk)
  add_library(FLTK::fltk UNKNOWN IMPORTED)
  set_target_properties(FLTK::fltk PROPERTIES
    IMPORTED_LOCATION "${FLTK_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${FLTK_INCLUDE_DIR}")
endif()
