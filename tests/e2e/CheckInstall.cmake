cmake_minimum_required(VERSION 3.22)
# Installs the build into a staging prefix and checks that the program, its
# icon, its desktop entry and its metainfo land where a desktop looks, and that
# they name one another consistently.
file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${STAGE}
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(id org.oidscope.Oidscope)
foreach(path bin/oidscope share/icons/hicolor/scalable/apps/oidscope.svg
             share/applications/${id}.desktop share/metainfo/${id}.metainfo.xml)
  if(NOT EXISTS ${STAGE}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

file(STRINGS ${STAGE}/share/applications/${id}.desktop entry)
foreach(line "Exec=oidscope" "Icon=oidscope")
  if(NOT line IN_LIST entry)
    message(FATAL_ERROR "desktop entry lacks ${line}")
  endif()
endforeach()
file(READ ${STAGE}/share/metainfo/${id}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<launchable type=\"desktop-id\">${id}.desktop</launchable>")
  message(FATAL_ERROR "metainfo does not launch ${id}.desktop")
endif()
file(REMOVE_RECURSE ${STAGE})
