# Linux build: the programs on the simulated Windows 95 and the simulated board.

if(LUMIVEX_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

find_package(GTest REQUIRED)
include(GoogleTest)
enable_testing()

# The simulated board.
add_library(adapter_model STATIC ${ADAPTER_MODEL_SOURCES}
    ${CMAKE_SOURCE_DIR}/platform/host/empty.cpp)
target_include_directories(adapter_model PUBLIC ${CMAKE_SOURCE_DIR})

# The simulated Windows 95.
file(GLOB SIM_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/platform/sim/*.cpp)
add_library(win32sim STATIC ${SIM_SOURCES})
target_include_directories(win32sim PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(win32sim PUBLIC adapter_model)

# lumivex's resources: compiled by windres, embedded in the program, read back
# by the simulator's resource loader.
lumivex_compile_resources(LUMIVEX_RES res)
set(LUMIVEX_RES_CPP ${CMAKE_BINARY_DIR}/resources/lumivex_res.cpp)
add_custom_command(
    OUTPUT ${LUMIVEX_RES_CPP}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${LUMIVEX_RES} -DOUTPUT=${LUMIVEX_RES_CPP}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${LUMIVEX_RES} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "embedding lumivex.res"
    VERBATIM)

# Program code as object libraries, so that nothing (static registrations
# among it) is dropped by the linker in tests and programs alike.
add_library(lumivex_core OBJECT ${LUMIVEX_PROGRAM_SOURCES} ${LUMIVEX_RES_CPP})
target_include_directories(lumivex_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(lumivex_core PUBLIC win32sim)

add_library(uninstaller_core OBJECT ${UNINSTALLER_PROGRAM_SOURCES}
    ${CMAKE_SOURCE_DIR}/platform/host/empty.cpp)
target_include_directories(uninstaller_core PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(uninstaller_core PUBLIC win32sim)

# The programs, hosted on the simulated machine.
add_executable(lumivex ${CMAKE_SOURCE_DIR}/platform/host/lumivex_host.cpp)
target_link_libraries(lumivex PRIVATE lumivex_core)
if(EXISTS ${UNINSTALLER_ENTRY})
    add_executable(uninstaller ${CMAKE_SOURCE_DIR}/platform/host/uninstaller_host.cpp)
    target_link_libraries(uninstaller PRIVATE uninstaller_core)
endif()

# Tests: one executable per folder under tests/. The folder decides what it
# links: the simulator alone, the board alone, the uninstaller, or lumivex.
file(GLOB test_dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*)
foreach(dir IN LISTS test_dirs)
    if(NOT IS_DIRECTORY ${dir})
        continue()
    endif()
    get_filename_component(name ${dir} NAME)
    file(GLOB test_sources CONFIGURE_DEPENDS ${dir}/*.cpp)
    if(NOT test_sources)
        continue()
    endif()
    add_executable(test_${name} ${test_sources})
    if(name STREQUAL "sim")
        target_link_libraries(test_${name} PRIVATE win32sim)
    elseif(name STREQUAL "adapter_model")
        target_link_libraries(test_${name} PRIVATE adapter_model)
    elseif(name STREQUAL "uninstaller")
        target_link_libraries(test_${name} PRIVATE uninstaller_core)
    else()
        target_link_libraries(test_${name} PRIVATE lumivex_core)
    endif()
    target_link_libraries(test_${name} PRIVATE GTest::gtest GTest::gtest_main GTest::gmock)
    target_compile_definitions(test_${name} PRIVATE
        LUMIVEX_SOURCE_DIR="${CMAKE_SOURCE_DIR}" LUMIVEX_BINARY_DIR="${CMAKE_BINARY_DIR}")
    gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES
        PROPERTIES TIMEOUT 120 ENVIRONMENT "LUMIVEX_TEST=1")
endforeach()

# Small programs of the repository (generators of committed data files).
file(GLOB tool_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/*.cpp)
foreach(src IN LISTS tool_sources)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
endforeach()

# Benchmarks: built with the project, run by hand (not part of the tests).
file(GLOB bench_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
if(LUMIVEX_BENCH AND bench_sources)
    find_package(benchmark REQUIRED)
    add_executable(lumivex_bench ${bench_sources})
    target_link_libraries(lumivex_bench PRIVATE lumivex_core benchmark::benchmark)
endif()
