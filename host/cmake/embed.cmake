# Writes OUTPUT, a C++ source that defines the NUL-terminated character array
# SYMBOL (C linkage) holding the bytes of INPUT.
#   cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P embed.cmake
file(READ "${INPUT}" _hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," _bytes "${_hex}")
file(WRITE "${OUTPUT}"
  "/* Generated from ${INPUT} by embed.cmake; do not edit. */\n"
  "extern \"C\" char const ${SYMBOL}[] = {\n   ${_bytes}'\\0'};\n")
