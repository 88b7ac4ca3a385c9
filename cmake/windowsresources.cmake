# Windows: a program's icon (made from the project's SVG with rsvg-convert
# and icotool, at the sizes Explorer shows) and its version block, from the
# project's one version number.
if(WIN32)
    enable_language(RC)
endif()
set(ROVI_ICON_SVG ${PROJECT_SOURCE_DIR}/packaging/net.rovi.ReaderTool.svg)

function(rovi_windows_resources target description)
    if(NOT WIN32)
        return()
    endif()
    set(ico ${PROJECT_BINARY_DIR}/rovi-tool.ico)
    if(NOT TARGET rovi_icon)
        find_program(RSVG_CONVERT rsvg-convert REQUIRED)
        find_program(ICOTOOL icotool REQUIRED)
        set(pngs)
        foreach(size 16 24 32 48 64 256)
            set(png ${PROJECT_BINARY_DIR}/icon/${size}.png)
            add_custom_command(OUTPUT ${png}
                COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icon
                COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${ROVI_ICON_SVG}
                DEPENDS ${ROVI_ICON_SVG} VERBATIM)
            list(APPEND pngs ${png})
        endforeach()
        add_custom_command(OUTPUT ${ico} COMMAND ${ICOTOOL} -c -o ${ico} ${pngs} DEPENDS ${pngs} VERBATIM)
        add_custom_target(rovi_icon DEPENDS ${ico})
    endif()
    set(ROVI_EXE ${target})
    set(ROVI_ICON ${ico})
    set(ROVI_DESCRIPTION "${description}")
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ico})
    add_dependencies(${target} rovi_icon)
endfunction()
