cmake_minimum_required(VERSION 3.25)
# Makes a gzip'd manual page from TEMPLATE (a .1.in file):
#   cmake -DTEMPLATE=x.1.in -DOUTPUT=x.1.gz -DPROJECT_VERSION=... -DKQ517_RELEASE_DATE=...
#         -DKQ517_DATA_PATH=... [-DPROGRAM=path/to/kq517] -P manpage.cmake
# With PROGRAM, @KQ517_HELP_COMMANDS@ and @KQ517_HELP_SIM@ are the program's
# own "--help" and "sim --help" texts turned into groff, so the page always
# lists the commands the program has.

# One help text as groff: "  term  description" lines (two blanks first, the
# term and its description two or more blanks apart) become tagged
# paragraphs, deeper indented lines continue the description, other lines are
# running text.
function(help_to_groff text out)
    string(REPLACE ";" "@SEMICOLON@" text "${text}")
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(groff "")
    set(state "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^usage: (.*)$")
            string(APPEND groff ".PP\n\\fB${CMAKE_MATCH_1}\\fR\n")
            set(state "usage")
        elseif(line MATCHES "^  [^ ]")
            string(STRIP "${line}" entry)
            if(entry MATCHES "^(.*[^ ])  +([^ ].*)$")
                set(term "${CMAKE_MATCH_1}")
                set(description "${CMAKE_MATCH_2}")
            else()
                set(term "${entry}")
                set(description "")
            endif()
            string(REGEX REPLACE "^([^ ]+)(.*)$" "\\\\fB\\1\\\\fR\\2" term "${term}")
            string(APPEND groff ".TP\n${term}\n")
            if(NOT description STREQUAL "")
                string(APPEND groff "${description}\n")
            endif()
            set(state "entry")
        elseif(line MATCHES "^    +([^ ].*)$" AND state STREQUAL "entry")
            string(APPEND groff "${CMAKE_MATCH_1}\n")
        elseif(NOT line STREQUAL "")
            string(STRIP "${line}" line)
            if(NOT state STREQUAL "text")
                string(APPEND groff ".PP\n")
            endif()
            if(line MATCHES "^[.']")
                set(line "\\&${line}")
            endif()
            string(APPEND groff "${line}\n")
            set(state "text")
        endif()
    endforeach()
    string(REPLACE "@SEMICOLON@" ";" groff "${groff}")
    string(REGEX REPLACE "\n$" "" groff "${groff}")
    set(${out} "${groff}" PARENT_SCOPE)
endfunction()

function(program_help out)
    execute_process(COMMAND "${PROGRAM}" ${ARGN} OUTPUT_VARIABLE text RESULT_VARIABLE status)
    if(NOT status EQUAL 0 OR text STREQUAL "")
        message(FATAL_ERROR "${PROGRAM} ${ARGN}: no help text (status ${status})")
    endif()
    help_to_groff("${text}" groff)
    set(${out} "${groff}" PARENT_SCOPE)
endfunction()

if(PROGRAM)
    program_help(KQ517_HELP_COMMANDS --help)
    program_help(KQ517_HELP_SIM sim --help)
endif()

get_filename_component(name "${OUTPUT}" NAME_WLE)
set(page "${OUTPUT}.tmp/${name}")
configure_file("${TEMPLATE}" "${page}" @ONLY)
# -n: no name or time stamp in the archive, so the same page makes the same file.
execute_process(COMMAND gzip -9 -n -c "${page}" OUTPUT_FILE "${OUTPUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip failed for ${page}")
endif()
