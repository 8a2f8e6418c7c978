# The Windows resources of a program: the icon, the manifest and the version information
# (src/resources). Elsewhere the programs carry none: kestrune_program_details then puts the
# icon and the version file beside the program instead, where the emulated machine reads them
# (platform/emulated/SiblingProgramFiles.h).

# The CompanyName of every program of the project.
set(KESTRUNE_COMPANY_NAME "Kestrune")

if(WIN32)
    enable_language(RC)
endif()

function(kestrune_windows_resources target description)
    if(NOT WIN32)
        return()
    endif()
    set(KESTRUNE_RC_NAME "${target}")
    set(KESTRUNE_RC_DESCRIPTION "${description}")
    set(KESTRUNE_RC_ICON "${PROJECT_SOURCE_DIR}/src/resources/kestrune.ico")
    set(KESTRUNE_RC_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest")
    configure_file("${PROJECT_SOURCE_DIR}/src/resources/program.manifest.in" "${KESTRUNE_RC_MANIFEST}" @ONLY)
    configure_file("${PROJECT_SOURCE_DIR}/src/resources/program.rc.in" "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc" @ONLY)
    target_sources(${target} PRIVATE "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
    set_property(SOURCE "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc" APPEND PROPERTY OBJECT_DEPENDS
                 "${KESTRUNE_RC_ICON}" "${KESTRUNE_RC_MANIFEST}")
    # The manifest is ours; the Microsoft linker would add a second one of its own.
    if(MSVC)
        target_link_options(${target} PRIVATE /MANIFEST:NO)
    endif()
endfunction()

# For the emulated machine: the program's icon and version file beside it.
function(kestrune_program_details target)
    if(WIN32)
        return()
    endif()
    set(version "${CMAKE_CURRENT_BINARY_DIR}/${target}.version-info")
    file(WRITE "${version}" "CompanyName=${KESTRUNE_COMPANY_NAME}\nFileVersion=${PROJECT_VERSION}\n")
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different "${PROJECT_SOURCE_DIR}/src/resources/kestrune.ico"
                "$<TARGET_FILE:${target}>.ico"
        COMMAND ${CMAKE_COMMAND} -E copy_if_different "${version}" "$<TARGET_FILE:${target}>.version"
        VERBATIM)
endfunction()
