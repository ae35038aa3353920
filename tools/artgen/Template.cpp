#include "Template.h"

#include <QColor>
#include <QFile>
#include <QStringList>

#include <algorithm>

namespace artgen {

QString svgInner(const QString& svg) {
    const qsizetype open = svg.indexOf(QLatin1String("<svg"));
    if (open < 0) return svg; // already a fragment
    const qsizetype openEnd = svg.indexOf(QLatin1Char('>'), open);
    const qsizetype close = svg.lastIndexOf(QLatin1String("</svg>"));
    if (openEnd < 0 || close < openEnd) return {};
    return svg.mid(openEnd + 1, close - openEnd - 1);
}

QString shiftLightness(const QString& colour, double shift, bool* ok) {
    QColor c = QColor::fromString(colour);
    *ok = c.isValid();
    if (!*ok) return {};
    float h, s, l, a;
    c.getHslF(&h, &s, &l, &a);
    l = std::clamp(l + float(shift / 100.0), 0.0f, 1.0f);
    c.setHslF(h, s, l, a);
    return c.name(QColor::HexRgb);
}

static QString expandOne(const QString& expr, const Vars& vars, const QDir& dir, int depth, QString* error);

static QString expandText(const QString& text, const Vars& vars, const QDir& dir, int depth, QString* error) {
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (true) {
        const qsizetype open = text.indexOf(QLatin1String("{{"), pos);
        if (open < 0) {
            out += QStringView(text).mid(pos);
            return out;
        }
        const qsizetype close = text.indexOf(QLatin1String("}}"), open + 2);
        if (close < 0) {
            *error = QStringLiteral("unclosed {{");
            return {};
        }
        out += QStringView(text).mid(pos, open - pos);
        const QString value = expandOne(text.mid(open + 2, close - open - 2).trimmed(), vars, dir, depth, error);
        if (!error->isEmpty()) return {};
        out += value;
        pos = close + 2;
    }
}

static QString expandOne(const QString& expr, const Vars& vars, const QDir& dir, int depth, QString* error) {
    const QStringList parts = expr.split(QLatin1Char(':'));
    const QString& name = parts.front();
    if (name == QLatin1String("include")) {
        if (parts.size() != 2 || !vars.contains(parts[1])) {
            *error = QStringLiteral("{{%1}}: no such variable").arg(expr);
            return {};
        }
        if (depth >= 4) {
            *error = QStringLiteral("{{%1}}: includes nested too deeply").arg(expr);
            return {};
        }
        const QString path = dir.filePath(vars.value(parts[1]) + QLatin1String(".svg"));
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("{{%1}}: cannot read %2").arg(expr, path);
            return {};
        }
        return expandText(svgInner(QString::fromUtf8(f.readAll())), vars, dir, depth + 1, error);
    }
    if (!vars.contains(name)) {
        *error = QStringLiteral("{{%1}}: no such variable").arg(expr);
        return {};
    }
    // A value "$other" stands for the value of variable "other".
    QString value = vars.value(name);
    for (int hops = 0; value.startsWith(QLatin1Char('$')); ++hops) {
        const QString target = value.mid(1);
        if (hops >= 8 || !vars.contains(target)) {
            *error = QStringLiteral("{{%1}}: cannot resolve \"%2\"").arg(expr, value);
            return {};
        }
        value = vars.value(target);
    }
    if (parts.size() == 1) return value;
    double shift = 0;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        bool ok = false;
        double step = parts[i].toDouble(&ok);
        if (!ok && vars.contains(parts[i])) step = vars.value(parts[i]).toDouble(&ok);
        if (!ok) {
            *error = QStringLiteral("{{%1}}: \"%2\" is neither a number nor a numeric variable").arg(expr, parts[i]);
            return {};
        }
        shift += step;
    }
    bool ok = false;
    const QString shifted = shiftLightness(value, shift, &ok);
    if (!ok) *error = QStringLiteral("{{%1}}: \"%2\" is not a colour").arg(expr, value);
    return shifted;
}

QString expandTemplate(const QString& text, const Vars& vars, const QDir& dir, QString* error) {
    error->clear();
    return expandText(text, vars, dir, 0, error);
}

} // namespace artgen
