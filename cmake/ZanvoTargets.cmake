# Compile settings shared by every target of the project.

# Source paths in log lines and assertion reports are relative to the project folder.
set(ZANVO_COMMON_OPTIONS
    -Wall -Wextra -Werror -Wno-missing-field-initializers
    -fmacro-prefix-map=${CMAKE_SOURCE_DIR}/=)

if(ZANVO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "ZANVO_FUZZ needs clang (CMAKE_CXX_COMPILER=clang++)")
    endif()
    set(ZANVO_SANITIZE ON)
    # Coverage for the fuzzer in every library; only the fuzz programs link its main.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(ZANVO_SANITIZE AND NOT WIN32)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
    # Wide printf (%ls) and C99 formats from the mingw runtime, not msvcrt's.
    add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 _WIN32_WINNT=0x0601 WINVER=0x0601
                            NOMINMAX WIN32_LEAN_AND_MEAN)
endif()

function(zanvo_target target)
    target_compile_options(${target} PRIVATE ${ZANVO_COMMON_OPTIONS})
endfunction()

# A static library of ours whose headers sit beside its sources:
#   zanvo_library(name SOURCES files... LINKS targets...)
function(zanvo_library target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${target} STATIC ${ARG_SOURCES})
    zanvo_target(${target})
    target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${target} PUBLIC ${ARG_LINKS})
endfunction()

# An executable of ours: it carries the process's StaticIniter (first and last log line).
function(zanvo_executable target)
    add_executable(${target} ${ARGN} ${CMAKE_SOURCE_DIR}/src/diag/ModuleInit.cpp)
    zanvo_target(${target})
    target_link_libraries(${target} PRIVATE zanvo_diag)
endfunction()

# A native GoogleTest program, or a cross-built one that runs under Wine (the fixture "wine"
# prepares the prefix and display).
function(zanvo_gtest target)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    zanvo_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    if(WIN32)
        add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
        set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine LABELS wine)
    else()
        add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
        set_tests_properties(${target} PROPERTIES LABELS native)
    endif()
endfunction()
