# Part of check_install.cmake: the installed file types. The sample files are typed through a scratch
# MIME database merged from the system's descriptions and ours, as a desktop sees them; the menu
# caches the install refreshed name Vantor as the application for the types it opens.
set(scratch ${PREFIX}/types)
set(home ${scratch}/home)
file(MAKE_DIRECTORY ${scratch}/share/mime/packages ${home}/data ${home}/config)
# Nothing of the user's own settings takes part.
set(environment XDG_DATA_HOME=${home}/data XDG_CONFIG_HOME=${home}/config --unset=XDG_CURRENT_DESKTOP)

find_tool(UPDATE_MIME update-mime-database)
find_tool(GIO gio)
if(UPDATE_MIME AND GIO)
    file(GLOB system_types /usr/share/mime/packages/*.xml)
    file(COPY ${system_types} ${PREFIX}/share/mime/packages/vantor.xml DESTINATION ${scratch}/share/mime/packages)
    expect_silent_success("update-mime-database"
        ${CMAKE_COMMAND} -E env ${environment} XDG_DATA_DIRS=${scratch}/share ${UPDATE_MIME} ${scratch}/share/mime)

    set(files ${scratch}/files)
    file(MAKE_DIRECTORY ${files})
    foreach(sample island.map island.scn island_hm.scn island.tst)
        file(COPY ${PREFIX}/share/vantor/${sample} DESTINATION ${files})
    endforeach()
    file(COPY_FILE ${files}/island.map ${files}/ISLAND.MAP)
    expect_silent_success("vantor-cli convert" ${PREFIX}/bin/vantor-cli convert ${files}/island.map ${files}/island.amf)
    # The header alone types an ASCII map without its extension, but never outweighs another's glob.
    file(COPY_FILE ${files}/island.amf ${files}/island-ascii)
    file(COPY_FILE ${files}/island.amf ${files}/notes.txt)
    # The glob alone types an ASCII map that lacks its header.
    file(WRITE ${files}/plain.amf "FF 7F 00\n")
    # The other program's text scenes keep their type: their first line is its magic.
    file(WRITE ${files}/level.scn "[gd_scene load_steps=2 format=3]\n")
    file(READ /usr/share/mime/packages/freedesktop.org.xml system_xml)
    set(scene_type)
    if(system_xml MATCHES "application/x-godot-scene")
        set(scene_type application/x-godot-scene)
    else()
        message(STATUS "the system's MIME database has no other *.scn: skipped the check of a foreign scene")
    endif()

    foreach(case island.map:application/x-vantor-map ISLAND.MAP:application/x-vantor-map
                 island.amf:text/x-vantor-ascii-map island-ascii:text/x-vantor-ascii-map
                 plain.amf:text/x-vantor-ascii-map notes.txt:text/plain
                 island.scn:application/x-ketura-scenario island_hm.scn:application/x-ketura-scenario
                 island.tst:text/x-ketura-city-list level.scn:${scene_type})
        string(REPLACE ":" ";" case "${case}")
        list(GET case 0 name)
        list(LENGTH case parts)
        if(parts EQUAL 1)
            continue()
        endif()
        list(GET case 1 type)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} XDG_DATA_DIRS=${scratch}/share
                                ${GIO} info -a standard::content-type ${files}/${name}
                        OUTPUT_VARIABLE info ERROR_VARIABLE info)
        if(NOT info MATCHES "standard::content-type: ${type}\n")
            message(FATAL_ERROR "${name} is not typed ${type}:\n${info}")
        endif()
    endforeach()
endif()

find_tool(XDG_MIME xdg-mime)
if(XDG_MIME AND EXISTS ${PREFIX}/share/applications/mimeinfo.cache)
    foreach(type application/x-vantor-map text/x-vantor-ascii-map application/x-ketura-scenario)
        execute_process(COMMAND ${CMAKE_COMMAND} -E env ${environment} XDG_DATA_DIRS=${PREFIX}/share
                                ${XDG_MIME} query default ${type}
                        OUTPUT_VARIABLE application ERROR_VARIABLE application)
        if(NOT application STREQUAL "vantor.desktop\n")
            message(FATAL_ERROR "xdg-mime query default ${type}: ${application}")
        endif()
    endforeach()
elseif(XDG_MIME)
    message(STATUS "update-desktop-database made no menu cache: skipped the default application")
endif()
