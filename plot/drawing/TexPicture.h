// A plot as a LaTeX picture: a PGFPlots axis holding each curve's samples as
// coordinates, which the document typesets in its own fonts.
#pragma once

#include <QByteArray>

#include <string>
#include <string_view>

struct TPlotRequest;
class TPlotter;
class TRapidEvaluator;

// A text with TeX's special characters written as the characters they are,
// so a title or a formula prints as typed.
std::string TexEscaped(std::string_view text);

// A number with a point and ten significant digits, whatever the locale.
std::string TexNumber(double value);

// The plot of the request as a tikzpicture, laid out and fitted as the
// plotter lays out and fits its picture; with the plotter's look asking for
// a standalone document, wrapped in one that compiles alone. Raises the
// plot's errors.
QByteArray PlotTexPicture(TPlotter& plotter, const TRapidEvaluator& evaluator, const TPlotRequest& request);
