# vantor_version_resource(block_cpp out_rc [EXECUTABLE] [STRING key value]...):
# writes a Windows resource script with a VERSIONINFO made from the version
# block in block_cpp (the versions, the language and code page, and the
# strings in their order), followed by CompanyName and LegalCopyright from
# VANTOR_COMPANY_NAME and VANTOR_LEGAL_COPYRIGHT (the top CMakeLists.txt).
# EXECUTABLE marks a program instead of a DLL; each STRING pair replaces the
# block's value of that key (a program's own description and file name).
function(vantor_version_resource block_cpp out_rc)
  cmake_parse_arguments(PARSE_ARGV 2 arg "EXECUTABLE" "" "STRING")
  set(file_type VFT_DLL)
  if(arg_EXECUTABLE)
    set(file_type VFT_APP)
  endif()
  file(READ ${block_cpp} text)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${block_cpp})
  string(REGEX MATCH "block\\{\\{([0-9, ]+)\\}, \\{([0-9, ]+)\\}, 0x([0-9a-fA-F]+), ([0-9]+)," found "${text}")
  if(NOT found)
    message(FATAL_ERROR "no version block in ${block_cpp}")
  endif()
  string(REPLACE " " "" file_version "${CMAKE_MATCH_1}")
  string(REPLACE " " "" product_version "${CMAKE_MATCH_2}")
  set(language "${CMAKE_MATCH_3}")
  set(code_page "${CMAKE_MATCH_4}")
  math(EXPR code_page_hex "${code_page}" OUTPUT_FORMAT HEXADECIMAL)
  string(REGEX REPLACE "^0x" "" code_page_hex "${code_page_hex}")
  string(LENGTH "${code_page_hex}" n)
  while(n LESS 4)
    set(code_page_hex "0${code_page_hex}")
    string(LENGTH "${code_page_hex}" n)
  endwhile()
  string(TOLOWER "${language}${code_page_hex}" block_name)
  string(REGEX MATCHALL "\\{\"[A-Za-z]+\", \"[^\"]*\"\\}" pairs "${text}")
  set(strings "")
  foreach(pair IN LISTS pairs)
    string(REGEX REPLACE "\\{\"([A-Za-z]+)\", \"([^\"]*)\"\\}" "\\1" key "${pair}")
    string(REGEX REPLACE "\\{\"([A-Za-z]+)\", \"([^\"]*)\"\\}" "\\2" value "${pair}")
    list(FIND arg_STRING "${key}" at)
    if(at GREATER_EQUAL 0)
      math(EXPR at "${at} + 1")
      list(GET arg_STRING ${at} value)
    endif()
    string(APPEND strings "      VALUE \"${key}\", \"${value}\"\n")
  endforeach()
  string(APPEND strings "      VALUE \"CompanyName\", \"${VANTOR_COMPANY_NAME}\"\n")
  string(APPEND strings "      VALUE \"LegalCopyright\", \"${VANTOR_LEGAL_COPYRIGHT}\"\n")
  file(WRITE ${out_rc}.tmp "// Made by cmake/VersionResource.cmake from ${block_cpp}; UTF-8.
#pragma code_page(65001)
#include <winver.h>
1 VERSIONINFO
FILEVERSION ${file_version}
PRODUCTVERSION ${product_version}
FILEFLAGSMASK 0x3fL
FILEFLAGS 0x0L
FILEOS VOS_NT_WINDOWS32
FILETYPE ${file_type}
FILESUBTYPE VFT2_UNKNOWN
BEGIN
  BLOCK \"StringFileInfo\"
  BEGIN
    BLOCK \"${block_name}\"
    BEGIN
${strings}    END
  END
  BLOCK \"VarFileInfo\"
  BEGIN
    VALUE \"Translation\", 0x${language}, ${code_page}
  END
END
")
  configure_file(${out_rc}.tmp ${out_rc} COPYONLY)
endfunction()
