/* The converted font, linked into flash as it is: FONT_FILE names it. */
  .section .rodata.font, "a"
  .balign 4
  .global hello_font
hello_font:
  .incbin FONT_FILE
  .global hello_font_end
hello_font_end:
