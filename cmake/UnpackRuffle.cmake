# cmake -DPACKAGE=… -DSHA512=… -DDEST=… -DSTAMP=… -P UnpackRuffle.cmake
# Unpacks the Ruffle npm package into DEST: the player's scripts, its WebAssembly modules,
# package.json (which names the version) and the two licence files; no source maps.
file(SHA512 "${PACKAGE}" got)
if(NOT got STREQUAL SHA512)
    message(FATAL_ERROR "${PACKAGE} is not the pinned Ruffle package (SHA-512 ${got}); "
                        "delete it and run scripts/deps.sh again")
endif()
set(work "${DEST}.unpack")
file(REMOVE_RECURSE "${work}" "${DEST}")
file(MAKE_DIRECTORY "${work}")
file(ARCHIVE_EXTRACT INPUT "${PACKAGE}" DESTINATION "${work}")
file(GLOB maps "${work}/package/*.map")
file(REMOVE ${maps} "${work}/package/README.md")
file(RENAME "${work}/package" "${DEST}")
file(REMOVE_RECURSE "${work}")
file(TOUCH "${STAMP}")
