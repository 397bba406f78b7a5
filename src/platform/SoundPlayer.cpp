// The check both sound players make before they play.
#include "platform/SoundPlayer.h"

#include <QByteArray>
#include <QFile>

namespace kiv {

bool IsReadableWavFile(const QString& path) {
  if (path.isEmpty()) return false;  // QFile would complain on the console
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray head = file.read(12);
  return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

}  // namespace kiv
