#pragma once
#include <QString>
#include <QStringList>

namespace artgen {

// Builds every picture and sound a manifest lists. The manifest is a text
// file, one command a line ('#' starts a comment line):
//
//   set k=v ...                        variables seen by every template
//   state TEMPLATE NAME k=v ...        a state of TEMPLATE (TEMPLATE.svg in
//                                      the art folder), in output order
//   button TEMPLATE WxH OUT... k=v ... one output per state of TEMPLATE
//                                      ("-" skips that state)
//   tile OUT WxH k=v ...               a background tile (base, ink, swell,
//                                      dots, step, radius)
//   sound OUT k=v ...                  the click (rate, ms, f1, f2, at,
//                                      decay, peak)
//
// A value holding spaces is written in double quotes. Variables of a button
// override those of its state, which override "set". Each template also sees
// "state", "w" and "h". OUT is relative to the output root.
struct ManifestJob {
    QString manifest;
    QString artDir;
    QString outRoot;
    QString keepSvgDir; // when set, the expanded SVGs are written there too
    bool also2x = false; // every picture also at twice its size, as NAME@2x.EXT
    bool verbose = false;
};

// Returns false after printing what went wrong.
bool runManifest(const ManifestJob& job);

// The files the manifest produces, relative to the output root; with
// `also2x` the pictures' @2x variants follow each picture.
bool manifestOutputs(const QString& manifest, QStringList* outputs, bool also2x = false);

} // namespace artgen
