// RFC 4180 CSV as the list's export format: UTF-8 text, CRLF line ends. The same rules with a
// tab for the comma make the clipboard's table text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace csv {

// One record of the input and the line it starts on (1-based), for messages.
struct Row {
    std::vector<std::string> fields;
    int line = 0;
};

// Appends one field, quoted only when it holds the separator, a quote or a line break.
void AppendField(std::string& out, std::string_view field, char separator = ',');

// Reads the record that starts at text[*pAt], on line *pLine, into *pRow (a blank line is one
// empty field), and moves both past it and its line end, so that records are read one at a time
// and never all held at once. Line ends outside quotes may be CRLF or LF; inside quotes
// everything is kept as written. False with *pError, and *pLine on the fault, on malformed input
// (a stray quote, text after a closing quote, an unclosed quote, a carriage return alone).
bool ParseRecord(std::string_view text, std::size_t* pAt, int* pLine, Row* pRow,
                 std::string* pError, char separator = ',');

} // namespace csv
