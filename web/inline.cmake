# Puts the compiled page script (with the WebAssembly already inside it) into the HTML template,
# so that the page is one file that loads nothing from anywhere, with the script's SHA-256 beside
# it: the page checks its own copy against it before it starts. DAMAGED and NO_SCRIPT are the
# files of the notes it shows when its script does not start: on a damaged copy, without JavaScript.
# SCALAR_MODULE holds the program's build without SIMD, packed, in base64 (packmodule.js), for the
# element the script reads it from where a browser refuses SIMD; the packing's own checksum, not
# the hash, guards it.
#   cmake -DTEMPLATE=... -DSCRIPT=... -DOUTPUT=... -DDAMAGED=... -DNO_SCRIPT=... -DSCALAR_MODULE=...
#         -P inline.cmake
file(READ "${TEMPLATE}" page)
file(READ "${SCRIPT}" script)
# A "</script" inside the script would end the element early; "<\/script" means the same in JS.
string(REPLACE "</script" "<\\/script" script "${script}")
# The browser reads a carriage return in the page as a line feed; the hash is of what it reads.
string(REPLACE "\r\n" "\n" script "${script}")
string(REPLACE "\r" "\n" script "${script}")
string(SHA256 hash "${script}")
string(FIND "${page}" "@KVELMOR_SCRIPT@" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${TEMPLATE} has no @KVELMOR_SCRIPT@")
endif()
string(SUBSTRING "${page}" 0 ${at} head)
math(EXPR after "${at} + 16")
string(SUBSTRING "${page}" ${after} -1 tail)
string(REPLACE "@KVELMOR_SCRIPT_SHA256@" "${hash}" head "${head}")
file(READ "${DAMAGED}" damaged)
file(READ "${NO_SCRIPT}" no_script)
file(READ "${SCALAR_MODULE}" scalar_module)
foreach(placeholder IN ITEMS @KVELMOR_DAMAGED@ @KVELMOR_NO_SCRIPT@ @KVELMOR_SCALAR_MODULE@)
  string(FIND "${head}" "${placeholder}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "${TEMPLATE} has no ${placeholder}")
  endif()
endforeach()
string(REPLACE "@KVELMOR_DAMAGED@" "${damaged}" head "${head}")
string(REPLACE "@KVELMOR_NO_SCRIPT@" "${no_script}" head "${head}")
string(REPLACE "@KVELMOR_SCALAR_MODULE@" "${scalar_module}" head "${head}")
file(WRITE "${OUTPUT}" "${head}${script}${tail}")
