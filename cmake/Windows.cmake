# i686 Windows build: GUI-subsystem executables with a static runtime, importing
# only the system's own DLLs.

# Windows 95-era processors have no SSE2: floating point stays on the x87 unit.
add_compile_options(-march=i586 -mfpmath=387)
add_link_options(-static -static-libgcc -static-libstdc++ -mwindows)

lumivex_compile_resources(LUMIVEX_RES_OBJ coff)
add_custom_target(lumivex_resources ALL DEPENDS ${LUMIVEX_RES_OBJ})

# Port primitives: real in/out on the Windows 95 family (platform/win9x), or the
# simulated board for systems that fault on them (platform/win_model).
file(GLOB WIN9X_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win9x/*.cpp)
file(GLOB WIN_MODEL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/win_model/*.cpp)

set(WIN_LIBS user32 gdi32 advapi32 shell32 version kernel32)

if(EXISTS ${LUMIVEX_ENTRY})
    add_executable(lumivex WIN32 ${LUMIVEX_PROGRAM_SOURCES} ${WIN9X_SOURCES} ${LUMIVEX_RES_OBJ})
    target_include_directories(lumivex PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(lumivex PRIVATE ${WIN_LIBS})

    add_executable(lumivex_model WIN32 ${LUMIVEX_PROGRAM_SOURCES} ${WIN_MODEL_SOURCES}
        ${ADAPTER_MODEL_SOURCES} ${LUMIVEX_RES_OBJ})
    target_include_directories(lumivex_model PRIVATE ${CMAKE_SOURCE_DIR})
    target_compile_definitions(lumivex_model PRIVATE LUMIVEX_BOARD_MODEL=1)
    target_link_libraries(lumivex_model PRIVATE ${WIN_LIBS})
    # Both programs link the one resource object: build it once, before them.
    add_dependencies(lumivex lumivex_resources)
    add_dependencies(lumivex_model lumivex_resources)
else()
    # No entry point yet: compile every program source that exists.
    add_library(lumivex_objects OBJECT ${LUMIVEX_PROGRAM_SOURCES} ${WIN9X_SOURCES}
        ${WIN_MODEL_SOURCES} ${ADAPTER_MODEL_SOURCES} ${CMAKE_SOURCE_DIR}/platform/host/empty.cpp)
    target_include_directories(lumivex_objects PRIVATE ${CMAKE_SOURCE_DIR})
endif()

if(EXISTS ${UNINSTALLER_ENTRY})
    add_executable(uninstaller WIN32 ${UNINSTALLER_PROGRAM_SOURCES})
    target_include_directories(uninstaller PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(uninstaller PRIVATE ${WIN_LIBS})
else()
    add_library(uninstaller_objects OBJECT ${UNINSTALLER_PROGRAM_SOURCES}
        ${CMAKE_SOURCE_DIR}/platform/host/empty.cpp)
    target_include_directories(uninstaller_objects PRIVATE ${CMAKE_SOURCE_DIR})
endif()
