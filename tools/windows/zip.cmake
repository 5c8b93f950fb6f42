# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the Windows zip, the folder a player unzips, from the same install rules as the setup
# program: the files stripped, under one folder named as the package, in the order of their
# names, each with its installed mode, no owner, and SOURCE_DATE_EPOCH's time (the last
# commit's when it is not set). Its checksum then goes into SHA256SUMS beside it.
# (CPack's own zip takes the files in the order the disk lists them, which differs from one
# filesystem to another, and gives them the user who built it as their owner.)
#   cmake -D BUILD_DIR=build-windows [-D CONFIG=Release] -P tools/windows/zip.cmake
if(NOT BUILD_DIR)
    message(FATAL_ERROR "usage: cmake -D BUILD_DIR=FOLDER [-D CONFIG=Release] -P zip.cmake")
endif()
get_filename_component(build "${BUILD_DIR}" ABSOLUTE)
include("${build}/CPackConfig.cmake") # the package's name
include("${build}/cpack-time.cmake") # SOURCE_DATE_EPOCH, which strip and the zip write

set(top "${CPACK_PACKAGE_FILE_NAME}")
set(stage "${build}/zip")
file(REMOVE_RECURSE "${stage}")
set(config "")
if(CONFIG)
    set(config --config "${CONFIG}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${build}" ${config} --strip --prefix "${stage}/${top}"
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE files RELATIVE "${stage}" "${stage}/${top}/*") # in the order of their names
list(JOIN files "\n" lines)
file(WRITE "${stage}/files" "${lines}\n")
set(zip "${build}/${top}.zip")
file(REMOVE "${zip}")
# With SOURCE_DATE_EPOCH set, CMake gives every file that time, as its time of change, of access
# and of creation. A zip keeps its times in local time: UTC here.
set(ENV{TZ} UTC)
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${zip}" --format=zip --files-from=files
                WORKING_DIRECTORY "${stage}" COMMAND_ERROR_IS_FATAL ANY)

set(CPACK_PACKAGE_DIRECTORY "${build}")
set(CPACK_PACKAGE_FILES "${zip}")
include("${CMAKE_CURRENT_LIST_DIR}/../checksums.cmake")
