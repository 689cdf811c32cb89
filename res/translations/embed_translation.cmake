# Writes the C++ text of a language library's data: its display name NAME and the bytes of the
# compiled translation INPUT.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "static const char kDisplayName[] = \"${NAME}\";\n"
  "static const unsigned char kTranslation[] = {${bytes}};\n")
