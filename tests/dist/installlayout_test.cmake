# cmake -DBUILD_FOLDER=... -DPREFIX=... -P installlayout_test.cmake
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_FOLDER} --prefix ${PREFIX}
                RESULT_VARIABLE installed OUTPUT_QUIET)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

# Everything but the help topics, whose names the help folder owns.
file(GLOB_RECURSE listing RELATIVE ${PREFIX} ${PREFIX}/*)
list(FILTER listing EXCLUDE REGEX "^share/tabilo/help/")
list(SORT listing)
set(expected
    bin/tabilo
    bin/tabilo-cli
    lib/tabilo/libspinwell.so
    lib/tabilo/libvelmor.so
    share/applications/tabilo.desktop
    share/icons/hicolor/scalable/apps/tabilo.svg
    share/man/man1/tabilo-cli.1
    share/metainfo/org.example.tabilo.metainfo.xml
    share/tabilo/Tabilo.dat)
if(NOT listing STREQUAL expected)
    string(REPLACE ";" "\n  " listing "${listing}")
    message(FATAL_ERROR "installed files:\n  ${listing}")
endif()
if(NOT EXISTS ${PREFIX}/share/tabilo/help/contents.html)
    message(FATAL_ERROR "no help contents in share/tabilo/help")
endif()

# The bridge loads the engine by its bare name from its own folder.
execute_process(COMMAND readelf -d ${PREFIX}/lib/tabilo/libspinwell.so OUTPUT_VARIABLE dynamic)
if(NOT dynamic MATCHES "RUNPATH\\)[^\n]*\\[\\$ORIGIN\\]")
    message(FATAL_ERROR "libspinwell.so has no RUNPATH of $ORIGIN:\n${dynamic}")
endif()
