#pragma once

#include "color/rgb.h"

#include <QString>
#include <QStringList>

namespace tintavo {

// A copy format of the user's own: a name for the menu and a template, in
// which these placeholders stand for the colour (shown for #1E90FF):
//   {hex} 1e90ff   {HEX} 1E90FF   {r} 30  {g} 144  {b} 255
//   {h} {s} {l}    HSL in whole degrees and percent: 210 100 56
//   {L} {C} {H}    OKLCH: 0.642 0.176 254.6 (three, three and one decimals)
//   {name}         its CSS name, empty where it has none
//   {tailwind}     the nearest colour of Tailwind's palette: blue-500
struct CopyTemplate
{
    QString name;
    QString pattern;
};

// `pattern` filled in for `c`. A word in braces that names no placeholder
// ("{rgb}") stays as written and is listed in `unknown`, once each, in order.
struct FilledTemplate
{
    QString text;
    QStringList unknown;
};
FilledTemplate fillColorTemplate(const QString &pattern, Rgb c);

} // namespace tintavo
