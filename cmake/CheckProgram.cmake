# Runs the program PROGRAM as a user would from a terminal, without a display,
# and checks its exit status, standard output and standard error: the usage,
# a usage error, a list past the window's 64 MiB, a list that ends with a
# runtime error, the same with exact counts (-g) and one past their bound,
# and the window asked for where no display can be reached.
# WORK is a folder for the long list.

# expect(<name> EXIT <status> [ENV <VAR=value>...] [ARGS <arg>...]
#        [STDOUT <regex> | OUTPUT_FILE <file>] [STDERR <regex>] [NOT_STDERR <regex>])
function(expect name)
  cmake_parse_arguments(PARSE_ARGV 1 RUN "" "EXIT;STDOUT;STDERR;NOT_STDERR;OUTPUT_FILE" "ENV;ARGS")
  if(DEFINED RUN_OUTPUT_FILE)
    set(output OUTPUT_FILE ${RUN_OUTPUT_FILE})
  else()
    set(output OUTPUT_VARIABLE out)
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY
            --unset=QT_QPA_PLATFORM ${RUN_ENV} ${PROGRAM} ${RUN_ARGS}
    RESULT_VARIABLE status ${output} ERROR_VARIABLE err)
  set(problems)
  if(NOT status STREQUAL RUN_EXIT)
    list(APPEND problems "exit status ${status}, not ${RUN_EXIT}")
  endif()
  if(DEFINED RUN_STDOUT AND NOT out MATCHES "${RUN_STDOUT}")
    list(APPEND problems "standard output does not match ${RUN_STDOUT}")
  endif()
  if(DEFINED RUN_STDERR AND NOT err MATCHES "${RUN_STDERR}")
    list(APPEND problems "standard error does not match ${RUN_STDERR}")
  endif()
  if(DEFINED RUN_NOT_STDERR AND err MATCHES "${RUN_NOT_STDERR}")
    list(APPEND problems "standard error matches ${RUN_NOT_STDERR}")
  endif()
  if(problems)
    message(SEND_ERROR "${name}: ${problems}\n--- standard output:\n${out}\n--- standard error:\n${err}")
  endif()
endfunction()

expect("help" EXIT 0 ARGS --help STDOUT "^Aufruf: partitionen .*Beispiel:" STDERR "^$")
expect("version" EXIT 0 ARGS --version STDOUT "^partitionen [0-9]+\\.[0-9]+\\.[0-9]+\n$")
expect("usage error" EXIT 2 ARGS -b 3 STDOUT "^$"
  STDERR "^partitionen: [^\n]*\n[^\n]*partitionen --help[^\n]*\n$")
expect("list ending in a runtime error" EXIT 1 ARGS -b 1 -n 225 -k 300 -m 3
  STDOUT "^Summanden von 1 bis  300\n 225  \\( 44700\\):   2114965120\n 226  \\( 44698\\):  $"
  STDERR "^Laufzeitfehler '6': Überlauf\n$")
expect("exact counts where the Longs overflow" EXIT 0 ARGS -b 1 -g -n 225 -k 300 -m 1
  STDOUT "^Summanden von 1 bis  300\n 225  \\( 44700\\):   2114965120\n 226  \\( 44698\\):   2239229960\n$"
  STDERR "^$")
expect("exact counts past their bound" EXIT 2 ARGS -b 2 --genau -n 500000 -m 500001 STDOUT "^$"
  STDERR "^partitionen: Nicht berechnet: [^\n]* bis n \\+ m = 1\\.000\\.000, verlangt ist n \\+ m = 1\\.000\\.001\\.\n$")

# Output that cannot be written is named, with the reason, after the runtime
# error where there is one.
set(full_disk "kann nicht geschrieben werden: auf dem Datenträger ist kein Platz mehr\\.\n$")
expect("help to a full disk" EXIT 1 ARGS --help OUTPUT_FILE /dev/full
  STDERR "^partitionen: Die Hilfe ${full_disk}")
expect("runtime error and a full disk" EXIT 1 ARGS -b 1 -n 225 -k 300 -m 3 OUTPUT_FILE /dev/full
  STDERR "^Laufzeitfehler '6': Überlauf\npartitionen: Die Liste ${full_disk}")

# The sentence first, naming the display or platform, then what Qt and the
# libraries said; never Qt's abort.
set(sentence "^partitionen: Das Fenster kann nicht geöffnet werden, weil [^\n]*")
foreach(case
    "nothing set|weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt|"
    "unreachable X display|„:99“ \\(DISPLAY\\)[^\n]*\n.*could not connect to display :99|DISPLAY=:99"
    "unreachable Wayland display|„nowhere“ \\(WAYLAND_DISPLAY\\)|WAYLAND_DISPLAY=nowhere;QT_QPA_PLATFORM=wayland"
    "missing platform plugin|„nowhere“ aus QT_QPA_PLATFORM|QT_QPA_PLATFORM=nowhere"
    "a platform without a screen|„linuxfb“ aus QT_QPA_PLATFORM[^\n]*\n.*screen|QT_QPA_PLATFORM=linuxfb;QT_QPA_FB_DISABLE_INPUT=1")
  string(REPLACE "|" ";" case "${case}")
  list(POP_FRONT case name names)
  expect("window without a display, ${name}" EXIT 1 ENV ${case}
    STDOUT "^$" STDERR "${sentence}${names}" NOT_STDERR "[Rr]einstall|[Aa]bort")
endforeach()

# 3,000,001 lines, some 88 MiB: past what the window holds, streamed on.
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND ${PROGRAM} -b 2 -k 2 -m 2999999
  OUTPUT_FILE "${WORK}/long_list" RESULT_VARIABLE status)
file(SIZE "${WORK}/long_list" size)
math(EXPR tail_offset "${size} - 64")
file(READ "${WORK}/long_list" tail OFFSET ${tail_offset})
file(REMOVE "${WORK}/long_list")
if(NOT status EQUAL 0 OR size LESS 67108864 OR NOT tail MATCHES "\n 2999999  \\(-5999995\\):   1500000\n$")
  message(SEND_ERROR "long list: exit status ${status}, ${size} bytes, ending ${tail}")
endif()
