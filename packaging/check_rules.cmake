# Writes the companion's manual page with the rules of `check` in place of its marker
# line, as `check --help` lists them from the rule table, so that the page never re-types
# them. Run as: cmake -DCLI=... -DIN=... -DOUT=... -P check_rules.cmake
execute_process(COMMAND ${CLI} check --help OUTPUT_VARIABLE help RESULT_VARIABLE code)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "${CLI} check --help failed: ${code}")
endif()
string(FIND "${help}" "\nRules:\n" start)
if(start LESS 0)
    message(FATAL_ERROR "check --help lists no rules")
endif()
math(EXPR start "${start} + 8")
string(SUBSTRING "${help}" ${start} -1 rules)
string(FIND "${rules}" "\n\n" end)
string(SUBSTRING "${rules}" 0 ${end} rules)
# troff's own characters first; then each rule's reason on its header's line, and each
# rule an indented paragraph.
string(REPLACE "\\" "\\e" rules "${rules}")
string(REPLACE "-" "\\-" rules "${rules}")
string(REGEX REPLACE "\n      " " " rules "${rules}")
string(REGEX REPLACE "(^|\n)  ([^ \n]+) \\(([a-z]+)\\) " "\\1.TP\n.B \\2\n(\\3) " rules "${rules}")
file(READ ${IN} page)
string(REPLACE ".\\\" @CHECK_RULES@" "${rules}" page "${page}")
file(WRITE ${OUT} "${page}")
