# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack once it has installed the files and before makensis runs: the lines that install
# them and the lines that uninstall them, for our NSIS template, in the order of their names.
# (NSIS's `File /r` and CPack's own lists take the files in the order the disk lists them, which
# differs from one filesystem to another; so would the setup program's bytes.)
file(GLOB_RECURSE files RELATIVE "${CPACK_TEMPORARY_DIRECTORY}" "${CPACK_TEMPORARY_DIRECTORY}/*")
set(install "")
set(uninstall "")
set(folders "")
set(here "")
foreach(file IN LISTS files) # in the order of their names, so a folder's files come together
    get_filename_component(folder "${file}" DIRECTORY)
    if(NOT folder STREQUAL here)
        set(here "${folder}")
        string(REPLACE "/" "\\" path "\\${folder}")
        string(REGEX REPLACE "\\\\$" "" path "${path}")
        string(APPEND install "    SetOutPath \"$INSTDIR${path}\"\n")
        while(NOT folder STREQUAL "") # and the folders it is in, all removed on uninstalling
            list(APPEND folders "${folder}")
            get_filename_component(folder "${folder}" DIRECTORY)
        endwhile()
    endif()
    string(REPLACE "/" "\\" path "${file}")
    string(APPEND install "    File \"\${INST_DIR}\\${path}\"\n")
    string(APPEND uninstall "    Delete \"$INSTDIR\\${path}\"\n")
endforeach()
string(APPEND install "    SetOutPath \"$INSTDIR\"") # where the shortcut starts the game
list(REMOVE_DUPLICATES folders)
list(SORT folders)
list(REVERSE folders) # a folder's subfolders before it
foreach(folder IN LISTS folders)
    string(REPLACE "/" "\\" path "${folder}")
    string(APPEND uninstall "    RMDir \"$INSTDIR\\${path}\"\n")
endforeach()
set(CPACK_GROMZAKS_INSTALL_FILES "${install}")
set(CPACK_GROMZAKS_UNINSTALL_FILES "${uninstall}")
