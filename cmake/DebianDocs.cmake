# Writes the two files a Debian package carries in /usr/share/doc/<package>,
# each from the one place its facts live:
#   cmake -DWHAT=copyright -DLICENSE=… -DCONTACT=… -DOUTPUT=… -P DebianDocs.cmake
#   cmake -DWHAT=changelog -DMETAINFO=… -DCONTACT=… -DOUTPUT=… -P DebianDocs.cmake
# The copyright file (machine-readable format 1.0) is the root LICENSE with its
# holder and year; the changelog (Debian's format) is the AppStream file's releases.
cmake_minimum_required(VERSION 3.22)

if(WHAT STREQUAL "copyright")
    file(STRINGS ${LICENSE} lines ENCODING UTF-8)
    list(POP_FRONT lines title)
    if(NOT title STREQUAL "MIT License")
        message(FATAL_ERROR "${LICENSE} starts with '${title}'; only the MIT licence is known here")
    endif()
    # Debian's short name for this MIT text is Expat (the bare "MIT" names several).
    set(licence_name Expat)
    # file(STRINGS) drops empty lines; read them back from the text itself.
    file(READ ${LICENSE} text)
    string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${text}")
    set(holder ${CMAKE_MATCH_1})
    if(NOT holder)
        message(FATAL_ERROR "${LICENSE} names no copyright holder")
    endif()
    # The licence text is what follows the copyright line; each line indented by
    # one space, an empty line written as " .".
    string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]+\n+" "" body "${text}")
    string(STRIP "${body}" body)
    string(REGEX REPLACE "\n\n" "\n.\n" body "${body}")
    string(REGEX REPLACE "\n" "\n " body "${body}")
    file(WRITE ${OUTPUT}
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
        "Upstream-Name: Soramado\n"
        "Upstream-Contact: ${CONTACT}\n"
        "\n"
        "Files: *\n"
        "Copyright: ${holder}\n"
        "License: ${licence_name}\n"
        "Comment: The MIT licence, as in the file LICENSE of the sources.\n"
        "\n"
        "License: ${licence_name}\n"
        " ${body}\n")
    return()
endif()

if(WHAT STREQUAL "changelog")
    # "Wed, 09 Dec 2026 00:00:00 +0000" for a date "2026-12-09" (Sakamoto's weekday rule).
    function(rfc2822 date out)
        if(NOT date MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
            message(FATAL_ERROR "release date '${date}' is not YYYY-MM-DD")
        endif()
        set(year ${CMAKE_MATCH_1})
        math(EXPR month "${CMAKE_MATCH_2}")
        math(EXPR day "${CMAKE_MATCH_3}")
        set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
        set(y ${year})
        if(month LESS 3)
            math(EXPR y "${y} - 1")
        endif()
        math(EXPR index "${month} - 1")
        list(GET offsets ${index} offset)
        math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
        set(weekdays Sun Mon Tue Wed Thu Fri Sat)
        set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
        list(GET weekdays ${weekday} weekday_name)
        list(GET months ${index} month_name)
        if(day LESS 10)
            set(day 0${day})
        endif()
        set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
    endfunction()

    # One paragraph as "  * " items wrapped at 78 columns.
    function(bullet text out)
        string(REGEX REPLACE "[ \t\n]+" " " text "${text}")
        string(STRIP "${text}" text)
        string(REPLACE " " ";" words "${text}")
        set(result "  *")
        set(line "  *")
        foreach(word IN LISTS words)
            string(LENGTH "${line} ${word}" length)
            if(length GREATER 78 AND NOT line STREQUAL "  *" AND NOT line STREQUAL "   ")
                string(APPEND result "\n   ")
                set(line "   ")
            endif()
            string(APPEND result " ${word}")
            string(APPEND line " ${word}")
        endforeach()
        set(${out} "${result}\n" PARENT_SCOPE)
    endfunction()

    file(READ ${METAINFO} xml)
    # A semicolon would split CMake's lists: carry it as a unit separator.
    string(ASCII 31 semicolon)
    string(REPLACE ";" "${semicolon}" xml "${xml}")
    string(REGEX MATCHALL "<release [^>]*>.*</release>" releases_text "${xml}")
    string(REPLACE "</release>" "</release>;" releases_text "${releases_text}")
    set(changelog)
    foreach(release IN LISTS releases_text)
        if(NOT release MATCHES "<release version=\"([^\"]+)\" date=\"([^\"]+)\"")
            continue()
        endif()
        set(version ${CMAKE_MATCH_1})
        rfc2822(${CMAKE_MATCH_2} date)
        string(APPEND changelog "soramado (${version}) unstable; urgency=medium\n\n")
        string(REGEX MATCHALL "<(p|li)>[^<]*</(p|li)>" items "${release}")
        if(NOT items)
            message(FATAL_ERROR "release ${version} has no description")
        endif()
        foreach(item IN LISTS items)
            string(REGEX REPLACE "</?(p|li)>" "" item "${item}")
            string(REPLACE "&lt${semicolon}" "<" item "${item}")
            string(REPLACE "&gt${semicolon}" ">" item "${item}")
            string(REPLACE "&amp${semicolon}" "&" item "${item}")
            bullet("${item}" entry)
            string(APPEND changelog "${entry}")
        endforeach()
        string(APPEND changelog "\n -- ${CONTACT}  ${date}\n\n")
    endforeach()
    if(NOT changelog)
        message(FATAL_ERROR "${METAINFO} lists no release")
    endif()
    string(REGEX REPLACE "\n\n$" "\n" changelog "${changelog}")
    string(REPLACE "${semicolon}" ";" changelog "${changelog}")
    file(WRITE ${OUTPUT} "${changelog}")
    return()
endif()

message(FATAL_ERROR "DebianDocs.cmake: WHAT is copyright or changelog, not '${WHAT}'")
