# What a cross build for Windows cannot take from the host's packages.
#
# pugixml: Debian has no MinGW build of it, so scripts/fetch-windows-deps unpacks Debian's
# source package into .cache/windows and it is compiled here with the cross compiler.
# CLI11 and nlohmann-json: their host package configurations add -isystem /usr/include,
# whose glibc headers break MinGW's; a folder holding only their headers replaces them.
set(KESTRUNE_WINDOWS_CACHE "${PROJECT_SOURCE_DIR}/.cache/windows" CACHE PATH
    "Where scripts/fetch-windows-deps and scripts/build-qt-mingw keep what cross builds need")
set(KESTRUNE_PUGIXML_SOURCE "${KESTRUNE_WINDOWS_CACHE}/pugixml-1.13" CACHE PATH "pugixml's source for cross builds")

if(NOT TARGET pugixml::pugixml)
    if(NOT EXISTS "${KESTRUNE_PUGIXML_SOURCE}/src/pugixml.cpp")
        message(FATAL_ERROR "pugixml's source is not in ${KESTRUNE_PUGIXML_SOURCE}: run scripts/fetch-windows-deps")
    endif()
    add_library(kestrune_pugixml STATIC "${KESTRUNE_PUGIXML_SOURCE}/src/pugixml.cpp")
    target_include_directories(kestrune_pugixml SYSTEM PUBLIC "${KESTRUNE_PUGIXML_SOURCE}/src")
    add_library(pugixml::pugixml ALIAS kestrune_pugixml)
endif()

if(NOT TARGET CLI11::CLI11)
    set(headers "${PROJECT_BINARY_DIR}/cross-headers")
    foreach(folder CLI nlohmann)
        if(NOT EXISTS "/usr/include/${folder}")
            message(FATAL_ERROR "/usr/include/${folder} is missing: run scripts/setup")
        endif()
        file(COPY "/usr/include/${folder}" DESTINATION "${headers}")
    endforeach()
    add_library(CLI11::CLI11 INTERFACE IMPORTED)
    target_include_directories(CLI11::CLI11 SYSTEM INTERFACE "${headers}")
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE "${headers}")
endif()

# Qt: a Qt 6 built for MinGW, from KESTRUNE_QT_MINGW or the cache folder that
# scripts/fetch-windows-deps and scripts/build-qt-mingw fill. Its tools (moc, rcc) are the host's.
if(KESTRUNE_BUILD_GUI)
    set(KESTRUNE_QT_MINGW "$ENV{KESTRUNE_QT_MINGW}" CACHE PATH "Qt 6 for MinGW: its install prefix")
    if(NOT KESTRUNE_QT_MINGW AND EXISTS "${KESTRUNE_WINDOWS_CACHE}/qt-6.4.2-mingw64/lib/cmake/Qt6/Qt6Config.cmake")
        set(KESTRUNE_QT_MINGW "${KESTRUNE_WINDOWS_CACHE}/qt-6.4.2-mingw64" CACHE PATH "" FORCE)
    endif()
    if(KESTRUNE_QT_MINGW AND EXISTS "${KESTRUNE_QT_MINGW}/lib/cmake/Qt6/Qt6Config.cmake")
        list(APPEND CMAKE_FIND_ROOT_PATH "${KESTRUNE_QT_MINGW}")
        set(QT_HOST_PATH "/usr" CACHE PATH "")
        set(QT_HOST_PATH_CMAKE_DIR "/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/cmake" CACHE PATH "")
        if(NOT EXISTS "${QT_HOST_PATH_CMAKE_DIR}/Qt6CoreTools")
            file(GLOB host_qt_dirs "/usr/lib/*/cmake/Qt6CoreTools")
            list(GET host_qt_dirs 0 host_qt_dir)
            get_filename_component(host_cmake_dir "${host_qt_dir}" DIRECTORY)
            set(QT_HOST_PATH_CMAKE_DIR "${host_cmake_dir}" CACHE PATH "" FORCE)
        endif()
        set(Qt6_DIR "${KESTRUNE_QT_MINGW}/lib/cmake/Qt6" CACHE PATH "" FORCE)
    else()
        message(NOTICE "kestrune.exe is left out: no Qt for MinGW (set KESTRUNE_QT_MINGW, or fill .cache/windows with scripts/fetch-windows-deps or scripts/build-qt-mingw)")
        set(KESTRUNE_BUILD_GUI OFF)
    endif()
endif()
