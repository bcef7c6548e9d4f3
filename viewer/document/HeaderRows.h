// The header grid's rows and the way an edited row is read back into a
// header record. Free of windows, so that tests can check them directly.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "CsvExport.h"
#include "DataFile.h"
#include "Text.h"
#include "WrappingMath.h"

namespace quor {

struct HeaderRow {
    Text text;
    bool scrollTo = false;
    bool markEdited = false;
};

// What the header grid shows is what the export writes before its page: the
// header copy, the file size and the segment table (the page fields unused).
using HeaderFacts = ExportPage;

// One row at a time, in the grid's order: a file with a million segments
// never holds all its row texts at once.
using HeaderRowVisitor = std::function<void(const HeaderRow&)>;
void visitHeaderRows(const HeaderFacts& facts, const HeaderRowVisitor& rows);
std::vector<HeaderRow> buildHeaderRows(const HeaderFacts& facts);

// Sets the field that the row's label names from the row's second cell.
// false (and the record untouched) when the row names no field.
bool applyEditedRow(const char* rowText, DataFileHeader& record);

}  // namespace quor
