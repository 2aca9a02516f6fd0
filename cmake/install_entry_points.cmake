# Run by `cmake --install` (see the top-level CMakeLists.txt): writes bin/quillmark and
# the desktop entry, which starts the program through it, for the prefix being installed
# to. DESTDIR is honoured by file(INSTALL).

# A relative prefix counts from the folder the install runs in, as for file(INSTALL).
set(prefix "${CMAKE_INSTALL_PREFIX}")
cmake_path(ABSOLUTE_PATH prefix BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
foreach(dir QUILLMARK_APPDIR QUILLMARK_PROGRAM QUILLMARK_BINDIR QUILLMARK_APPLICATIONS_DIR)
    cmake_path(ABSOLUTE_PATH ${dir} BASE_DIRECTORY "${prefix}" NORMALIZE)
endforeach()

# For the launcher: single-quoted sh words.
foreach(path QUILLMARK_APPDIR QUILLMARK_PROGRAM)
    string(REPLACE "'" "'\\''" ${path}_SH "${${path}}")
    set(${path}_SH "'${${path}_SH}'")
endforeach()

# For the desktop entry: Exec quotes the launcher unless its path is of plain characters,
# escaping as the entry format says.
set(program "${QUILLMARK_BINDIR}/quillmark")
string(REPLACE "%" "%%" program "${program}")
if(program MATCHES "[^A-Za-z0-9/._+,=@-]")
    foreach(char "\\" "\"" "`" "$")
        string(REPLACE "${char}" "\\${char}" program "${program}")
    endforeach()
    set(program "\"${program}\"")
endif()
string(REPLACE "\\" "\\\\" QUILLMARK_EXEC_ENTRY "${program}")

configure_file("${QUILLMARK_TEMPLATES}/quillmark.sh.in" "${QUILLMARK_WORK_DIR}/quillmark" @ONLY)
configure_file("${QUILLMARK_TEMPLATES}/quillmark.desktop.in"
               "${QUILLMARK_WORK_DIR}/${QUILLMARK_APP_ID}.desktop" @ONLY)

file(INSTALL "${QUILLMARK_WORK_DIR}/quillmark" DESTINATION "${QUILLMARK_BINDIR}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)
file(INSTALL "${QUILLMARK_WORK_DIR}/${QUILLMARK_APP_ID}.desktop"
     DESTINATION "${QUILLMARK_APPLICATIONS_DIR}")
