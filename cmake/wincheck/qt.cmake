# Part of scripts/wincheck (see toolchain.cmake). At the end of the top-level
# CMakeLists, makes the Linux Qt's targets look like a Windows Qt's as far as
# compiling is concerned: import libraries for generation, the Windows
# definitions and mkspec, and no Linux system include folder.
if(NOT PROJECT_NAME STREQUAL "Velmora")
    return() # the compiler checks' own projects
endif()
function(velmora_wincheck_qt)
    get_property(targets DIRECTORY ${CMAKE_SOURCE_DIR} PROPERTY IMPORTED_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "SHARED_LIBRARY")
            get_target_property(configurations ${target} IMPORTED_CONFIGURATIONS)
            foreach(configuration IN LISTS configurations)
                get_target_property(location ${target} IMPORTED_LOCATION_${configuration})
                set_target_properties(${target} PROPERTIES IMPORTED_IMPLIB_${configuration} "${location}")
            endforeach()
        endif()
        get_target_property(includes ${target} INTERFACE_INCLUDE_DIRECTORIES)
        if(includes)
            list(REMOVE_ITEM includes /usr/include)
            list(TRANSFORM includes REPLACE "/mkspecs/linux-g\\+\\+$" "/mkspecs/win32-g++")
            set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${includes}")
        endif()
    endforeach()
    set_property(TARGET Qt6::Platform APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS
        UNICODE _UNICODE WIN32 WIN64 _WIN64 MINGW_HAS_SECURE_API=1)
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL velmora_wincheck_qt)
