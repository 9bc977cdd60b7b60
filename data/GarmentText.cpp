#include "data/GarmentText.h"

#include "data/Csv.h"

#include <array>
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

std::string_view Trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// A field of the user's text inside a message: a piece long enough to recognise, cut where a
// character begins.
std::string Quoted(std::string_view field) {
    constexpr std::size_t kShown = 40;
    std::size_t cut = field.size();
    if (cut > kShown) {
        cut = kShown;
        while (cut > 0 && (static_cast<unsigned char>(field[cut]) & 0xC0) == 0x80)
            --cut;
    }
    // Appended piece by piece: GCC 12 takes a chain of + for an overlapping copy.
    std::string quoted(1, '"');
    quoted.append(field.substr(0, cut));
    if (cut < field.size())
        quoted.append("...");
    quoted += '"';
    return quoted;
}

constexpr std::size_t kNone = std::size_t(-1);

// The column of that name, or kNone.
std::size_t ColumnNamed(std::string_view name) {
    for (std::size_t k = 0; k < std::size(kColumns); ++k) {
        if (name == kColumns[k])
            return k;
    }
    return kNone;
}

// Where each of the eight columns stands in a line, from the header line's names. False with
// *pWhy when the header does not name every column exactly once.
bool ColumnsOf(const std::vector<std::string>& header, std::array<std::size_t, 8>* pAt,
               std::string* pWhy) {
    pAt->fill(kNone);
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string_view name = Trimmed(header[i]);
        const std::size_t k = ColumnNamed(name);
        if (k == kNone) {
            *pWhy =
                "the header line's " + Quoted(name) + " is not one of the columns " + Header(',');
            return false;
        }
        if ((*pAt)[k] != kNone) {
            *pWhy = std::string("the header line names ") + kColumns[k] + " twice";
            return false;
        }
        (*pAt)[k] = i;
    }
    for (std::size_t k = 0; k < pAt->size(); ++k) {
        if ((*pAt)[k] == kNone) {
            *pWhy = std::string("the header line does not name the column ") + kColumns[k];
            return false;
        }
    }
    return true;
}

// Whether the line heads a table: at least two of its fields name columns. Such a line is never
// taken for a garment's name, even when it does not name all eight.
bool IsHeaderLine(std::string_view line, char separator) {
    line = line.substr(0, line.find_first_of("\r\n"));
    if (line.find(separator) == std::string_view::npos)
        return false;
    csv::Row row;
    std::string error;
    std::size_t at = 0;
    int nLine = 1;
    if (!csv::ParseRecord(line, &at, &nLine, &row, &error, separator))
        return false;
    int nNamed = 0;
    for (const std::string& field : row.fields)
        nNamed += ColumnNamed(Trimmed(field)) != kNone;
    return nNamed >= 2;
}

} // namespace

bool ReadTable(std::string_view text, char separator, std::vector<CData>* pItems, std::string* pWhy,
               int* pLine, bool bSkipBlankLines) {
    std::size_t at = 0;
    int line = 1;
    *pLine = line;
    if (text.empty()) {
        *pWhy = "there is no header line naming the columns " + Header(',');
        return false;
    }
    csv::Row row;
    std::array<std::size_t, 8> columns{};
    if (!csv::ParseRecord(text, &at, &line, &row, pWhy, separator)) {
        *pLine = line;
        return false;
    }
    if (!ColumnsOf(row.fields, &columns, pWhy))
        return false;
    const std::size_t nColumns = row.fields.size();
    // One line at a time, straight into the list, so that no garment is held twice; taken off
    // again when a later line is wrong.
    const std::size_t nBefore = pItems->size();
    const auto fail = [&] {
        pItems->erase(pItems->begin() + std::ptrdiff_t(nBefore), pItems->end());
        return false;
    };
    std::vector<std::string> fields(std::size(kColumns));
    int nBlankLine = 0; // the first blank line, an error unless only blank lines follow it
    while (at < text.size()) {
        if (!csv::ParseRecord(text, &at, &line, &row, pWhy, separator)) {
            *pLine = line;
            return fail();
        }
        if (row.fields.size() == 1 && row.fields[0].empty()) {
            if (!bSkipBlankLines && nBlankLine == 0)
                nBlankLine = row.line;
            continue;
        }
        if (nBlankLine != 0) {
            *pLine = nBlankLine;
            *pWhy = "a blank line among the garments";
            return fail();
        }
        *pLine = row.line;
        if (row.fields.size() != nColumns) {
            *pWhy = std::to_string(row.fields.size()) + " fields instead of " +
                    std::to_string(nColumns);
            return fail();
        }
        for (std::size_t k = 0; k < fields.size(); ++k)
            fields[k].swap(row.fields[columns[k]]);
        CData data;
        if (!FromFields(fields, &data, pWhy))
            return fail();
        pItems->push_back(std::move(data));
    }
    return true;
}

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
            *pError = std::string(kColumns[i]) + " is not a whole number: " + Quoted(f);
            return false;
        }
        if (texts[i]) {
            // Text that is not UTF-8 does not come back the same.
            CString text = CString::FromUtf8(f);
            if (text.ToUtf8() != f) {
                *pError = std::string(kColumns[i]) + " is not UTF-8 text";
                return false;
            }
            *texts[i] = std::move(text);
        }
    }
    return true;
}

bool ReadPasted(std::string_view text, std::vector<CData>* pItems, std::string* pWhy) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") // spreadsheets like to add a byte-order mark
        text.remove_prefix(3);
    const std::string_view firstLine = text.substr(0, text.find('\n'));
    for (char separator : {'\t', ','}) {
        if (!IsHeaderLine(firstLine, separator))
            continue;
        const std::size_t nBefore = pItems->size();
        int line = 0;
        if (!ReadTable(text, separator, pItems, pWhy, &line, true)) {
            *pWhy = "line " + std::to_string(line) + ": " + *pWhy;
            return false;
        }
        if (pItems->size() == nBefore) {
            *pWhy = "there are no garments below the header line";
            return false;
        }
        return true;
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
                *pWhy = "the text has columns but no header line naming them " + Header(',');
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
    if (items.empty()) {
        *pWhy = "there is no text to paste";
        return false;
    }
    pItems->insert(pItems->end(), std::make_move_iterator(items.begin()),
                   std::make_move_iterator(items.end()));
    return true;
}

} // namespace garment_text
