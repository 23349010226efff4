# Writes a UTF-8 text file as Windows editors expect it: a byte-order mark and CR LF line ends.
#   cmake -DIN=source.md -DOUT=target.txt -P windows_text.cmake
string(ASCII 239 187 191 bom)
file(READ "${IN}" text)
string(REGEX REPLACE "^${bom}" "" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${bom}${text}")
