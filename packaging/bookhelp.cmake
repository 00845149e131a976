# cmake -DREADME=README.md -DPAGE=book-help.md -P bookhelp.cmake: writes the tank book's help
# page, the README's part on the book (from "## The tank book" to the next part), without its
# pictures, which the help window does not show.
file(READ "${README}" text)
string(FIND "${text}" "\n## The tank book\n" start)
if(start EQUAL -1)
    message(FATAL_ERROR "${README} has no part \"## The tank book\"")
endif()
math(EXPR start "${start} + 1")
string(SUBSTRING "${text}" ${start} -1 text)
string(FIND "${text}" "\n## " end)
string(SUBSTRING "${text}" 0 ${end} text)
string(REGEX REPLACE "\n!\\[[^\n]*\\]\\([^\n]*\\)\n" "\n" text "${text}")
file(WRITE "${PAGE}" "${text}\n")
