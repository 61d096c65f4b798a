# Writes the manual page pemo.1 (and its gzip copy pemo.1.gz) from what `PROGRAM --help`
# prints, so the page and the program's usage text never disagree.
#   cmake -DPROGRAM=path/to/pemo -DVERSION=3.2 -DOUT=path/to/pemo.1 -P ManPage.cmake
foreach(v PROGRAM VERSION OUT)
  if(NOT DEFINED ${v})
    message(FATAL_ERROR "ManPage.cmake needs -D${v}=…")
  endif()
endforeach()

execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE usage RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR usage STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()
string(REGEX REPLACE "\n+$" "" usage "${usage}")
# "usage: " goes, and with it the indent that lines the other forms up under the first.
string(REGEX REPLACE "^usage: " "" usage "${usage}")
string(REPLACE "\n       " "\n" usage "${usage}")

# Roff escapes: a backslash is \e, a minus is \-, and a line may not begin with a
# control character (. or ') nor, in no-fill mode, be read as a request.
string(REPLACE "\\" "\\e" usage "${usage}")
string(REPLACE "-" "\\-" usage "${usage}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" usage "${usage}")

set(page [=[.TH PEMO 1 "" "pemo @VERSION@" "User Commands"
.SH NAME
pemo \- design and print price tags, posters and sale signs
.SH SYNOPSIS
.nf
@usage@
.fi
.SH DESCRIPTION
.B pemo
lays out shop signs, price tags and posters and prints one sign per product record.
Started with no option it opens its window, with
.I FILE
when one is given; a second start hands
.I FILE
to the window already open.
The options beginning with
.B \-\-dump ,
.B \-\-export ,
.B \-\-check
and
.B \-\-import
run without a display.
.SH EXIT STATUS
0 on success, 1 when a file is refused, 2 for a usage error, and 3 when
.B \-\-check
found something.
.SH FILES
.TP
.I /usr/lib/pemo
the installed program folder: the program, its help and the starter library of
backgrounds, templates, pictures and textures.
.TP
.I ~/.local/share/pemo
each user's own program folder, filled from the installed one on first use and after an
update (the environment variable
.B PEMO_HOME
names another). Removing the package leaves it in place.
.TP
.I ~/.local/share/pemo/recovery
recovery copies of documents with unsaved changes.
]=])
string(CONFIGURE "${page}" page @ONLY)
file(WRITE ${OUT} "${page}")
execute_process(COMMAND gzip -9n -c ${OUT} OUTPUT_FILE ${OUT}.gz RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed (${status})")
endif()
