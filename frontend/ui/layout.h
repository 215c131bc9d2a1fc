#pragma once
// The windows keep the fixed layouts they were drawn for: positions in twips
// and a small Arial-like sans-serif face.
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

namespace veldesk {

// Twips (1/1440 inch) in pixels at the usual 96 dpi, 15 twips to a pixel.
// Places and sizes of controls drop the fraction of a pixel; grid column
// widths take the nearest pixel, as the grids always did.
enum class TwipRounding { Down, Nearest };
int pixelsOf(int twips, TwipRounding rounding = TwipRounding::Down);

// A rectangle given in twips, in pixels.
QRect twips(int left, int top, int width, int height);

// The face the fixed layouts were drawn for, at the given size.
QFont layoutFont(double points, bool bold = false);

// A control of a fixed layout: a W child of parent, named as the windows
// name it, at its place.
template <class W>
W* control(QWidget* parent, const QString& name, const QRect& place)
{
    auto* w = new W(parent);
    w->setObjectName(name);
    w->setGeometry(place);
    return w;
}

} // namespace veldesk
