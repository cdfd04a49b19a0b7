// What a plot reads from the window's controls and writes back to them: the
// seam through which the engine stays free of widgets.
#pragma once

#include <string>

class TPlotControls {
public:
    virtual ~TPlotControls() = default;

    // The check mark of the Mode menu's "Cartesian"; polar otherwise.
    virtual bool IsCartesian() const = 0;
    // The texts of the x range edits (the angle range in polar mode).
    virtual std::string XlowText() const = 0;
    virtual std::string XhighText() const = 0;
    virtual void SetXRangeTexts(const std::string& low, const std::string& high) = 0;
    // The title: the caption left of the formula ("Y =" or "R =") and the
    // formula as typed.
    virtual std::string TitleCaption() const = 0;
    virtual std::string FormulaText() const = 0;
};

// Controls held as plain values, for the command-line renderer and tests.
class TPlainPlotControls : public TPlotControls {
public:
    bool Cartesian = true;
    std::string Xlow = "-10";
    std::string Xhigh = "10";
    std::string Caption = "Y =";
    std::string Formula = "sin(x)";

    bool IsCartesian() const override { return Cartesian; }
    std::string XlowText() const override { return Xlow; }
    std::string XhighText() const override { return Xhigh; }
    void SetXRangeTexts(const std::string& low, const std::string& high) override
    {
        Xlow = low;
        Xhigh = high;
    }
    std::string TitleCaption() const override { return Caption; }
    std::string FormulaText() const override { return Formula; }
};
