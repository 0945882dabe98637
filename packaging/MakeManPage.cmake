# cmake -DCLI=kavo-cli -DTEMPLATE=kavo-cli.1.in -DOUTPUT=kavo-cli.1 -DPROJECT_VERSION=x.y.z
#       -DKAVO_RELEASE_DATE=yyyy-mm-dd -P MakeManPage.cmake
# Fills the COMMANDS section of kavo-cli's manual page from the program's own help, so that the
# page always lists the commands the program has.

function(roff_text text result)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "-" "\\-" text "${text}")
    # A line that begins with a dot or an apostrophe would be read as a request.
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

function(program_help result)
    execute_process(COMMAND ${CLI} ${ARGN} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${CLI} ${ARGN} --help failed")
    endif()
    set(${result} "${help}" PARENT_SCOPE)
endfunction()

program_help(usage)
string(REGEX MATCHALL "\n  [a-z][a-z-]* " entries "${usage}")
set(KAVO_COMMANDS "")
foreach(entry ${entries})
    string(STRIP "${entry}" name)
    program_help(help ${name})
    # The first line is the usage, which becomes the heading.
    string(REGEX MATCH "^usage: kavo-cli [^\n]*" synopsis "${help}")
    string(REPLACE "usage: kavo-cli " "" synopsis "${synopsis}")
    string(REGEX REPLACE "^usage: kavo-cli [^\n]*\n\n" "" help "${help}")
    roff_text("${synopsis}" synopsis)
    roff_text("${help}" help)
    string(APPEND KAVO_COMMANDS ".SS ${synopsis}\n.nf\n${help}.fi\n")
endforeach()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
