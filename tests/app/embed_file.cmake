# Writes a C++ source that holds the bytes of INPUT as the array kTranslation.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "static const unsigned char kTranslation[] = {${bytes}};\n")
