// kivrec-skingen: draws the skins shipped with Kiv Sound Recorder.
//
//   kivrec-skingen <skin folder>
//       writes every shipped skin into <skin folder> (the build uses <build>/bin/Skin)
//   kivrec-skingen --preview <skin folder> <skin name> <picture.png> [--zoom N]
//       reads a written skin back and composes it as the recorder lays it out, for a look
//   kivrec-skingen --labelled <skin folder> <skin name> <picture.png>
//       the panel with its keys and displays named, for the help pages
//
// Runs without a display (on the offscreen platform unless QT_QPA_PLATFORM says otherwise); only
// QtGui is used.
#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <cstdio>

#include "SkinDesign.h"
#include "SkinPreview.h"
#include "SkinWriter.h"

namespace {

int Usage() {
  std::fputs(
      "usage: kivrec-skingen <skin folder>\n"
      "       kivrec-skingen --preview <skin folder> <skin name> <picture.png> [--zoom N]\n"
      "       kivrec-skingen --labelled <skin folder> <skin name> <picture.png>\n",
      stderr);
  return 2;
}

int Fail(const QString& message) {
  std::fprintf(stderr, "kivrec-skingen: %s\n", qPrintable(message));
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  // Pictures only: never ask for a display, whatever the environment says by default.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QStringList args = QGuiApplication::arguments();
  args.removeFirst();

  if (args.size() == 1 && !args[0].startsWith(QLatin1Char('-'))) {
    for (const skingen::Design& design : {skingen::DefaultDesign(), skingen::GraphiteDesign()}) {
      const QString problem = skingen::WriteSkin(design, args[0]);
      if (!problem.isEmpty()) return Fail(problem);
    }
    return 0;
  }

  if ((args.size() == 4 || args.size() == 6) && args[0] == QStringLiteral("--preview")) {
    int zoom = 1;
    if (args.size() == 6) {
      if (args[4] != QStringLiteral("--zoom")) return Usage();
      zoom = args[5].toInt();
      if (zoom < 1 || zoom > 8) return Usage();
    }
    QString problem;
    QImage sheet = skingen::PreviewSkin(args[1], args[2], &problem);
    if (sheet.isNull()) return Fail(problem);
    if (zoom > 1)
      sheet = sheet.scaled(sheet.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (!sheet.save(args[3], "PNG")) return Fail(QStringLiteral("cannot write %1").arg(args[3]));
    return 0;
  }
  if (args.size() == 4 && args[0] == QStringLiteral("--labelled")) {
    QString problem;
    const QImage sheet = skingen::LabelledPanel(args[1], args[2], &problem);
    if (sheet.isNull()) return Fail(problem);
    if (!sheet.save(args[3], "PNG")) return Fail(QStringLiteral("cannot write %1").arg(args[3]));
    return 0;
  }
  return Usage();
}
