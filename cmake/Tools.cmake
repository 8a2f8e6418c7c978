# Source tools as build targets: `format` rewrites every C++ file with .clang-format,
# `format-check` fails when one differs, and `tidy` runs scripts/tidy (the .clang-tidy checks over
# the core) with the compilation database of this build.
add_custom_target(format COMMAND "${PROJECT_SOURCE_DIR}/scripts/format"
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" USES_TERMINAL VERBATIM)
add_custom_target(format-check COMMAND "${PROJECT_SOURCE_DIR}/scripts/format" --check
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" USES_TERMINAL VERBATIM)

add_custom_target(tidy COMMAND "${CMAKE_COMMAND}" -E env "KESTRUNE_BUILD=${PROJECT_BINARY_DIR}"
    "${PROJECT_SOURCE_DIR}/scripts/tidy"
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}" USES_TERMINAL VERBATIM)
