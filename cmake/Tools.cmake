# Source tools as build targets: `format` rewrites every C++ file with .clang-format,
# `format-check` fails when one differs, and `tidy` runs the .clang-tidy checks over the
# compilation database of this build.
add_custom_target(format COMMAND "${PROJECT_SOURCE_DIR}/scripts/format"
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" USES_TERMINAL VERBATIM)
add_custom_target(format-check COMMAND "${PROJECT_SOURCE_DIR}/scripts/format" --check
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" USES_TERMINAL VERBATIM)

find_program(KESTRUNE_RUN_CLANG_TIDY NAMES run-clang-tidy run-clang-tidy-14)
if(KESTRUNE_RUN_CLANG_TIDY)
    add_custom_target(tidy COMMAND "${KESTRUNE_RUN_CLANG_TIDY}" -quiet -p "${PROJECT_BINARY_DIR}"
        "${PROJECT_SOURCE_DIR}/(src|tests|bench)/"
        WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" USES_TERMINAL VERBATIM)
endif()
