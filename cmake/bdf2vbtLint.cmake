# cmake -DVBTDUMP=... -DFONT=... [-DOPTIONS=...] -P bdf2vbtLint.cmake: what
# bdf2vbt_add_fonts(... LINT) runs before it converts a font. The findings of
# vbtdump --lint go to the build log as FONT.bdf:LINE: error|warning: ...,
# which IDEs link; warnings let the build go on, errors fail it.
execute_process(COMMAND "${VBTDUMP}" --lint ${OPTIONS} "${FONT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0 AND NOT status EQUAL 1)
  message(FATAL_ERROR "bdf2vbt_add_fonts: ${FONT} has errors, and bdf2vbt would fail on it")
endif()
