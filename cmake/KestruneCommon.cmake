# Compile settings shared by every target of the project, carried by one INTERFACE target.
add_library(kestrune_common INTERFACE)
target_compile_features(kestrune_common INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

if(MSVC)
    target_compile_options(kestrune_common INTERFACE /W4 /utf-8 $<$<BOOL:${KESTRUNE_WERROR}>:/WX>)
else()
    target_compile_options(kestrune_common INTERFACE -Wall -Wextra -Wpedantic
        $<$<BOOL:${KESTRUNE_WERROR}>:-Werror>)
endif()
if(WIN32)
    target_compile_definitions(kestrune_common INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
endif()
if(KESTRUNE_SANITIZE OR KESTRUNE_BUILD_FUZZ)
    target_compile_options(kestrune_common INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
        -fno-sanitize-recover=undefined)
    target_link_options(kestrune_common INTERFACE -fsanitize=address,undefined)
endif()
if(KESTRUNE_BUILD_FUZZ)
    # The whole build is instrumented for the fuzzer, so that a target linking the core libraries
    # is guided through them too; the programs of this build run with the sanitizers alone.
    target_compile_options(kestrune_common INTERFACE -fsanitize=fuzzer-no-link)
endif()

# A library of the sources listed after SOURCES (relative to the calling folder), linking LINK.
function(kestrune_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
    if(ARG_SOURCES)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
        target_link_libraries(${name} PUBLIC kestrune_common ${ARG_LINK})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
        target_link_libraries(${name} INTERFACE kestrune_common ${ARG_LINK})
    endif()
endfunction()

# A GoogleTest program of the listed test files, each test registered with CTest.
function(kestrune_test_suite name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINK" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE kestrune_test_support ${ARG_LINK} GTest::gtest_main GTest::gmock)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT
        "KESTRUNE_SAMPLES=${KESTRUNE_SAMPLES_DIR};KESTRUNE_BUILD_DIR=${PROJECT_BINARY_DIR}")
endfunction()
