# cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=kName -DNAMESPACE=ns -P EmbedFile.cmake
# Writes INPUT's bytes as a C++ array.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" length)
math(EXPR size "${length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
"// Generated from ${INPUT} by cmake/EmbedFile.cmake.\n#include <cstddef>\n#include <cstdint>\n\nnamespace ${NAMESPACE} {\nextern const std::uint8_t ${NAME}[];\nextern const std::size_t ${NAME}Size;\nconst std::uint8_t ${NAME}[] = {\n${bytes}\n};\nconst std::size_t ${NAME}Size = ${size};\n}  // namespace ${NAMESPACE}\n")
