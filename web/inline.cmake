# Puts the compiled page script (with the WebAssembly already inside it) into the HTML template,
# so that the page is one file that loads nothing from anywhere.
#   cmake -DTEMPLATE=... -DSCRIPT=... -DOUTPUT=... -P inline.cmake
file(READ "${TEMPLATE}" page)
file(READ "${SCRIPT}" script)
# A "</script" inside the script would end the element early; "<\/script" means the same in JS.
string(REPLACE "</script" "<\\/script" script "${script}")
string(FIND "${page}" "@KVELMOR_SCRIPT@" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${TEMPLATE} has no @KVELMOR_SCRIPT@")
endif()
string(SUBSTRING "${page}" 0 ${at} head)
math(EXPR after "${at} + 16")
string(SUBSTRING "${page}" ${after} -1 tail)
file(WRITE "${OUTPUT}" "${head}${script}${tail}")
