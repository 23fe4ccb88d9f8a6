# Fails when a program's embedded manifest does not declare long-path awareness: without it
# Windows refuses paths beyond 260 characters to the program. Run with -DPROGRAMS="a.exe;b.exe".
foreach(program IN LISTS PROGRAMS)
    file(STRINGS ${program} declared REGEX "<longPathAware[^>]*>true</longPathAware>")
    if(NOT declared)
        message(FATAL_ERROR "${program} does not declare long-path awareness in its manifest")
    endif()
    message(STATUS "${program}: long-path aware")
endforeach()
