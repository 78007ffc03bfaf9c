// The swatches file shared by every fill panel: "swatches.txt" in the data folder "swatches",
// one line per swatch of 15 comma-separated numbers, the red, green and blue of colours
// 1, 2, 5, 3 and 4 in that order.
//
// The rules it keeps: the program never creates the file; loading only reads it; a line
// that is not exactly 15 numbers is skipped and kept whenever the file is written; a read
// or write error leaves the file as it was, and nobody is told (the panels stay silent).
#pragma once
#include "model/swatches/RecordMap.h"

// The file's path: the data folder "swatches", a backslash and "swatches.txt".
CString SwatchFilePath();

// Splits text at every separator (the next search starts after the whole separator) and
// stores the leading decimal value of each field, as atoi reads it, into values[0..14];
// further fields are not stored. Text after the last separator is a field when not empty.
// Returns how many fields the text has; *allNumbers (when given) says whether every field is
// a whole number (optional blanks and sign around digits).
int SplitString(LPCTSTR text, int values[15], LPCTSTR separator, bool* allNumbers = nullptr);

// The line of a swatch as the file holds it (without the line end).
CString SwatchLine(const SwatchRecord& record);
// The record of a line of exactly 15 numbers (id and spare 0); false for any other line.
bool ParseSwatchLine(const CString& line, SwatchRecord& record);

// Empties the map, stores the built-in swatch under key 0 and then the file's good lines
// under keys 1, 2, 3 ... in line order. A missing or unreadable file leaves only key 0.
void LoadSwatches(CRecordMap& map, LPCTSTR path);

enum class SwatchWrite {
    Written,   // the file now holds the change
    Unchanged, // nothing to do (the line is there already, or not there to remove)
    Failed     // the file is missing or could not be read or written: it is as it was
};
// Appends the line unless a line of the file equals it; a file not ending with a line
// break gets one first.
SwatchWrite AppendSwatchLine(LPCTSTR path, const CString& line);
// Drops every line equal to it: the kept lines go to a temporary file in the same folder,
// which replaces the file only once it is complete.
SwatchWrite RemoveSwatchLine(LPCTSTR path, const CString& line);
