cmake_minimum_required(VERSION 3.25)
# Makes a gzip'd manual page from TEMPLATE (a .1.in file):
#   cmake -DTEMPLATE=x.1.in -DOUTPUT=x.1.gz -DPROJECT_VERSION=... -DKQ517_RELEASE_DATE=...
#         -DKQ517_DATA_PATH=... [-DPROGRAM=path/to/kq517_manpage] -P manpage.cmake
# With PROGRAM (the kq517_manpage build tool), @KQ517_COMMANDS@ and
# @KQ517_OPTIONS@ are the COMMANDS and OPTIONS sections it prints, made from
# the same verb records as kq517's --help, so the page always describes the
# commands and options the program has.

function(program_section out section)
    execute_process(COMMAND "${PROGRAM}" ${section} OUTPUT_VARIABLE text RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR text STREQUAL "")
        message(FATAL_ERROR "${PROGRAM} ${section}: no text (status ${status})")
    endif()
    string(REGEX REPLACE "\n$" "" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

if(PROGRAM)
    program_section(KQ517_COMMANDS commands)
    program_section(KQ517_OPTIONS options)
endif()

get_filename_component(name "${OUTPUT}" NAME_WLE)
set(page "${OUTPUT}.tmp/${name}")
configure_file("${TEMPLATE}" "${page}" @ONLY)
# -n: no name or time stamp in the archive, so the same page makes the same file.
execute_process(COMMAND gzip -9 -n -c "${page}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip failed for ${page}")
endif()
