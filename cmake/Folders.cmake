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

# Compiles the resource script to a .res file (the same bytes in both builds).
function(lumivex_compile_resources out_res)
    file(GLOB rc_inputs CONFIGURE_DEPENDS
        ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h
        ${CMAKE_SOURCE_DIR}/resources/*.bmp ${CMAKE_SOURCE_DIR}/resources/*.ico)
    set(res ${CMAKE_BINARY_DIR}/resources/lumivex.res)
    add_custom_command(
        OUTPUT ${res}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
        COMMAND ${LUMIVEX_WINDRES} -I ${CMAKE_SOURCE_DIR}/resources
                -i ${LUMIVEX_RC} -O res -o ${res}
        DEPENDS ${rc_inputs}
        WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}/resources
        COMMENT "windres lumivex.rc"
        VERBATIM)
    set(${out_res} ${res} PARENT_SCOPE)
endfunction()
