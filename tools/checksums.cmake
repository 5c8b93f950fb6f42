# SPDX-License-Identifier: GPL-3.0-or-later
# Run by cpack after it has made its packages: their checksums go into SHA256SUMS beside them,
# in sha256sum's own format, so that `sha256sum -c SHA256SUMS` checks a download. A package made
# by another run of cpack (the zip, then the setup program) keeps its line.
set(sums "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS")
set(lines "")
if(EXISTS "${sums}")
    file(STRINGS "${sums}" lines)
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    get_filename_component(name "${package}" NAME)
    list(FILTER lines EXCLUDE REGEX "  ${name}$")
    file(SHA256 "${package}" hash)
    list(APPEND lines "${hash}  ${name}")
endforeach()
list(SORT lines)
list(JOIN lines "\n" text)
file(WRITE "${sums}" "${text}\n")
