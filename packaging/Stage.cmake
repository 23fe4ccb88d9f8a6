# Stages the package: cmake -DDEST=... -DSTATE=... -DFILES=a;b;c -P Stage.cmake
# What the last staging put there is removed first (the names are kept in STATE), so a
# program dropped from the suite leaves the package too; anything else in DEST is left
# alone, whatever folder DEST names.
if(EXISTS "${STATE}")
    file(STRINGS "${STATE}" previous)
    foreach(name IN LISTS previous)
        file(REMOVE "${DEST}/${name}")
    endforeach()
endif()
file(MAKE_DIRECTORY "${DEST}")
set(names "")
foreach(file IN LISTS FILES)
    get_filename_component(name "${file}" NAME)
    file(COPY "${file}" DESTINATION "${DEST}")
    string(APPEND names "${name}\n")
endforeach()
file(WRITE "${STATE}" "${names}")
