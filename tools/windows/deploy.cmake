# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` and `cpack` give a Windows player: one folder to unzip, with the
# program at its top, exactly the libraries and plugins it loads, Qt's French words, the
# licence and a short read-me. Included by the main CMakeLists.txt on Windows builds, native or
# cross-built; works the same on both, without Qt's deployment tool.

install(TARGETS gromzaks RUNTIME_DEPENDENCY_SET gromzaks_libraries RUNTIME DESTINATION .)

# Qt loads its window-system plugin and the native style from folders beside the program.
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsIntegrationPlugin
        RUNTIME_DEPENDENCY_SET gromzaks_libraries LIBRARY DESTINATION platforms RUNTIME DESTINATION platforms)
foreach(style Qt6::QWindowsVistaStylePlugin Qt6::QModernWindowsStylePlugin) # before and after Qt 6.7
    if(TARGET ${style})
        install(IMPORTED_RUNTIME_ARTIFACTS ${style}
                RUNTIME_DEPENDENCY_SET gromzaks_libraries LIBRARY DESTINATION styles RUNTIME DESTINATION styles)
    endif()
endforeach()

# Qt's libraries, those the program links; the plugins need no others.
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::Core Qt6::Gui Qt6::Widgets RUNTIME DESTINATION . LIBRARY DESTINATION .)

# With MinGW, its C++ runtime: the libraries that the program, Qt and the plugins import, followed
# from one to the next. Windows' own are left to Windows, and Qt's are above (a cross-build
# would look for Windows' lowercase names of them on a case-sensitive disk).
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qt_core_dll)
    get_target_property(qt_core_dll Qt6::Core LOCATION)
endif()
get_filename_component(qt_bin_dir "${qt_core_dll}" DIRECTORY)
set(library_dirs "${qt_bin_dir}")
if(MINGW)
    get_filename_component(compiler_dir "${CMAKE_CXX_COMPILER}" DIRECTORY)
    list(APPEND library_dirs "${compiler_dir}")
    foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(IS_ABSOLUTE "${found}")
            get_filename_component(found_dir "${found}" DIRECTORY)
            list(APPEND library_dirs "${found_dir}")
        endif()
    endforeach()
    list(REMOVE_DUPLICATES library_dirs)
endif()
if(CMAKE_CROSSCOMPILING) # read the imports with the cross-built tools, not the host's
    install(CODE "set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
                  set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
                  set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND \"${CMAKE_OBJDUMP}\")")
endif()
install(RUNTIME_DEPENDENCY_SET gromzaks_libraries DESTINATION .
        PRE_INCLUDE_REGEXES "^lib"
        PRE_EXCLUDE_REGEXES ".*"
        DIRECTORIES ${library_dirs})
if(MSVC)
    set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION .)
    include(InstallRequiredSystemLibraries)
endif()
# Qt's DLLs come unstripped from a release build of Qt: a stripped install strips them too.
# Linking and stripping write a time into each Windows program's header: SOURCE_DATE_EPOCH's,
# which package.sh sets.
if(CMAKE_STRIP)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
            foreach(dll IN LISTS dlls)
                execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\${dll}\" COMMAND_ERROR_IS_FATAL ANY)
            endforeach()
        endif()")
endif()

# Qt's own words in French (in the input boxes' context menus, say), from the target Qt
# or, cross-built, from the host's (the same words for any platform).
find_file(GROMZAKS_QT_FRENCH qtbase_fr.qm
          PATHS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_TRANSLATIONS}"
                "${QT_HOST_PATH}/${QT6_HOST_INFO_TRANSLATIONSDIR}"
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(GROMZAKS_QT_FRENCH)
    install(FILES "${GROMZAKS_QT_FRENCH}" DESTINATION translations)
else()
    message(WARNING "qtbase_fr.qm not found (set GROMZAKS_QT_FRENCH): Qt's own words would be in English")
endif()

# The licence and the read-me, with Windows' line ends for any text editor.
file(READ "${CMAKE_CURRENT_SOURCE_DIR}/LICENSE" licence)
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/LICENCE.txt" "${licence}")
configure_file(tools/windows/LISEZMOI.txt.in LISEZMOI.txt @ONLY NEWLINE_STYLE WIN32)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/LICENCE.txt" "${CMAKE_CURRENT_BINARY_DIR}/LISEZMOI.txt" DESTINATION .)

string(TOLOWER "${CMAKE_SYSTEM_PROCESSOR}" arch)
if(arch MATCHES "^(amd64|x86_64|x64)$")
    set(arch x86_64)
endif()
set(CPACK_PACKAGE_FILE_NAME "gromzaks-${PROJECT_VERSION}-windows-${arch}")

# The licences of what the folder carries besides the game (Qt's, the compiler runtime's), when
# the build is given a folder of them.
set(GROMZAKS_NOTICES_DIR "" CACHE PATH "Folder of third-party licence texts shipped in licences/")
if(GROMZAKS_NOTICES_DIR)
    install(DIRECTORY "${GROMZAKS_NOTICES_DIR}/" DESTINATION licences)
endif()

# The setup program, `cpack -G NSIS`, from the same install rules: our own template beside this
# file, with its lists of files from setup-files.cmake, for all users in Program Files (64-bit),
# under the name of the zip with "-setup". The zip is zip.cmake's.
set(CPACK_GENERATOR NSIS)
set(CPACK_MODULE_PATH "${CMAKE_CURRENT_LIST_DIR}")
set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/setup-files.cmake")
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Gromzaks)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Gromzaks) # the same for every version: upgrades find it
set(CPACK_NSIS_PACKAGE_NAME Gromzaks)
set(CPACK_NSIS_DISPLAY_NAME Gromzaks)
set(CPACK_NSIS_INSTALLED_ICON_NAME gromzaks.exe)
set(CPACK_NSIS_MUI_ICON "${CMAKE_CURRENT_SOURCE_DIR}/assets/icons/gromzaks.ico")
set(CPACK_NSIS_MUI_UNIICON "${CPACK_NSIS_MUI_ICON}")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_CURRENT_BINARY_DIR}/LICENCE.txt")
string(REPLACE "," "." CPACK_GROMZAKS_VERSION_QUAD "${GROMZAKS_VERSION_COMMAS}")
file(WRITE "${CMAKE_CURRENT_BINARY_DIR}/CPackPerGenerator.cmake"
     "include(\"${CMAKE_CURRENT_BINARY_DIR}/cpack-time.cmake\")\n"
     "if(CPACK_GENERATOR STREQUAL NSIS)\n    string(APPEND CPACK_PACKAGE_FILE_NAME -setup)\nendif()\n")
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_CURRENT_BINARY_DIR}/CPackPerGenerator.cmake")
