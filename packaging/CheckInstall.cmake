# Installs the build into STAGE/usr and checks the installed tree: program,
# the preview's browser library, templates, launcher, metadata and every icon
# in place, the program starting, the validators satisfied.
#   cmake -DBUILD_DIR=... -DSTAGE=... -DAPP_ID=... -DENGINE=... -DMODEL_DIR=...
#         [-DDESKTOP_FILE_VALIDATE=...] [-DAPPSTREAMCLI=...] -P CheckInstall.cmake

file(REMOVE_RECURSE "${STAGE}")
set(prefix "${STAGE}/usr")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(expected
    bin/quillmere
    ${ENGINE}
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml
    share/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(size 16 32 48 64 128 256)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
if(EXISTS "${MODEL_DIR}")
    file(GLOB_RECURSE templates RELATIVE "${MODEL_DIR}" "${MODEL_DIR}/*")
    foreach(template IN LISTS templates)
        list(APPEND expected share/quillmere/Model/${template})
    endforeach()
endif()
foreach(file IN LISTS expected)
    if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "Not installed: ${file}")
    endif()
endforeach()

# The installed program runs from where it landed.
execute_process(COMMAND "${prefix}/bin/quillmere" --version
    OUTPUT_VARIABLE version COMMAND_ERROR_IS_FATAL ANY)
if(NOT version MATCHES "^澜石层叠样式表编辑器 [0-9]+\\.[0-9]+\\.[0-9]+\n$")
    message(FATAL_ERROR "The installed program answered --version with: ${version}")
endif()

if(DESKTOP_FILE_VALIDATE)
    execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${prefix}/share/applications/${APP_ID}.desktop"
        COMMAND_ERROR_IS_FATAL ANY)
endif()
if(APPSTREAMCLI)
    # The tree check also ties the metadata to its launcher and icon.
    execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net --strict
        "${prefix}/share/metainfo/${APP_ID}.metainfo.xml" COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND "${APPSTREAMCLI}" validate-tree --no-net "${STAGE}"
        COMMAND_ERROR_IS_FATAL ANY)
endif()
