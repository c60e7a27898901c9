# Part of scripts/wincheck: turns the Windows build's compile commands into a
# Ninja file that checks each product source and resource script.
#   cmake -DBUILD=DIR -DSOURCE=DIR -DOUTPUT=FILE -P commands.cmake
# Product sources are the build's sources in the source tree outside tests/,
# bench/ and tools/ (which runs on the build machine), so a file added to the
# build is checked too. C++ is compiled with -fsyntax-only; resource scripts
# go through windres into a scratch file.
file(READ ${BUILD}/compile_commands.json commands)
string(JSON count LENGTH "${commands}")
set(ninja "rule check\n  command = cd $dir && $cmd && : > ${BUILD}/wincheck/$out\n  description = $name\n")
set(checked 0)
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
    string(JSON file GET "${commands}" ${i} file)
    string(JSON dir GET "${commands}" ${i} directory)
    string(JSON command GET "${commands}" ${i} command)
    cmake_path(IS_PREFIX BUILD ${file} generated)
    if(generated)
        file(RELATIVE_PATH name ${BUILD} ${file})
    else()
        file(RELATIVE_PATH name ${SOURCE} ${file})
    endif()
    set(out ${BUILD}/wincheck/${name})
    if(file MATCHES "\\.rc$")
        # windres INPUT OUTPUT
        string(REGEX REPLACE "[^ ]+$" "${out}.res" command "${command}")
    elseif(NOT generated AND NOT name MATCHES "^\\.\\./|^(tests|bench|tools)/")
        # The headers read are noted: a later run checks again what a changed
        # header touches.
        string(REGEX REPLACE " -o [^ ]+ -c " " -fsyntax-only -MD -MT ${name}.ok -MF ${out}.d " command "${command}")
    else()
        continue()
    endif()
    string(REPLACE "$" "$$" command "${command}")
    string(APPEND ninja "build ${name}.ok: check ${file}\n  dir = ${dir}\n  name = ${name}\n  cmd = ${command}\n")
    if(NOT file MATCHES "\\.rc$")
        string(APPEND ninja "  depfile = ${out}.d\n  deps = gcc\n")
    endif()
    math(EXPR checked "${checked} + 1")
endforeach()
if(checked EQUAL 0)
    message(FATAL_ERROR "no product source in ${BUILD}/compile_commands.json")
endif()
file(WRITE ${OUTPUT} "${ninja}")
message(STATUS "wincheck: ${checked} files")
