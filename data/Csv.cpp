#include "data/Csv.h"

#include <algorithm>

namespace csv {

void AppendField(std::string& out, std::string_view field, char separator) {
    const char special[] = {separator, '"', '\r', '\n', '\0'};
    if (field.find_first_of(special) == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

bool ParseRecord(std::string_view text, std::size_t* pAt, int* pLine, Row* pRow,
                 std::string* pError, char separator) {
    std::size_t i = *pAt;
    int line = *pLine;
    const std::size_t n = text.size();
    auto fail = [&](const char* message, int at) {
        *pError = message;
        *pLine = at;
        return false;
    };
    pRow->line = line;
    std::size_t nFields = 0;
    for (;; ++nFields) { // one field per pass; the row's strings are used again
        if (nFields == pRow->fields.size())
            pRow->fields.emplace_back();
        std::string& field = pRow->fields[nFields];
        field.clear();
        if (i < n && text[i] == '"') {
            const int opened = line;
            ++i;
            for (;;) {
                const std::size_t quote = text.find('"', i);
                if (quote == std::string_view::npos)
                    return fail("quoted field is not closed", opened);
                const std::string_view piece = text.substr(i, quote - i);
                for (char c : piece)
                    line += c == '\n';
                field += piece;
                i = quote + 1;
                if (i < n && text[i] == '"') { // a doubled quote stands for one
                    field += '"';
                    ++i;
                    continue;
                }
                break;
            }
            if (i < n && text[i] != separator && text[i] != '\r' && text[i] != '\n')
                return fail("text after the closing quote of a field", line);
        } else {
            const char stops[] = {separator, '\r', '\n', '"', '\0'};
            const std::size_t end = std::min(text.find_first_of(stops, i), n);
            if (end < n && text[end] == '"')
                return fail("quote inside a field that is not quoted", line);
            field.assign(text.substr(i, end - i));
            i = end;
        }
        if (i < n && text[i] == separator) {
            ++i;
            continue;
        }
        break;
    }
    pRow->fields.resize(nFields + 1);
    if (i < n && text[i] == '\r') {
        if (i + 1 < n && text[i + 1] == '\n')
            ++i;
        else
            return fail("carriage return without a line feed", line);
    }
    if (i < n) { // the line feed
        ++i;
        ++line;
    }
    *pAt = i;
    *pLine = line;
    return true;
}

} // namespace csv
