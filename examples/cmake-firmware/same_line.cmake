# cmake -DDRAW_LINE=... -DVBTDUMP=... -DFONT=... -DTEXT=... -P same_line.cmake:
# fails unless draw_line draws TEXT in FONT as vbtdump --text does.
execute_process(COMMAND ${DRAW_LINE} ${FONT} ${TEXT} OUTPUT_VARIABLE drawn RESULT_VARIABLE drawn_status)
execute_process(COMMAND ${VBTDUMP} --text ${TEXT} ${FONT} OUTPUT_VARIABLE expected RESULT_VARIABLE expected_status)
if(NOT drawn_status EQUAL 0 OR NOT expected_status EQUAL 0 OR NOT drawn STREQUAL expected)
  message(FATAL_ERROR "draw_line drew (status ${drawn_status}):\n${drawn}\nvbtdump --text (status ${expected_status}):\n${expected}")
endif()
