// The yardstick for the recorder's idle memory: a plain Qt Widgets window of a given size and
// nothing else. scripts/bench-idle starts it beside the recorder, so that what Qt itself costs
// on this machine is measured the same way as the recorder.
//
//   kivrec-bench-bare WIDTH HEIGHT
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  bool widthOk = false;
  bool heightOk = false;
  const int width = args.value(1).toInt(&widthOk);
  const int height = args.value(2).toInt(&heightOk);
  if (!widthOk || !heightOk || width <= 0 || height <= 0) {
    qCritical("usage: kivrec-bench-bare WIDTH HEIGHT");
    return 2;
  }
  QWidget window;
  window.resize(width, height);
  window.show();
  return QApplication::exec();
}
