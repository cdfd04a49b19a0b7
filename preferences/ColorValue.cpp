// Conversions between the program's 0x00BBGGRR colours and Qt's colours.
#include "preferences/ColorValue.h"

namespace {

constexpr int GreenShift = 8;
constexpr int BlueShift = 16;
constexpr TColor ChannelMask = 0xFF;

}  // namespace

QColor ColorToQColor(TColor color)
{
    return QColor(static_cast<int>(color & ChannelMask), static_cast<int>((color >> GreenShift) & ChannelMask),
                  static_cast<int>((color >> BlueShift) & ChannelMask));
}

TColor QColorToColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return static_cast<TColor>(rgb.red()) | static_cast<TColor>(rgb.green()) << GreenShift |
           static_cast<TColor>(rgb.blue()) << BlueShift;
}
