# Run by `cmake --install` (see the top-level CMakeLists.txt): writes bin/quillmark and
# the desktop entry for the prefix being installed to. DESTDIR is honoured by file(INSTALL).

# A relative prefix counts from the folder the install runs in, as for file(INSTALL).
set(prefix "${CMAKE_INSTALL_PREFIX}")
cmake_path(ABSOLUTE_PATH prefix BASE_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE)
foreach(dir QUILLMARK_APPDIR QUILLMARK_BINDIR QUILLMARK_APPLICATIONS_DIR)
    cmake_path(ABSOLUTE_PATH ${dir} BASE_DIRECTORY "${prefix}" NORMALIZE)
endforeach()

# For the launcher: one single-quoted sh word.
string(REPLACE "'" "'\\''" QUILLMARK_APPDIR_SH "${QUILLMARK_APPDIR}")
set(QUILLMARK_APPDIR_SH "'${QUILLMARK_APPDIR_SH}'")

# For the desktop entry: Path is a string value (backslash escaped); Exec quotes its
# program unless the path is of plain characters, escaping as the entry format says.
string(REPLACE "\\" "\\\\" QUILLMARK_APPDIR_ENTRY "${QUILLMARK_APPDIR}")
set(program "${QUILLMARK_APPDIR}/quillmark")
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
               "${QUILLMARK_WORK_DIR}/quillmark.desktop" @ONLY)

file(INSTALL "${QUILLMARK_WORK_DIR}/quillmark" DESTINATION "${QUILLMARK_BINDIR}"
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)
file(INSTALL "${QUILLMARK_WORK_DIR}/quillmark.desktop"
     DESTINATION "${QUILLMARK_APPLICATIONS_DIR}")
