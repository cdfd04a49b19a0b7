// The table of values: its range checked field by field, rows computed a
// block at a time, and the CSV text streamed out as the rows are made.
#include "plot/core/ValueTable.h"

#include "plot/core/Sampling.h"
#include "plot/core/SegmentGeometry.h"
#include "numeric/FloatingPoint.h"
#include "numeric/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

// A count of steps within this much of a whole number reaches To: typed
// steps such as 0.1 are not exact, and 0.3 / 0.1 is just below 3.
constexpr long double StepCountSlack = 1e-7L;
// Rows evaluated and written per block: enough to keep the evaluator's
// blocks full, few enough that the text stays some tens of kilobytes.
constexpr std::int32_t CsvBlockRows = 1024;
// The longest text std::to_chars gives a double ("-2.2250738585072014e-308").
constexpr std::size_t NumberTextRoom = 32;
constexpr char LineEnd[] = "\r\n";

double ReadField(const std::string& text, const char* field)
{
    try {
        return StoreDouble(TextToNumber(text));
    } catch (const Exception& error) {
        throw ETableInput(field, std::string(field) + ": " + error.Message());
    }
}

void CheckFinite(double value, const char* field)
{
    if (!std::isfinite(value))
        throw ETableInput(field, std::string(field) + ": not a finite number");
}

}  // namespace

ETableInput::ETableInput(std::string field, const std::string& message) : Exception(message), Field_(std::move(field))
{
}

TTableRange MakeTableRange(double from, double to, double step)
{
    CheckFinite(from, "from");
    CheckFinite(to, "to");
    CheckFinite(step, "step");
    if (step == 0.0)
        throw ETableInput("step", "step: the step cannot be 0");
    const long double steps = (static_cast<long double>(to) - from) / step;
    if (steps < 0.0L)
        throw ETableInput("step", step > 0.0 ? "step: the step must be negative when from is above to"
                                             : "step: the step must be positive when from is below to");
    const long double whole = std::floor(steps + StepCountSlack);
    if (whole >= static_cast<long double>(MaxTableRows))
        throw ETableInput("step", "step: more than " + std::to_string(MaxTableRows) + " rows");
    return {from, to, step, static_cast<std::int64_t>(whole) + 1};
}

TTableRange ReadTableRange(const std::string& fromText, const std::string& toText, const std::string& stepText)
{
    const double from = ReadField(fromText, "from");
    const double to = ReadField(toText, "to");
    const double step = ReadField(stepText, "step");
    return MakeTableRange(from, to, step);
}

double TableX(const TTableRange& range, std::int64_t row)
{
    const long double x = static_cast<long double>(range.From) + static_cast<long double>(row) * range.Step;
    // The last row lands on To when the steps reach it within rounding, so
    // 0 to 0.3 by 0.1 ends at 0.3, not 0.30000000000000004.
    if (row == range.RowCount - 1 &&
        std::fabs(x - static_cast<long double>(range.To)) <= StepCountSlack * std::fabs(range.Step))
        return range.To;
    return static_cast<double>(x);
}

std::int32_t TableRows(const TRapidEvaluator& evaluator, const TTableRange& range, double z, bool polar,
                       std::int64_t first, std::int32_t count, TTableRow* rows)
{
    if (first < 0 || first >= range.RowCount || count <= 0)
        return 0;
    const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, range.RowCount - first));
    std::vector<double> x(n), values(n);
    std::unique_ptr<bool[]> undefined(new bool[n]);
    for (std::int32_t i = 0; i < n; ++i)
        x[i] = TableX(range, first + i);
    EvaluateFormulaAt(evaluator, x.data(), n, z, values.data(), undefined.get());
    for (std::int32_t i = 0; i < n; ++i) {
        TTableRow& row = rows[i];
        row = TTableRow{};
        row.X = x[i];
        row.Undefined = undefined[i];
        if (row.Undefined)
            continue;
        row.Value = values[i];
        if (polar)
            PolarToCartesian(row.X, row.Value, row.PlaneX, row.PlaneY);
    }
    return n;
}

std::string_view TableCsvHeader(bool polar)
{
    return polar ? "angle,r,x,y" : "x,y";
}

void AppendCsvNumber(std::string& out, double value)
{
    char text[NumberTextRoom];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    out.append(text, end.ptr);
}

void WriteTableCsv(const TRapidEvaluator& evaluator, const TTableRange& range, double z, bool polar,
                   const std::function<void(std::string_view)>& sink)
{
    std::string text;
    text.reserve(CsvBlockRows * 4 * (NumberTextRoom + 1));
    text.append(TableCsvHeader(polar)).append(LineEnd);
    std::array<TTableRow, CsvBlockRows> rows;
    for (std::int64_t first = 0; first < range.RowCount; first += CsvBlockRows) {
        const std::int32_t n = TableRows(evaluator, range, z, polar, first, CsvBlockRows, rows.data());
        for (std::int32_t i = 0; i < n; ++i) {
            const TTableRow& row = rows[i];
            AppendCsvNumber(text, row.X);
            text += ',';
            if (!row.Undefined)
                AppendCsvNumber(text, row.Value);
            if (polar) {
                text += ',';
                if (!row.Undefined)
                    AppendCsvNumber(text, row.PlaneX);
                text += ',';
                if (!row.Undefined)
                    AppendCsvNumber(text, row.PlaneY);
            }
            text.append(LineEnd);
        }
        sink(text);
        text.clear();
    }
}
