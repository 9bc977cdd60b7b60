#include "data/Csv.h"

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

bool Parse(std::string_view text, std::vector<Row>* pRows, std::string* pError, int* pLine,
           char separator) {
    std::size_t i = 0;
    int line = 1;
    const std::size_t n = text.size();
    auto fail = [&](const char* message, int at) {
        *pError = message;
        *pLine = at;
        return false;
    };
    while (i < n) {
        Row row{{}, line};
        for (;;) { // one field per pass
            std::string field;
            if (i < n && text[i] == '"') {
                const int opened = line;
                ++i;
                for (;;) {
                    if (i >= n)
                        return fail("quoted field is not closed", opened);
                    char c = text[i++];
                    if (c == '"') {
                        if (i < n && text[i] == '"') {
                            field += '"';
                            ++i;
                            continue;
                        }
                        break;
                    }
                    if (c == '\n')
                        ++line;
                    field += c;
                }
                if (i < n && text[i] != separator && text[i] != '\r' && text[i] != '\n')
                    return fail("text after the closing quote of a field", line);
            } else {
                while (i < n && text[i] != separator && text[i] != '\r' && text[i] != '\n') {
                    if (text[i] == '"')
                        return fail("quote inside a field that is not quoted", line);
                    field += text[i++];
                }
            }
            row.fields.push_back(std::move(field));
            if (i < n && text[i] == separator) {
                ++i;
                continue;
            }
            break;
        }
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
        pRows->push_back(std::move(row));
    }
    // Editors and spreadsheets often end the file with an empty line.
    while (!pRows->empty() && pRows->back().fields.size() == 1 && pRows->back().fields[0].empty())
        pRows->pop_back();
    return true;
}

} // namespace csv
