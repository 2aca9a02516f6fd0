# Run by `cmake --install` (see the top-level CMakeLists.txt): writes bin/quillmark and
# the desktop entry, which starts the program through it, and the site window's entry when
# its program is built, for the prefix being installed to. DESTDIR is honoured by
# file(INSTALL).

# A relative prefix counts from the folder the install runs in, as for file(INSTALL).
set(prefix "${CMAKE_INSTALL_PREFIX}")
cmake_path(ABSOLUTE_PATH prefix BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
set(dirs QUILLMARK_APPDIR QUILLMARK_PROGRAM QUILLMARK_BINDIR QUILLMARK_APPLICATIONS_DIR)
if(QUILLMARK_SITE_PROGRAM)
    list(APPEND dirs QUILLMARK_SITE_PROGRAM)
endif()
foreach(dir IN LISTS dirs)
    cmake_path(ABSOLUTE_PATH ${dir} BASE_DIRECTORY "${prefix}" NORMALIZE)
endforeach()

# For the launcher: single-quoted sh words.
foreach(path QUILLMARK_APPDIR QUILLMARK_PROGRAM)
    string(REPLACE "'" "'\\''" ${path}_SH "${${path}}")
    set(${path}_SH "'${${path}_SH}'")
endforeach()

# For a desktop entry: Exec quotes the program unless its path is of plain characters,
# escaping as the entry format says.
function(exec_entry out program)
    string(REPLACE "%" "%%" program "${program}")
    if(program MATCHES "[^A-Za-z0-9/._+,=@-]")
        foreach(char "\\" "\"" "`" "$")
            string(REPLACE "${char}" "\\${char}" program "${program}")
        endforeach()
        set(program "\"${program}\"")
    endif()
    string(REPLACE "\\" "\\\\" program "${program}")
    set(${out} "${program}" PARENT_SCOPE)
endfunction()
exec_entry(QUILLMARK_EXEC_ENTRY "${QUILLMARK_BINDIR}/quillmark")

configure_file("${QUILLMARK_TEMPLATES}/quillmark.sh.in" "${QUILLMARK_WORK_DIR}/quillmark" @ONLY)
configure_file("${QUILLMARK_TEMPLATES}/quillmark.desktop.in"
               "${QUILLMARK_WORK_DIR}/${QUILLMARK_APP_ID}.desktop" @ONLY)

file(INSTALL "${QUILLMARK_WORK_DIR}/quillmark" DESTINATION "${QUILLMARK_BINDIR}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)
file(INSTALL "${QUILLMARK_WORK_DIR}/${QUILLMARK_APP_ID}.desktop"
     DESTINATION "${QUILLMARK_APPLICATIONS_DIR}")

if(QUILLMARK_SITE_PROGRAM)
    exec_entry(QUILLMARK_SITE_EXEC_ENTRY "${QUILLMARK_SITE_PROGRAM}")
    configure_file("${QUILLMARK_TEMPLATES}/quillmark-site.desktop.in"
                   "${QUILLMARK_WORK_DIR}/${QUILLMARK_SITE_APP_ID}.desktop" @ONLY)
    file(INSTALL "${QUILLMARK_WORK_DIR}/${QUILLMARK_SITE_APP_ID}.desktop"
         DESTINATION "${QUILLMARK_APPLICATIONS_DIR}")
endif()
