#include "Synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace artgen {

namespace {

void putU16(QByteArray& b, quint16 v) {
    b.append(char(v & 0xff));
    b.append(char(v >> 8));
}

void putU32(QByteArray& b, quint32 v) {
    putU16(b, quint16(v & 0xffff));
    putU16(b, quint16(v >> 16));
}

// One ringing tone starting at time 0 (seconds); silent before it.
double tone(double t, double hz, double decay) {
    if (t < 0) return 0;
    constexpr double attack = 0.003;
    const double rise = t < attack ? std::sin(0.5 * std::numbers::pi * t / attack) : 1.0;
    const double env = rise * std::exp(-t / decay);
    const double w = 2 * std::numbers::pi * hz * t;
    // A little of the octave gives the tone body without making it shrill.
    return env * (std::sin(w) + 0.12 * std::sin(2 * w));
}

} // namespace

QByteArray makeClickWav(const ClickParams& p) {
    const int count = std::max(1, int(std::lround(p.sampleRate * p.lengthMs / 1000.0)));
    std::vector<double> s(count);
    const double decay = p.decayMs / 1000.0;
    const double fadeLen = std::min(0.010, p.lengthMs / 4000.0);
    const double length = p.lengthMs / 1000.0;
    double maxAbs = 0;
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / p.sampleRate;
        double v = tone(t, p.firstHz, decay) + 0.8 * tone(t - p.secondAtMs / 1000.0, p.secondHz, decay * 1.3);
        // Fade the tail to exactly zero so the end makes no click of its own.
        const double left = length - t;
        if (left < fadeLen) v *= 0.5 - 0.5 * std::cos(std::numbers::pi * std::max(0.0, left) / fadeLen);
        s[i] = v;
        maxAbs = std::max(maxAbs, std::abs(v));
    }
    const double gain = maxAbs > 0 ? p.peak / maxAbs : 0;

    const quint32 dataBytes = quint32(count) * 2;
    QByteArray wav;
    wav.reserve(44 + int(dataBytes));
    wav.append("RIFF", 4);
    putU32(wav, 36 + dataBytes);
    wav.append("WAVEfmt ", 8);
    putU32(wav, 16);                          // fmt chunk size
    putU16(wav, 1);                           // PCM
    putU16(wav, 1);                           // mono
    putU32(wav, quint32(p.sampleRate));       // sample rate
    putU32(wav, quint32(p.sampleRate) * 2);   // bytes per second
    putU16(wav, 2);                           // block align
    putU16(wav, 16);                          // bits per sample
    wav.append("data", 4);
    putU32(wav, dataBytes);
    for (double v : s) {
        const long q = std::lround(std::clamp(v * gain, -1.0, 1.0) * 32767.0);
        putU16(wav, quint16(qint16(q)));
    }
    return wav;
}

QImage makeTile(const TileParams& p) {
    const int w = p.size.width(), h = p.size.height();
    QImage img(p.size, QImage::Format_RGB32);
    const int step = std::max(4, p.dotStep);
    const double twoPi = 2 * std::numbers::pi;
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double u = (x + 0.5) / w, v = (y + 0.5) / h;
            // Whole periods across the tile in both directions keep it seamless.
            const double swell = 0.5 + 0.35 * std::cos(twoPi * (u + v)) + 0.15 * std::cos(twoPi * (2 * u - v));
            // Nearest dot of a lattice whose odd rows are shifted by half a step,
            // measured across the tile's edges (an even row count tiles cleanly).
            double nearest = 1e9;
            for (int cy = step / 2; cy < h; cy += step) {
                const int row = cy / step;
                for (int cx = (step / 2 + (row % 2) * step / 2) % step; cx < w; cx += step) {
                    double dx = std::abs(x + 0.5 - cx), dy = std::abs(y + 0.5 - cy);
                    dx = std::min(dx, w - dx);
                    dy = std::min(dy, h - dy);
                    nearest = std::min(nearest, std::hypot(dx, dy));
                }
            }
            const double dot = std::clamp(p.dotRadius + 0.5 - nearest, 0.0, 1.0);
            const double mix = std::clamp(p.swell * swell + p.dots * dot, 0.0, 1.0);
            auto lerp = [mix](int a, int b) { return int(std::lround(a + (b - a) * mix)); };
            line[x] = qRgb(lerp(p.base.red(), p.ink.red()), lerp(p.base.green(), p.ink.green()),
                           lerp(p.base.blue(), p.ink.blue()));
        }
    }
    return img;
}

} // namespace artgen
