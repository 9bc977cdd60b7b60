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
    int line;
};

// Appends one field, quoted only when it holds the separator, a quote or a line break.
void AppendField(std::string& out, std::string_view field, char separator = ',');

// Splits a whole CSV text into rows. Line ends outside quotes may be CRLF or LF; inside
// quotes everything is kept as written; empty lines at the end are dropped. Returns false
// with *pError and *pLine set on malformed input (a stray quote, text after a closing quote,
// an unclosed quote).
bool Parse(std::string_view text, std::vector<Row>* pRows, std::string* pError, int* pLine,
           char separator = ',');

} // namespace csv
