# SPDX-License-Identifier: GPL-3.0-or-later
# The game's web page, built with emscripten's toolchain (tools/web/build.sh): the program on
# the core and the page's own front end, with the page's files beside it in page/, the folder
# that any web server serves as it is.
set(page ${CMAKE_CURRENT_BINARY_DIR}/page)
add_executable(gromzaks
    runtime/web/main.cpp
    runtime/web/page.cpp
    runtime/web/webwindow.cpp
)
target_link_libraries(gromzaks PRIVATE gromzaks_core gromzaks_warnings)
set_target_properties(gromzaks PROPERTIES AUTOMOC OFF AUTORCC OFF RUNTIME_OUTPUT_DIRECTORY ${page})
# The page loads the program as a module of its own (Gromzaks), and calls it only through
# ccall, which awaits a call that waits in a box (asyncify). The boxes' answers come back in
# memory the program frees. No file system: the program reads and writes no file.
target_link_options(gromzaks PRIVATE
    --no-entry
    -sMODULARIZE=1 -sEXPORT_NAME=Gromzaks -sENVIRONMENT=web
    -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
    -sEXPORTED_RUNTIME_METHODS=ccall -sEXPORTED_FUNCTIONS=_malloc,_free
    -sALLOW_MEMORY_GROWTH=1 -sFILESYSTEM=0)

set(web_files index.html style.css page.js manifest.webmanifest)
foreach(file IN LISTS web_files)
    configure_file(assets/web/${file} ${page}/${file} COPYONLY)
endforeach()
configure_file(assets/icons/32.png ${page}/gromzaks.png COPYONLY)
configure_file(assets/icons/192.png ${page}/icons/192.png COPYONLY)
configure_file(assets/icons/512.png ${page}/icons/512.png COPYONLY)
# The game's licence, and that of emscripten's C and C++ libraries, which the program carries.
configure_file(LICENSE ${page}/LICENCE.txt COPYONLY)
list(APPEND web_files gromzaks.js gromzaks.wasm gromzaks.png icons/192.png icons/512.png LICENCE.txt)
set(emscripten_copyright /usr/share/doc/emscripten/copyright) # where Debian's package has it
if(EXISTS ${emscripten_copyright})
    configure_file(${emscripten_copyright} ${page}/licences/emscripten-copyright.txt COPYONLY)
    list(APPEND web_files licences/emscripten-copyright.txt)
endif()

# The service worker keeps every file of the page for playing offline, in a cache named after
# their contents, so that a new build replaces the old one; and their checksums go beside them.
# Made at every build, after the program: a page's file may change without the program.
add_custom_target(gromzaks_offline ALL
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${page} -DTEMPLATE=${CMAKE_CURRENT_SOURCE_DIR}/assets/web/sw.js
            "-DFILES=${web_files}" -P ${CMAKE_CURRENT_SOURCE_DIR}/runtime/web/offline.cmake
    VERBATIM)
add_dependencies(gromzaks_offline gromzaks)
