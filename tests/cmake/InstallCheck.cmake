# Installs the built program into a fresh prefix and checks that a desktop
# finds it: the program, the help pages where the installed program looks
# for them, the menu entry and its icon.
#   cmake -DBUILD_DIR=... -DPREFIX=... -DHELP_FROM_BINDIR=... -P InstallCheck.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE installed OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${out}")
endif()

set(problems)
macro(need condition what)
  if(NOT (${condition}))
    list(APPEND problems "${what}")
  endif()
endmacro()

set(program ${PREFIX}/bin/parlova)
need("EXISTS ${program} AND NOT IS_DIRECTORY ${program}" "no program at bin/parlova")
file(GLOB pages ${PREFIX}/share/parlova/help/*.html)
list(LENGTH pages page_count)
need("page_count GREATER 1" "no help pages in share/parlova/help")
# The path the program computes from its own folder leads to the same pages.
get_filename_component(help_seen ${PREFIX}/bin/${HELP_FROM_BINDIR} ABSOLUTE)
need("EXISTS ${help_seen}/index.html" "the installed program would look for help in ${help_seen}")
need("NOT EXISTS ${PREFIX}/bin/help" "help pages installed beside the program")

set(entry ${PREFIX}/share/applications/parlova.desktop)
need("EXISTS ${entry}" "no menu entry share/applications/parlova.desktop")
if(EXISTS ${entry})
  file(STRINGS ${entry} lines)
  list(GET lines 0 group)
  need("group STREQUAL \"[Desktop Entry]\"" "the entry does not begin with [Desktop Entry]")
  foreach(line "Type=Application" "Name=Parlova" "Icon=parlova" "Terminal=false")
    need("\"${line}\" IN_LIST lines" "the entry lacks ${line}")
  endforeach()
  # Exec names a program on the PATH of the prefix, with the files it opens.
  list(FILTER lines INCLUDE REGEX "^Exec=")
  need("lines STREQUAL \"Exec=parlova %F\"" "the entry's Exec is '${lines}'")
  find_program(validate desktop-file-validate)
  if(validate)
    execute_process(COMMAND ${validate} ${entry} RESULT_VARIABLE valid OUTPUT_VARIABLE why ERROR_VARIABLE why)
    need("valid EQUAL 0" "desktop-file-validate: ${why}")
  endif()
endif()

set(icon ${PREFIX}/share/icons/hicolor/scalable/apps/parlova.svg)
need("EXISTS ${icon}" "no icon share/icons/hicolor/scalable/apps/parlova.svg")
if(EXISTS ${icon})
  file(READ ${icon} svg)
  need("svg MATCHES \"<svg[^>]*viewBox\"" "the icon is no scalable SVG")
endif()

if(problems)
  list(JOIN problems "\n  " text)
  message(FATAL_ERROR "Install check:\n  ${text}")
endif()
message(STATUS "Installed and complete under ${PREFIX}")
