# Ruffle, the Flash Player emulator in WebAssembly that the exported page can load and test
# play serves. scripts/deps.sh fetches the pinned npm package into a cache outside the source
# tree; the build unpacks it into <build>/share/rkedit/ruffle, the place it has below an
# installed prefix, so the programs find it the same way (<their folder>/../share/rkedit/ruffle)
# in both. Without the package the build still works: the programs say where they looked.
set(RKEDIT_RUFFLE_VERSION 0.6.0)
set(RKEDIT_RUFFLE_SHA512
    3f65f5cc310d06888bb766633dcb14cda0f1a11edf545d9ed54fdb8bb85b2004048e4ca4c658d2a06f0081bcb01ef9555732fd639b4864c46a0f0226df58e03c)

if(DEFINED ENV{RKEDIT_CACHE_DIR})
    set(_ruffle_cache "$ENV{RKEDIT_CACHE_DIR}")
elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(_ruffle_cache "$ENV{XDG_CACHE_HOME}/rkedit")
else()
    set(_ruffle_cache "$ENV{HOME}/.cache/rkedit")
endif()
set(RKEDIT_RUFFLE_PACKAGE "${_ruffle_cache}/ruffle-rs-ruffle-${RKEDIT_RUFFLE_VERSION}.tgz"
    CACHE FILEPATH "The @ruffle-rs/ruffle npm package (scripts/deps.sh fetches it)")

set(RKEDIT_RUFFLE_BUILD_DIR "${CMAKE_BINARY_DIR}/share/rkedit/ruffle")
if(EXISTS "${RKEDIT_RUFFLE_PACKAGE}")
    set(RKEDIT_HAVE_RUFFLE ON)
    set(_ruffle_stamp "${CMAKE_BINARY_DIR}/share/rkedit/ruffle.stamp")
    add_custom_command(OUTPUT "${_ruffle_stamp}"
        COMMAND ${CMAKE_COMMAND} -DPACKAGE=${RKEDIT_RUFFLE_PACKAGE}
                -DSHA512=${RKEDIT_RUFFLE_SHA512} -DDEST=${RKEDIT_RUFFLE_BUILD_DIR}
                -DSTAMP=${_ruffle_stamp} -P ${CMAKE_CURRENT_LIST_DIR}/UnpackRuffle.cmake
        DEPENDS "${RKEDIT_RUFFLE_PACKAGE}" ${CMAKE_CURRENT_LIST_DIR}/UnpackRuffle.cmake
        COMMENT "Unpacking Ruffle ${RKEDIT_RUFFLE_VERSION} into share/rkedit/ruffle"
        VERBATIM)
    add_custom_target(ruffle ALL DEPENDS "${_ruffle_stamp}")
    install(DIRECTORY "${RKEDIT_RUFFLE_BUILD_DIR}/" DESTINATION share/rkedit/ruffle)
else()
    set(RKEDIT_HAVE_RUFFLE OFF)
    message(STATUS "Ruffle package not found at ${RKEDIT_RUFFLE_PACKAGE} (scripts/deps.sh "
                   "fetches it): Ruffle export and test play will report it missing")
endif()
