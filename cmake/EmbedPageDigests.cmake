# Writes the SHA-256 digests (hexadecimal) of a page template's one <style> element and its one
# <script> element without attributes, as C++ string literals, for the page's Content-Security-Policy.
file(READ ${INPUT} CONTENT)

function(element_digest TAG VARIABLE)
  string(FIND "${CONTENT}" "<${TAG}>" START)
  if(START EQUAL -1)
    message(FATAL_ERROR "${INPUT}: no <${TAG}> element")
  endif()
  string(LENGTH "<${TAG}>" OPENING)
  math(EXPR START "${START} + ${OPENING}")
  string(SUBSTRING "${CONTENT}" ${START} -1 REST)
  string(FIND "${REST}" "</${TAG}>" LENGTH)
  if(LENGTH EQUAL -1)
    message(FATAL_ERROR "${INPUT}: <${TAG}> is not closed")
  endif()
  string(SUBSTRING "${REST}" 0 ${LENGTH} BODY)
  string(SHA256 DIGEST "${BODY}")
  set(${VARIABLE} ${DIGEST} PARENT_SCOPE)
endfunction()

element_digest(style STYLE_DIGEST)
element_digest(script SCRIPT_DIGEST)
file(WRITE ${OUTPUT} "inline constexpr const char* StyleDigestHex = \"${STYLE_DIGEST}\";\n"
                     "inline constexpr const char* ScriptDigestHex = \"${SCRIPT_DIGEST}\";\n")
