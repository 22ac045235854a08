# quavern_embed_script(TARGET SOURCE HEADER NAME): makes the script SOURCE
# (a .js file of the source tree) a C++ header HEADER (a path below the
# build folder's generated/ include folder) that holds its text as the
# character array NAME, and adds it to TARGET. The scripts stay real
# JavaScript files, read and checked as such, and the program carries them
# without reading anything at run time.
set(QUAVERN_EMBED_SCRIPT_TOOL ${CMAKE_CURRENT_LIST_FILE})

if(CMAKE_SCRIPT_MODE_FILE)
    # Run at build time: cmake -DSOURCE=... -DHEADER=... -DNAME=... -P EmbedScript.cmake
    file(READ ${SOURCE} text)
    string(FIND "${text}" ")qvjs\"" clash)
    if(NOT clash EQUAL -1)
        message(FATAL_ERROR "${SOURCE} holds the raw string's end mark")
    endif()
    file(WRITE ${HEADER} "#pragma once\n\n// Made from ${SOURCE} by the build.\ninline constexpr char ${NAME}[] = R\"qvjs(${text})qvjs\";\n")
    return()
endif()

function(quavern_embed_script target source header name)
    set(generated ${CMAKE_BINARY_DIR}/generated)
    set(output ${generated}/${header})
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -DSOURCE=${CMAKE_CURRENT_SOURCE_DIR}/${source} -DHEADER=${output} -DNAME=${name}
                -P ${QUAVERN_EMBED_SCRIPT_TOOL}
        DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${source} ${QUAVERN_EMBED_SCRIPT_TOOL}
        COMMENT "Embedding ${source}" VERBATIM)
    target_sources(${target} PRIVATE ${output})
    target_include_directories(${target} PUBLIC ${generated})
endfunction()
