# Writes the manual page of one program from its own --help and --version:
# with help2man when it is installed, else a plain page of the same text.
#   cmake -DPROGRAMM=… -DNAME=… -DKURZ=… -DHELP2MAN=… -DAUSGABE=… -P handbuch.cmake
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{LC_ALL} C.UTF-8)
if(HELP2MAN)
  # The name goes in through a file: help2man reads files in the locale's
  # encoding but takes --name for Latin-1.
  string(REPLACE "-" "\\-" name_roff "${NAME}")
  file(WRITE ${AUSGABE}.h2m "[NAME]\n${name_roff} \\- ${KURZ}\n")
  execute_process(
    COMMAND ${HELP2MAN} --no-info --section=1 --locale=C.UTF-8 --include=${AUSGABE}.h2m
            --output=${AUSGABE} ${PROGRAMM}
    RESULT_VARIABLE status ERROR_VARIABLE meldung)
  file(REMOVE ${AUSGABE}.h2m)
  if(status EQUAL 0)
    return()
  endif()
  message(STATUS "help2man für ${NAME} fehlgeschlagen (${meldung}); einfache Handbuchseite")
endif()

execute_process(COMMAND ${PROGRAMM} --help OUTPUT_VARIABLE hilfe RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAMM} --help endete mit Status ${status}")
endif()
execute_process(COMMAND ${PROGRAMM} --version OUTPUT_VARIABLE version)
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" version "${version}")
# Backslashes and lines that start like a request are taken literally.
string(REPLACE "\\" "\\e" hilfe "${hilfe}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" hilfe "${hilfe}")
string(REPLACE "-" "\\-" name_roff "${NAME}")
string(TOUPPER "${NAME}" titel)
file(WRITE ${AUSGABE}
".TH ${titel} 1 \"\" \"${NAME} ${version}\" \"Benutzerbefehle\"
.SH NAME
${name_roff} \\- ${KURZ}
.SH BESCHREIBUNG
.nf
${hilfe}.fi
")
