# Turns a text file into a C++ raw string literal that an #include can place in code.
file(READ ${INPUT} CONTENT)
set(DELIMITER "TARNWICK_EMBED")
file(WRITE ${OUTPUT} "R\"${DELIMITER}(${CONTENT})${DELIMITER}\"\n")
