// Garments as table text: the list's CSV export, and the clipboard's tab-separated text that a
// spreadsheet splits into columns. A header line names the eight fields; one line a garment.
#pragma once

#include "data/Data.h"

#include <string>
#include <string_view>
#include <vector>

namespace garment_text {

inline constexpr const char* kColumns[8] = {"AC",   "Item Name", "Qty", "Size",
                                            "Note", "Month",     "Day", "Year"};

// The header line's text, without its line end.
std::string Header(char separator);
// One garment's line, ended by lineEnd, appended to out; UTF-8.
void AppendLine(std::string& out, const CData& data, char separator, std::string_view lineEnd);
// The header line and one line per garment, each ended by lineEnd; UTF-8.
std::string Write(const std::vector<CData>& items, char separator, std::string_view lineEnd);
// One garment from its eight fields. False with *pError, naming the column, when a number is
// not a whole number or a text is not UTF-8.
bool FromFields(const std::vector<std::string>& fields, CData* pData, std::string* pError);
// Garments from table text whose first line names the eight columns, in any order: the columns
// are read by their names, as a spreadsheet may have moved them. Blank lines are skipped when
// bSkipBlankLines (a selection of spreadsheet rows may hold some), else they are errors. False
// with *pWhy and *pLine (1-based) when the text cannot be read; pItems is left alone then.
bool ReadTable(std::string_view text, char separator, std::vector<CData>* pItems, std::string* pWhy,
               int* pLine, bool bSkipBlankLines = false);
// Garments from pasted text: table text (tabs or commas) whose first line names columns, or
// plain lines, each a garment named by the line with quantity "1". False with *pWhy, a sentence for
// the user, when the text cannot be read; pItems is left alone then.
bool ReadPasted(std::string_view text, std::vector<CData>* pItems, std::string* pWhy);

} // namespace garment_text
