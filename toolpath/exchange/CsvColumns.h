// The columns of a segment table, as the CSV reader takes them and the writer writes them: in
// the element's order, each with its name in a header.
#pragma once

enum CsvColumn { kCsvX, kCsvY, kCsvZ, kCsvAcceleration, kCsvSpeed, kCsvColumnCount };

// Header names, lower case (a reader takes them in any case).
inline constexpr const char* kCsvColumnNames[kCsvColumnCount] = {"x", "y", "z", "accel", "speed"};
