# SPDX-License-Identifier: MIT
# Turns the window icon's renditions (Netpbm PAM images, 8-bit RGBA, rows from the top, as GLFW
# takes them) into a C++ source that defines WindowIcon<size> for each.
#   cmake -DOUTPUT=file.cpp -DSIZES="16;32;48" -DIMAGE_PATTERN=dir/tarnwick-@SIZE@.pam -P this
cmake_minimum_required(VERSION 3.20)
set(source "// Made by the build from packaging/icons/window; see cmake/window_icon_pixels.cmake.\n")
foreach(size IN LISTS SIZES)
  string(REPLACE "@SIZE@" "${size}" image "${IMAGE_PATTERN}")
  file(READ "${image}" header LIMIT 128)
  string(FIND "${header}" "ENDHDR\n" end)
  math(EXPR expected "${size} * ${size} * 4")
  if(end LESS 0 OR NOT header MATCHES "^P7\n" OR NOT header MATCHES "\nWIDTH ${size}\n"
     OR NOT header MATCHES "\nHEIGHT ${size}\n" OR NOT header MATCHES "\nDEPTH 4\n"
     OR NOT header MATCHES "\nMAXVAL 255\n")
    message(FATAL_ERROR "${image} is not a ${size}x${size} 8-bit RGBA PAM image")
  endif()
  math(EXPR offset "${end} + 7")
  file(READ "${image}" pixels OFFSET ${offset} HEX)
  string(LENGTH "${pixels}" digits)
  math(EXPR bytes "${digits} / 2")
  if(NOT bytes EQUAL expected)
    message(FATAL_ERROR "${image} holds ${bytes} bytes of pixels, not ${expected}")
  endif()
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," pixels "${pixels}")
  string(APPEND source "extern const unsigned char WindowIcon${size}[${expected}] = {${pixels}};\n")
endforeach()
file(WRITE "${OUTPUT}" "${source}")
