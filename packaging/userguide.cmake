cmake_minimum_required(VERSION 3.25)
# The user guide of the installed package: the README without its sections
# about building and developing the program.
#   cmake -DINPUT=README.md -DOUTPUT=guide.md -P userguide.cmake

set(developer_sections "Three commands" "Benchmark" "Layout")

file(READ "${INPUT}" text)
foreach(section IN LISTS developer_sections)
    string(FIND "${text}" "\n## ${section}\n" start)
    if(start EQUAL -1)
        continue()
    endif()
    math(EXPR start "${start} + 1")
    string(SUBSTRING "${text}" 0 ${start} head)
    string(SUBSTRING "${text}" ${start} -1 rest)
    # The section runs to the next heading of its level, or to the end.
    string(FIND "${rest}" "\n## " next)
    if(next EQUAL -1)
        set(text "${head}")
    else()
        math(EXPR next "${next} + 1")
        string(SUBSTRING "${rest}" ${next} -1 tail)
        set(text "${head}${tail}")
    endif()
endforeach()
file(WRITE "${OUTPUT}" "${text}")
