#pragma once
#include <QDir>
#include <QMap>
#include <QString>

namespace artgen {

using Vars = QMap<QString, QString>;

// Fills in the placeholders of an SVG template:
//   {{name}}            the variable's value; a value "$other" stands for
//                       the value of variable "other"
//   {{name:+12:tone}}   a colour variable, lightness (HSL, percent) moved by
//                       each step: a signed number, or the number held by the
//                       named variable
//   {{include:name}}    the inner content of the SVG file "<value>.svg" in
//                       dir (everything between <svg ...> and </svg>), itself
//                       expanded with the same variables
// Returns the expanded text, or sets *error (naming the placeholder).
QString expandTemplate(const QString& text, const Vars& vars, const QDir& dir, QString* error);

// The children of the root <svg> element of an SVG document, as text.
QString svgInner(const QString& svg);

// Moves a colour's HSL lightness by shift percent, clamped to 0..100.
QString shiftLightness(const QString& colour, double shift, bool* ok);

} // namespace artgen
