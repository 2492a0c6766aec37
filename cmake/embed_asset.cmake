# Turns one file into a C++ source that holds its bytes, so that the tool
# carries its pages' script and style in itself. Run by the build as
#   cmake -DINPUT=<file> -DOUTPUT=<source.cc> -DNAME=<identifier> -P embed_asset.cmake
# The source defines assets::<NAME>, a std::string_view declared in
# src/writer/common/assets.h, over the file's bytes exactly as they stand,
# line ends included: each byte becomes a '\xNN' character literal (a
# string literal would need its own escaping and has length limits on some
# compilers). A NUL follows the bytes so that even an empty file makes a
# valid array; the view leaves it out.
foreach(variable IN ITEMS INPUT OUTPUT NAME)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "embed_asset.cmake needs -D${variable}=...")
  endif()
endforeach()

file(READ "${INPUT}" hex HEX)
# Sixteen bytes to a line, then every byte as a character literal.
string(REGEX REPLACE "(................................)" "\\1\n" hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")

cmake_path(GET INPUT FILENAME file_name)
string(CONFIGURE [[
// Made by cmake/embed_asset.cmake from @file_name@ at build time: edit that
// file, not this one.
#include "writer/common/assets.h"

namespace assets {
namespace {

constexpr char kBytes[] = {
@bytes@'\0'};

}  // namespace

const std::string_view @NAME@(kBytes, sizeof(kBytes) - 1);

}  // namespace assets
]] source @ONLY)
# Written every time it runs, so that it is newer than the file it comes from.
file(WRITE "${OUTPUT}" "${source}")
