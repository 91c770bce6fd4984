# The Windows side of the dialog programs (included by the top-level CMakeLists.txt).
#
# suite_platform_sources(VAR): drops from the list VAR the platform parts that are not this
#   build's (*_posix.cpp on Windows, *_win32.cpp elsewhere).
# suite_windows_program(TARGET NAME DESCRIPTION ICON): on Windows, TARGET becomes the windowed
#   program NAME.exe with its icon and version information as resources and the platform
#   plugins linked in. Nothing elsewhere.
# suite_windows_qt_plugins(TARGET): the windows, offscreen and minimal platform plugins linked
#   into a static Windows Qt program (tests run on offscreen), which `make windows` builds.

set(SUITE_WINDOWS_RESOURCES ${CMAKE_CURRENT_LIST_DIR}/windows)

macro(suite_platform_sources var)
  if(WIN32)
    list(FILTER ${var} EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER ${var} EXCLUDE REGEX "_win32\\.cpp$")
  endif()
endmacro()

function(suite_windows_qt_plugins target)
  if(WIN32 AND COMMAND qt_import_plugins)
    qt_import_plugins(${target} INCLUDE Qt6::QWindowsIntegrationPlugin
                      Qt6::QOffscreenIntegrationPlugin Qt6::QMinimalIntegrationPlugin)
    # `make windows` builds every such program (the target windows_dialogs).
    set_property(GLOBAL APPEND PROPERTY SUITE_WINDOWS_DIALOGS ${target})
  endif()
endfunction()

function(suite_windows_program target name description icon)
  if(NOT WIN32)
    return()
  endif()
  set(SUITE_RC_NAME ${name})
  set(SUITE_RC_DESCRIPTION ${description})
  set(SUITE_RC_ICON ${SUITE_WINDOWS_RESOURCES}/${icon})
  set(SUITE_RC_MAJOR ${PROJECT_VERSION_MAJOR})
  set(SUITE_RC_MINOR ${PROJECT_VERSION_MINOR})
  set(SUITE_RC_VERSION ${PROJECT_VERSION})
  configure_file(${SUITE_WINDOWS_RESOURCES}/program.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${name} WIN32_EXECUTABLE ON)
  suite_windows_qt_plugins(${target})
endfunction()
