# tovak_add_version_resource(TARGET DESCRIPTION): builds a version resource into the program
# TARGET (file and product version, product name, description), which Explorer's details and
# update tools read.
function(tovak_add_version_resource target description)
    set(TOVAK_RC_DESCRIPTION "${description}")
    set(TOVAK_RC_FILE_NAME "${target}.exe")
    set(rc ${TOVAK_GENERATED_DIR}/${target}_version.rc)
    configure_file(${CMAKE_SOURCE_DIR}/resources/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()
