#include "Manifest.h"

#include "Render.h"
#include "Synth.h"
#include "Template.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMap>
#include <QTextStream>

#include <cstdio>

namespace artgen {

namespace {

struct Line {
    int number = 0;
    QStringList words;
    Vars vars;
};

struct State {
    QString name;
    Vars vars;
};

void complain(const QString& where, const QString& what) {
    std::fprintf(stderr, "artgen: %s: %s\n", qPrintable(where), qPrintable(what));
}

// Splits a line into words and k=v pairs; double quotes group spaces.
bool splitLine(const QString& text, Line* line, QString* error) {
    QStringList tokens;
    QString cur;
    bool quoted = false, any = false;
    for (QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            any = true;
        } else if (c.isSpace() && !quoted) {
            if (any) tokens << cur;
            cur.clear();
            any = false;
        } else {
            cur += c;
            any = true;
        }
    }
    if (quoted) {
        *error = QStringLiteral("unbalanced quote");
        return false;
    }
    if (any) tokens << cur;
    for (const QString& t : tokens) {
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (eq > 0)
            line->vars.insert(t.left(eq), t.mid(eq + 1));
        else
            line->words << t;
    }
    return true;
}

bool readManifest(const QString& path, QList<Line>* lines) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        complain(path, QStringLiteral("cannot read"));
        return false;
    }
    QTextStream in(&f);
    int number = 0;
    while (!in.atEnd()) {
        const QString text = in.readLine().trimmed();
        ++number;
        if (text.isEmpty() || text.startsWith(QLatin1Char('#'))) continue;
        Line line;
        line.number = number;
        QString error;
        if (!splitLine(text, &line, &error)) {
            complain(QStringLiteral("%1:%2").arg(path).arg(number), error);
            return false;
        }
        lines->push_back(line);
    }
    return true;
}

double number(const Vars& vars, const char* key, double fallback, bool* ok) {
    const QString k = QLatin1String(key);
    if (!vars.contains(k)) return fallback;
    bool good = false;
    const double v = vars.value(k).toDouble(&good);
    if (!good) *ok = false;
    return v;
}

QColor colour(const Vars& vars, const char* key, QColor fallback, bool* ok) {
    const QString k = QLatin1String(key);
    if (!vars.contains(k)) return fallback;
    const QColor c = QColor::fromString(vars.value(k));
    if (!c.isValid()) *ok = false;
    return c;
}

} // namespace

bool manifestOutputs(const QString& manifest, QStringList* outputs, bool also2x) {
    QList<Line> lines;
    if (!readManifest(manifest, &lines)) return false;
    auto picture = [&](const QString& out) {
        *outputs << out;
        if (also2x) *outputs << scaledName(out, 2);
    };
    for (const Line& l : lines) {
        const QString& kw = l.words.front();
        if (kw == QLatin1String("button")) {
            for (qsizetype i = 3; i < l.words.size(); ++i)
                if (l.words[i] != QLatin1String("-")) picture(l.words[i]);
        } else if (kw == QLatin1String("tile") && l.words.size() > 1) {
            picture(l.words[1]);
        } else if (kw == QLatin1String("sound") && l.words.size() > 1) {
            *outputs << l.words[1];
        }
    }
    return true;
}

