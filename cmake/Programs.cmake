# add_lumera_program(Name "description" sources...): a GUI program of the suite with the
# shared manifest and version information, statically linked, listed for the import check.
function(add_lumera_program name description)
    set(PROGRAM_NAME ${name})
    set(PROGRAM_DESCRIPTION ${description})
    configure_file(${PROJECT_SOURCE_DIR}/src/controls/res/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc @ONLY)
    add_executable(${name} WIN32 ${ARGN} ${CMAKE_CURRENT_BINARY_DIR}/${name}_version.rc)
    # windres reads the manifest, icons and pictures a resource script names, but the build
    # does not see them: a changed manifest or icon must still rebuild the program.
    foreach(source ${ARGN})
        if(source MATCHES "\\.rc$")
            get_filename_component(folder ${source} DIRECTORY)
            file(GLOB resources ${folder}/*.manifest ${folder}/*.ico ${folder}/*.bmp)
            set_property(SOURCE ${source} APPEND PROPERTY OBJECT_DEPENDS
                         ${resources} ${PROJECT_SOURCE_DIR}/src/controls/res/program.manifest)
        endif()
    endforeach()
    target_link_options(${name} PRIVATE -municode)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src/controls/res)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
    set_property(GLOBAL APPEND PROPERTY LUMERA_PROGRAMS ${name})
    # Debug information goes into <program>.debug beside it: left inside, the loader maps the
    # DWARF sections with the image, and Wine reads them into private memory (about 10 MB for
    # the tray program, with a slower start). gdb finds the file through the debug link.
    if(CMAKE_OBJCOPY)
        add_custom_command(TARGET ${name} POST_BUILD
            COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${name}> $<TARGET_FILE:${name}>.debug
            COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE_NAME:${name}>.debug
                    $<TARGET_FILE:${name}>
            WORKING_DIRECTORY $<TARGET_FILE_DIR:${name}>
            VERBATIM)
    endif()
endfunction()
