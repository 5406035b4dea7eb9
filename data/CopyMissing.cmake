# Copies each starter table into DEST unless DEST already has a file of that name.
file(MAKE_DIRECTORY ${DEST})
file(GLOB tables ${SOURCE}/*)
foreach(table ${tables})
    get_filename_component(name ${table} NAME)
    if(NOT EXISTS ${DEST}/${name})
        file(COPY ${table} DESTINATION ${DEST})
    endif()
endforeach()