bool runManifest(const ManifestJob& job) {
    QList<Line> lines;
    if (!readManifest(job.manifest, &lines)) return false;
    const QDir artDir(job.artDir);
    const QDir outRoot(job.outRoot);
    Vars globals;
    QMap<QString, QList<State>> states;
    QMap<QString, QString> templates;
    const int scales = job.also2x ? 2 : 1;
    int made = 0;

    for (const Line& l : lines) {
        const QString where = QStringLiteral("%1:%2").arg(job.manifest).arg(l.number);
        const QString& kw = l.words.front();
        QString error;
        if (kw == QLatin1String("set")) {
            for (auto it = l.vars.begin(); it != l.vars.end(); ++it) globals.insert(it.key(), it.value());
        } else if (kw == QLatin1String("state")) {
            if (l.words.size() != 3) {
                complain(where, QStringLiteral("state TEMPLATE NAME k=v ..."));
                return false;
            }
            states[l.words[1]].push_back({l.words[2], l.vars});
        } else if (kw == QLatin1String("button")) {
            if (l.words.size() < 4) {
                complain(where, QStringLiteral("button TEMPLATE WxH OUT... k=v ..."));
                return false;
            }
            const QString& name = l.words[1];
            const QList<State> tplStates = states.value(name);
            if (tplStates.isEmpty()) {
                complain(where, QStringLiteral("template %1 has no states").arg(name));
                return false;
            }
            const QSize size = parseSize(l.words[2]);
            if (!size.isValid()) {
                complain(where, QStringLiteral("bad size %1").arg(l.words[2]));
                return false;
            }
            const QStringList outs = l.words.mid(3);
            if (outs.size() != tplStates.size()) {
                complain(where, QStringLiteral("template %1 has %2 states but %3 outputs are given")
                                    .arg(name).arg(tplStates.size()).arg(outs.size()));
                return false;
            }
            if (!templates.contains(name)) {
                QFile f(artDir.filePath(name + QLatin1String(".svg")));
                if (!f.open(QIODevice::ReadOnly)) {
                    complain(where, QStringLiteral("cannot read %1").arg(f.fileName()));
                    return false;
                }
                templates.insert(name, QString::fromUtf8(f.readAll()));
            }
            for (qsizetype i = 0; i < outs.size(); ++i) {
                if (outs[i] == QLatin1String("-")) continue;
                Vars vars = globals;
                for (auto it = tplStates[i].vars.begin(); it != tplStates[i].vars.end(); ++it)
                    vars.insert(it.key(), it.value());
                for (auto it = l.vars.begin(); it != l.vars.end(); ++it) vars.insert(it.key(), it.value());
                vars.insert(QStringLiteral("state"), tplStates[i].name);
                vars.insert(QStringLiteral("w"), QString::number(size.width()));
                vars.insert(QStringLiteral("h"), QString::number(size.height()));
                const QString svg = expandTemplate(templates.value(name), vars, artDir, &error);
                if (!error.isEmpty()) {
                    complain(where, QStringLiteral("%1 (%2): %3").arg(outs[i], tplStates[i].name, error));
                    return false;
                }
                if (!job.keepSvgDir.isEmpty()) {
                    const QString keep = QDir(job.keepSvgDir).filePath(QFileInfo(outs[i]).completeBaseName() + QLatin1String(".svg"));
                    if (!saveBytes(svg.toUtf8(), keep, &error)) complain(where, error);
                }
                for (int scale = 1; scale <= scales; ++scale) {
                    const QString out = scaledName(outs[i], scale);
                    const QImage img = renderSvg(svg.toUtf8(), size, &error, scale);
                    if (img.isNull() || !saveImage(img, outRoot.filePath(out), &error)) {
                        complain(where, QStringLiteral("%1: %2").arg(out, error));
                        return false;
                    }
                    ++made;
                }
            }
        } else if (kw == QLatin1String("tile")) {
            TileParams p;
            bool ok = l.words.size() == 3;
            if (ok) p.size = parseSize(l.words[2]);
            ok = ok && p.size.isValid();
            p.base = colour(l.vars, "base", p.base, &ok);
            p.ink = colour(l.vars, "ink", p.ink, &ok);
            p.swell = number(l.vars, "swell", p.swell, &ok);
            p.dots = number(l.vars, "dots", p.dots, &ok);
            p.dotStep = int(number(l.vars, "step", p.dotStep, &ok));
            p.dotRadius = number(l.vars, "radius", p.dotRadius, &ok);
            if (!ok) {
                complain(where, QStringLiteral("tile OUT WxH base=#rgb ink=#rgb swell=N dots=N step=N radius=N"));
                return false;
            }
            for (int scale = 1; scale <= scales; ++scale) {
                // The same pattern with every length in device pixels.
                TileParams scaled = p;
                scaled.size = p.size * scale;
                scaled.dotStep = p.dotStep * scale;
                scaled.dotRadius = p.dotRadius * scale;
                if (!saveImage(makeTile(scaled), outRoot.filePath(scaledName(l.words[1], scale)), &error)) {
                    complain(where, error);
                    return false;
                }
                ++made;
            }
        } else if (kw == QLatin1String("sound")) {
            ClickParams p;
            bool ok = l.words.size() == 2;
            p.sampleRate = int(number(l.vars, "rate", p.sampleRate, &ok));
            p.lengthMs = number(l.vars, "ms", p.lengthMs, &ok);
            p.firstHz = number(l.vars, "f1", p.firstHz, &ok);
            p.secondHz = number(l.vars, "f2", p.secondHz, &ok);
            p.secondAtMs = number(l.vars, "at", p.secondAtMs, &ok);
            p.decayMs = number(l.vars, "decay", p.decayMs, &ok);
            p.peak = number(l.vars, "peak", p.peak, &ok);
            ok = ok && p.sampleRate >= 8000 && p.lengthMs > 0 && p.lengthMs < 2000 && p.decayMs > 0;
            if (!ok) {
                complain(where, QStringLiteral("sound OUT rate=N ms=N f1=N f2=N at=N decay=N peak=N"));
                return false;
            }
            if (!saveBytes(makeClickWav(p), outRoot.filePath(l.words[1]), &error)) {
                complain(where, error);
                return false;
            }
            ++made;
        } else {
            complain(where, QStringLiteral("unknown command %1").arg(kw));
            return false;
        }
    }
    if (job.verbose) std::printf("artgen: %d files written under %s\n", made, qPrintable(job.outRoot));
    return true;
}

} // namespace artgen
