// The table of values of a curve: its rows from, to and step, checked as the
// user typed them, each row computed on its own so that a view of 10^7 rows
// never holds them all, and the whole table streamed out as CSV.
#pragma once

#include "numeric/Exceptions.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TRapidEvaluator;

// More rows than this are refused.
inline constexpr std::int64_t MaxTableRows = 10'000'000;

// A from, to or step that cannot make a table. Field() is "from", "to" or
// "step", the field the message names, so a dialog can point at it.
class ETableInput : public Exception {
public:
    ETableInput(std::string field, const std::string& message);
    const std::string& Field() const { return Field_; }

private:
    std::string Field_;
};

// The rows' abscissas: From, From + Step, ... up to To (To itself when the
// steps reach it within rounding), RowCount of them.
struct TTableRange {
    double From = 0.0;
    double To = 0.0;
    double Step = 1.0;
    std::int64_t RowCount = 1;
};

// Checks the three numbers: a step of 0, a step whose sign leads away from
// To, a non-finite number, and more than MaxTableRows rows each raise
// ETableInput naming the field.
TTableRange MakeTableRange(double from, double to, double step);
// The same from the texts as typed, read as the x range is (TextToNumber,
// the locale's decimal separator); a text that does not read raises
// ETableInput naming its field.
TTableRange ReadTableRange(const std::string& fromText, const std::string& toText, const std::string& stepText);

// The abscissa of row `row` (0 to RowCount − 1).
double TableX(const TTableRange& range, std::int64_t row);

// One row. Cartesian: X and Value (y). Polar: X is the angle, Value is r,
// PlaneX and PlaneY are r cos and r sin. Undefined rows have no values.
struct TTableRow {
    double X = 0.0;
    double Value = 0.0;
    double PlaneX = 0.0;
    double PlaneY = 0.0;
    bool Undefined = false;
};

// Rows first to first + count − 1 (clipped to the table) into `rows`, the
// formula evaluated at z: what a virtual view asks for as it scrolls.
// Returns how many were written.
std::int32_t TableRows(const TRapidEvaluator& evaluator, const TTableRange& range, double z, bool polar,
                       std::int64_t first, std::int32_t count, TTableRow* rows);

// "x,y" or "angle,r,x,y".
std::string_view TableCsvHeader(bool polar);

// Appends `value` as the shortest text that reads back to the same double,
// with a point whatever the locale (std::to_chars).
void AppendCsvNumber(std::string& out, double value);

// The whole table as CSV (RFC 4180: comma, CRLF line ends, undefined as
// empty fields), the header first, handed to `sink` in blocks of some
// kilobytes so that memory does not grow with the rows.
void WriteTableCsv(const TRapidEvaluator& evaluator, const TTableRange& range, double z, bool polar,
                   const std::function<void(std::string_view)>& sink);
