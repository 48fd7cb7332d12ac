# Source lists by folder. Every .cpp in a program folder belongs to that program;
# new files are picked up without editing the build.

function(lumivex_sources out)
    set(files)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
        list(APPEND files ${found})
    endforeach()
    list(SORT files)
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# The programs proper.
lumivex_sources(LUMIVEX_PROGRAM_SOURCES tray adapter correction dialog)
lumivex_sources(UNINSTALLER_PROGRAM_SOURCES uninstaller)
# The simulated board: plain C++, usable by both builds.
lumivex_sources(ADAPTER_MODEL_SOURCES platform/adapter_model)

# A program is linked once its entry point exists; until then its sources are
# still compiled in both builds.
set(LUMIVEX_ENTRY ${CMAKE_SOURCE_DIR}/tray/startup.cpp)
set(UNINSTALLER_ENTRY ${CMAKE_SOURCE_DIR}/uninstaller/uninstaller.cpp)

set(LUMIVEX_RC ${CMAKE_SOURCE_DIR}/resources/lumivex.rc)

find_program(LUMIVEX_WINDRES NAMES i686-w64-mingw32-windres windres REQUIRED)

# Compiles the resource script with windres: FORMAT "res" gives the .res file
# the simulator embeds, "coff" the object the Windows linker takes. Both hold
# the same resources.
function(lumivex_compile_resources out_file format)
    file(GLOB rc_inputs CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h
        ${CMAKE_SOURCE_DIR}/resources/*.bmp ${CMAKE_SOURCE_DIR}/resources/*.ico)
    if(format STREQUAL "coff")
        set(out ${CMAKE_BINARY_DIR}/resources/lumivex_res.o)
    else()
        set(out ${CMAKE_BINARY_DIR}/resources/lumivex.res)
    endif()
    add_custom_command(
        OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
        COMMAND ${LUMIVEX_WINDRES} -I ${CMAKE_SOURCE_DIR}/resources
                -i ${LUMIVEX_RC} -O ${format} -o ${out}
        DEPENDS ${rc_inputs}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/resources
        COMMENT "windres lumivex.rc (${format})"
        VERBATIM)
    set(${out_file} ${out} PARENT_SCOPE)
endfunction()
