# Installs the build into a scratch prefix and checks that the programs, samples, menu entries and
# icons are there, and that the menu entries are valid where desktop-file-validate is installed.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(expected bin/vantor bin/vantor-cli bin/dovrel bin/dovrel-cli
    share/vantor/til.pfp share/vantor/island.map share/vantor/island_hm.scn share/vantor/island.scn
    share/vantor/island.tst share/applications/vantor.desktop share/applications/dovrel.desktop)
foreach(set 00 01 02 03 04 05 06 07 08 09 10 11 12 13 14 15)
    list(APPEND expected share/vantor/Set${set}m.bmp)
endforeach()
foreach(program vantor dovrel)
    foreach(size 48 256)
        list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${program}.png)
    endforeach()
endforeach()
foreach(file ${expected})
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "the install lacks ${file}")
    endif()
endforeach()
# An installed vantor-cli draws with the installed sets: its program folder holds none.
execute_process(COMMAND ${PREFIX}/bin/vantor-cli render ${PREFIX}/share/vantor/island.map ${PREFIX}/island.png
                RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0 OR NOT errors STREQUAL "" OR NOT EXISTS ${PREFIX}/island.png)
    message(FATAL_ERROR "the installed vantor-cli did not render the island with the installed sets: ${errors}")
endif()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/vantor.desktop
                            ${PREFIX}/share/applications/dovrel.desktop
                    RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE report)
    if(NOT status EQUAL 0 OR NOT report STREQUAL "")
        message(FATAL_ERROR "desktop-file-validate: ${report}")
    endif()
else()
    message(STATUS "desktop-file-validate is not installed: the menu entries were not validated")
endif()
file(REMOVE_RECURSE ${PREFIX})
