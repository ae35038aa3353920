#pragma once
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>

namespace artgen {

// A short two-tone "blip": the first tone rings, the second (higher) one
// joins shortly after; each has a soft attack and an exponential decay.
struct ClickParams {
    int sampleRate = 44100;
    double lengthMs = 80;
    double firstHz = 880;
    double secondHz = 1318.5;
    double secondAtMs = 24;
    double decayMs = 16; // time constant of each tone's decay
    double peak = 0.45;  // of full scale
};

// A mono 16-bit PCM WAV file.
QByteArray makeClickWav(const ClickParams& params);

// A seamless background tile: the base colour, a gentle diagonal swell and a
// staggered lattice of soft dots, both pulled toward the ink colour.
struct TileParams {
    QSize size{128, 128};
    QColor base{0xee, 0xf2, 0xf8};
    QColor ink{0xcf, 0xdb, 0xec};
    double swell = 0.30; // how far the swell reaches toward ink (0..1)
    double dots = 0.55;  // how far the dots reach toward ink (0..1)
    int dotStep = 32;    // lattice spacing; the tile size should be a multiple
    double dotRadius = 2.6;
};

QImage makeTile(const TileParams& params);

} // namespace artgen
