// A look at a written skin as the recorder would lay it out: reads the key file and the bitmaps
// back from disk (not from the design), places every control where its key says, fills the
// display boxes with sample texts and traces, cuts the window out by the panel's transparent
// colour and shows it on a checkerboard.
//
// The picture holds three panels side by side: at rest (small-screen boxes), with every key
// pressed, the wheels in their second frame and the volume turning up, and the large-screen boxes
// while recording with the volume turning down.
#pragma once

#include <QImage>
#include <QString>

namespace skingen {

// Returns a null image and sets `error` when the skin cannot be read.
QImage PreviewSkin(const QString& skinRoot, const QString& skinName, QString* error);

// The panel at rest on white with every key and display named beside it, for the help pages.
QImage LabelledPanel(const QString& skinRoot, const QString& skinName, QString* error);

}  // namespace skingen
