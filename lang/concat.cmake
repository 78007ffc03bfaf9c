# Byte-exact concatenation (no re-encoding): Greek stays in code page 1253.
get_filename_component(dir ${OUT} DIRECTORY)
file(MAKE_DIRECTORY ${dir})
file(WRITE ${OUT} "")
foreach(f ${FRAGS})
  file(READ ${f} content)
  file(APPEND ${OUT} "${content}")
endforeach()
