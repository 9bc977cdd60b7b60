#include "data/GarmentText.h"

#include "data/Csv.h"

#include <climits>
#include <cstdint>
#include <iterator>
#include <utility>

namespace garment_text {

namespace {

bool ParseNumber(const std::string& text, LONG* pValue) {
    if (text.empty() || text.size() > 11)
        return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size())
        return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        v = v * 10 + (text[i] - '0');
    }
    if (text[0] == '-')
        v = -v;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    *pValue = LONG(v);
    return true;
}

bool IsUtf8(const std::string& s) {
    return CString::FromUtf8(s).ToUtf8() == s;
}

std::string_view Trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// The text's garments are added all together, and only when there are some.
bool Append(std::vector<CData>&& items, std::vector<CData>* pItems, const char* pszWhyNone,
            std::string* pWhy) {
    if (items.empty()) {
        *pWhy = pszWhyNone;
        return false;
    }
    pItems->insert(pItems->end(), std::make_move_iterator(items.begin()),
                   std::make_move_iterator(items.end()));
    return true;
}

bool ReadTable(std::string_view text, char separator, std::vector<CData>* pItems,
               std::string* pWhy) {
    std::vector<csv::Row> rows;
    std::string error;
    int line = 0;
    if (!csv::Parse(text, &rows, &error, &line, separator)) {
        *pWhy = "line " + std::to_string(line) + ": " + error;
        return false;
    }
    std::vector<CData> items;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const csv::Row& row = rows[r];
        if (row.fields.size() == 1 && row.fields[0].empty())
            continue; // a blank line
        const std::string where = "line " + std::to_string(row.line) + ": ";
        if (row.fields.size() != std::size(kColumns)) {
            *pWhy = where + std::to_string(row.fields.size()) + " fields instead of 8";
            return false;
        }
        CData data;
        if (!FromFields(row.fields, &data, &error)) {
            *pWhy = where + error;
            return false;
        }
        items.push_back(std::move(data));
    }
    return Append(std::move(items), pItems, "there are no garments below the header line", pWhy);
}

} // namespace

std::string Header(char separator) {
    std::string header;
    for (const char* name : kColumns) {
        if (!header.empty())
            header += separator;
        header += name;
    }
    return header;
}

std::string Write(const std::vector<CData>& items, char separator, std::string_view lineEnd) {
    std::string out = Header(separator);
    out += lineEnd;
    for (const CData& d : items)
        AppendLine(out, d, separator, lineEnd);
    return out;
}

void AppendLine(std::string& out, const CData& d, char separator, std::string_view lineEnd) {
    const std::string fields[] = {std::to_string(d.m_bAtCleaners),
                                  d.m_strItemName.ToUtf8(),
                                  d.m_strQty.ToUtf8(),
                                  d.m_strSize.ToUtf8(),
                                  d.m_strNote.ToUtf8(),
                                  std::to_string(d.m_nMonth),
                                  std::to_string(d.m_nDay),
                                  std::to_string(d.m_nYear)};
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (i > 0)
            out += separator;
        csv::AppendField(out, fields[i], separator);
    }
    out += lineEnd;
}

bool FromFields(const std::vector<std::string>& fields, CData* pData, std::string* pError) {
    if (fields.size() != std::size(kColumns)) {
        *pError = "expected 8 fields, found " + std::to_string(fields.size());
        return false;
    }
    CData& d = *pData;
    LONG* numbers[] = {&d.m_bAtCleaners, nullptr,     nullptr,   nullptr,
                       nullptr,          &d.m_nMonth, &d.m_nDay, &d.m_nYear};
    CString* texts[] = {nullptr,      &d.m_strItemName, &d.m_strQty, &d.m_strSize,
                        &d.m_strNote, nullptr,          nullptr,     nullptr};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& f = fields[i];
        if (numbers[i] && !ParseNumber(f, numbers[i])) {
            *pError = std::string(kColumns[i]) + " is not a whole number: \"" + f + "\"";
            return false;
        }
        if (texts[i]) {
            if (!IsUtf8(f)) {
                *pError = std::string(kColumns[i]) + " is not UTF-8 text";
                return false;
            }
            *texts[i] = CString::FromUtf8(f);
        }
    }
    return true;
}

bool ReadPasted(std::string_view text, std::vector<CData>* pItems, std::string* pWhy) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") // spreadsheets like to add a byte-order mark
        text.remove_prefix(3);
    const std::string_view firstLine = Trimmed(text.substr(0, text.find('\n')));
    for (char separator : {'\t', ','}) {
        if (firstLine == Header(separator))
            return ReadTable(text, separator, pItems, pWhy);
    }

    std::vector<CData> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty())
            continue;
        for (char c : line) {
            if (c == '\t') {
                *pWhy = "the text has columns but not the header line " + Header(',');
                return false;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                *pWhy = "the text holds control characters";
                return false;
            }
        }
        CData data;
        data.m_strItemName = CString::FromUtf8(std::string(line));
        data.m_strQty = u"1";
        items.push_back(std::move(data));
    }
    return Append(std::move(items), pItems, "there is no text to paste", pWhy);
}

} // namespace garment_text
