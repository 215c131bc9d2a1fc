#pragma once
// The windows keep the fixed layouts they were drawn for: positions in twips
// and a small Arial-like sans-serif face.
#include <QFont>
#include <QRect>

// A rectangle given in twips (1/1440 inch), in pixels at the usual 96 dpi
// (15 twips to a pixel).
QRect twips(int left, int top, int width, int height);

// The face the fixed layouts were drawn for, at the given size.
QFont layoutFont(double points, bool bold = false);
