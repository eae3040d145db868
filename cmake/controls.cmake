# SPDX-License-Identifier: MIT
# The game's controls, from their one table (src/platform/controls.tsv), to what reads them and to
# what shows them to players.
#   include(cmake/controls.cmake), in the build: writes controls.inc into the build tree, the
#     CONTROL(code, "gamepad inputs") lines gamepad.cpp maps the pads by; sets, for the page,
#     TARNWICK_TOUCH_<KEY> and TARNWICK_TOUCH_WORDS_<KEY>, the touch controls' labels and spoken
#     names, and TARNWICK_CONTROLS_ROWS, its table's rows; and fails while the README's table, the
#     manual page's, the downloads' (packaging/controls.txt) or gamepad.h's differs from the one
#     the table makes.
#   cmake -P cmake/controls.cmake (scripts/make-controls): writes those four from the table.
cmake_minimum_required(VERSION 3.20)
get_filename_component(TARNWICK_CONTROLS_ROOT ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
set(TARNWICK_CONTROLS_TABLE ${TARNWICK_CONTROLS_ROOT}/src/platform/controls.tsv)

# The table's rows: in the caller, CONTROLS (the rows' numbers) and CONTROL_<n>_KEY, _CODE,
# _GAMEPAD, _TOUCH and _ACTION.
macro(tarnwick_read_controls)
  file(READ ${TARNWICK_CONTROLS_TABLE} control_lines)
  if(control_lines MATCHES ";" OR control_lines MATCHES "\\[" OR control_lines MATCHES "\\]")
    message(FATAL_ERROR "controls.tsv: no semicolons or brackets, please: CMake reads the table as lists")
  endif()
  file(STRINGS ${TARNWICK_CONTROLS_TABLE} control_lines ENCODING UTF-8)
  list(FILTER control_lines EXCLUDE REGEX "^#")
  list(POP_FRONT control_lines) # the column names
  set(CONTROLS)
  set(control_row 0)
  foreach(control_line IN LISTS control_lines)
    string(REPLACE "\t" ";" control_fields "${control_line}")
    list(LENGTH control_fields control_count)
    if(NOT control_count EQUAL 5)
      message(FATAL_ERROR "controls.tsv: a row has 5 fields, not ${control_count}: ${control_line}")
    endif()
    math(EXPR control_row "${control_row} + 1")
    list(APPEND CONTROLS ${control_row})
    list(GET control_fields 0 CONTROL_${control_row}_KEY)
    list(GET control_fields 1 CONTROL_${control_row}_CODE)
    list(GET control_fields 2 CONTROL_${control_row}_GAMEPAD)
    list(GET control_fields 3 CONTROL_${control_row}_TOUCH)
    list(GET control_fields 4 CONTROL_${control_row}_ACTION)
  endforeach()
endmacro()

# text, filled with spaces to width.
function(tarnwick_pad text width out)
  string(LENGTH "${text}" length)
  math(EXPR fill "${width} - ${length}")
  if(fill LESS 0)
    set(fill 0)
  endif()
  string(REPEAT " " ${fill} spaces)
  set(${out} "${text}${spaces}" PARENT_SCOPE)
endfunction()

# text in lines of at most width characters, each after the first starting with indent.
function(tarnwick_wrap text width indent out)
  string(REPLACE " " ";" words "${text}")
  set(lines "")
  set(line "")
  foreach(word IN LISTS words)
    string(LENGTH "${line} ${word}" length)
    if(line STREQUAL "")
      set(line "${word}")
    elseif(length GREATER width)
      string(APPEND lines "${line}\n${indent}")
      set(line "${word}")
    else()
      string(APPEND line " ${word}")
    endif()
  endforeach()
  set(${out} "${lines}${line}" PARENT_SCOPE)
endfunction()

# The README's table.
function(tarnwick_controls_markdown out)
  set(text "| Key | Gamepad | Touch | Action |\n|---|---|---|---|\n")
  foreach(n IN LISTS CONTROLS)
    string(APPEND text "| ${CONTROL_${n}_KEY} | ${CONTROL_${n}_GAMEPAD} | ${CONTROL_${n}_TOUCH} | ${CONTROL_${n}_ACTION} |\n")
  endforeach()
  string(REPLACE "|  |" "| |" text "${text}")
  string(REPLACE "|  |" "| |" text "${text}") # where two empty cells stand side by side
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The manual page's: each key, what it does, and what does the same on a gamepad.
function(tarnwick_controls_man out)
  set(text "")
  set(indent " 9")
  foreach(n IN LISTS CONTROLS)
    string(APPEND text ".TP${indent}\n.B ${CONTROL_${n}_KEY}\n${CONTROL_${n}_ACTION}.\n")
    if(NOT CONTROL_${n}_GAMEPAD STREQUAL "")
      string(APPEND text "Gamepad: ${CONTROL_${n}_GAMEPAD}.\n")
    endif()
    set(indent "")
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The downloads' readmes' (scripts/make-readme puts it in them): plain text, 78 columns.
function(tarnwick_controls_text out)
  set(text "# SPDX-License-Identifier: MIT\nControls\n--------\n\n")
  foreach(n IN LISTS CONTROLS)
    tarnwick_pad("  ${CONTROL_${n}_KEY}" 10 key)
    tarnwick_wrap("${CONTROL_${n}_ACTION}." 68 "          " action)
    string(APPEND text "${key}${action}\n")
    if(NOT CONTROL_${n}_GAMEPAD STREQUAL "")
      tarnwick_wrap("Gamepad: ${CONTROL_${n}_GAMEPAD}." 68 "          " gamepad)
      string(APPEND text "          ${gamepad}\n")
    endif()
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# text with the characters HTML gives a meaning escaped, for the page's text and its attributes.
function(tarnwick_html text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  string(REPLACE "\"" "&quot;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The page's (page.html), the rows under its heading; the touch controls' labels show on touch
# screens only.
function(tarnwick_controls_html out)
  set(rows "")
  foreach(n IN LISTS CONTROLS)
    tarnwick_html("${CONTROL_${n}_KEY}" key)
    tarnwick_html("${CONTROL_${n}_TOUCH}" touch)
    tarnwick_html("${CONTROL_${n}_GAMEPAD}" gamepad)
    tarnwick_html("${CONTROL_${n}_ACTION}" action)
    string(APPEND rows "  <tr><td><kbd>${key}</kbd></td><td class=\"touch-only\">${touch}</td>"
                       "<td>${gamepad}</td><td>${action}</td></tr>\n")
  endforeach()
  string(REGEX REPLACE "\n$" "" rows "${rows}")
  set(${out} "${rows}" PARENT_SCOPE)
endfunction()

# gamepad.h's: each key and the inputs that hold it.
function(tarnwick_controls_gamepad_comment out)
  set(text "")
  foreach(n IN LISTS CONTROLS)
    tarnwick_pad("//   ${CONTROL_${n}_KEY}" 13 key)
    if(CONTROL_${n}_GAMEPAD STREQUAL "")
      string(APPEND text "${key}none: no pad ends the game\n")
    else()
      string(APPEND text "${key}${CONTROL_${n}_GAMEPAD}\n")
    endif()
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The part of a file between the line begin and the line end (the whole file where begin is "")
# is content: checked (mode CHECK, failing with what to do) or written (mode WRITE).
function(tarnwick_controls_region mode file begin end content)
  file(READ ${file} text)
  set(before "")
  set(region "${text}")
  set(after "")
  if(NOT begin STREQUAL "")
    string(FIND "${text}" "${begin}\n" first)
    if(first LESS 0)
      message(FATAL_ERROR "${file} has no place for the controls after a line \"${begin}\"")
    endif()
    string(LENGTH "${begin}\n" begin_length)
    math(EXPR from "${first} + ${begin_length}")
    string(SUBSTRING "${text}" 0 ${from} before)
    string(SUBSTRING "${text}" ${from} -1 rest)
    string(FIND "\n${rest}" "\n${end}\n" length) # the region ends with the line before end's
    if(length LESS 0)
      message(FATAL_ERROR "${file} has no line \"${end}\" after the controls")
    endif()
    string(SUBSTRING "${rest}" 0 ${length} region)
    string(SUBSTRING "${rest}" ${length} -1 after)
  endif()
  if(region STREQUAL content)
    return()
  endif()
  if(mode STREQUAL WRITE)
    file(WRITE ${file} "${before}${content}${after}")
    message(STATUS "wrote the controls into ${file}")
  else()
    message(FATAL_ERROR "The controls in ${file} are not the ones src/platform/controls.tsv makes: "
                        "run scripts/make-controls, or change the table instead")
  endif()
endfunction()

# Every place the table is shown in, checked or written.
function(tarnwick_controls_everywhere mode)
  set(root ${TARNWICK_CONTROLS_ROOT})
  set(made "made from src/platform/controls.tsv by scripts/make-controls")
  tarnwick_controls_markdown(markdown)
  tarnwick_controls_region(${mode} ${root}/README.md "<!-- The controls, ${made} -->" "<!-- end of the controls -->"
                           "${markdown}")
  tarnwick_controls_man(man)
  tarnwick_controls_region(${mode} ${root}/packaging/tarnwick.6 ".\\\" The controls, ${made}" ".\\\" end of the controls"
                           "${man}")
  tarnwick_controls_gamepad_comment(comment)
  tarnwick_controls_region(${mode} ${root}/src/platform/gamepad.h "// The keys a pad holds, ${made}:" "//"
                           "${comment}")
  tarnwick_controls_text(text)
  tarnwick_controls_region(${mode} ${root}/packaging/controls.txt "" "" "${text}")
endfunction()

tarnwick_read_controls()
if(CMAKE_SCRIPT_MODE_FILE)
  tarnwick_controls_everywhere(WRITE)
  return()
endif()

tarnwick_controls_everywhere(CHECK)
set(inc "// Made by the build from src/platform/controls.tsv: CONTROL(code, \"gamepad inputs\").\n")
foreach(n IN LISTS CONTROLS)
  string(APPEND inc "CONTROL(${CONTROL_${n}_CODE}, \"${CONTROL_${n}_GAMEPAD}\")\n")
  string(TOUPPER "${CONTROL_${n}_KEY}" key)
  tarnwick_html("${CONTROL_${n}_TOUCH}" touch)
  string(REPLACE " " "<br>" TARNWICK_TOUCH_${key} "${touch}")
  string(REGEX REPLACE " \\(.*|:.*|,.*" "" words "${CONTROL_${n}_ACTION}")
  tarnwick_html("${words}" TARNWICK_TOUCH_WORDS_${key})
endforeach()
tarnwick_controls_html(TARNWICK_CONTROLS_ROWS)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/controls.inc CONTENT "${inc}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${TARNWICK_CONTROLS_TABLE}
             ${TARNWICK_CONTROLS_ROOT}/README.md ${TARNWICK_CONTROLS_ROOT}/packaging/tarnwick.6
             ${TARNWICK_CONTROLS_ROOT}/packaging/controls.txt ${TARNWICK_CONTROLS_ROOT}/src/platform/gamepad.h)
