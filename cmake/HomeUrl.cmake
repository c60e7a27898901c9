# The home page is compiled into the program as a C string and opened at
# start-up, by Home and by the logo (unless velmora.conf sets another): it
# must be an http or https address with a host, and hold no character that
# would end the string or the address. Empty, the program opens the start
# page built into it.
#
#   velmora_check_home_url(<url>)   stops the configure step when <url> is not one
#   cmake -DVELMORA_HOME_URL=<url> -P cmake/HomeUrl.cmake   the same check alone

function(velmora_check_home_url url)
    if(url STREQUAL "")
        return() # none: the start page built into the program
    elseif(NOT url MATCHES "^[Hh][Tt][Tt][Pp][Ss]?://[^/?#]")
        set(why "not an http or https address")
    elseif(url MATCHES "[ \t\r\n\"\\\\]")
        set(why "an address with a space, a quote or a backslash")
    else()
        return()
    endif()
    message(FATAL_ERROR "VELMORA_HOME_URL \"${url}\" is ${why}; "
        "give the home page as https://host/path (or http://).")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    velmora_check_home_url("${VELMORA_HOME_URL}")
endif()
