// The help as it is installed beside the program: every link and picture of every page leads to
// something that is there, and the keyboard page lists every shortcut of the shortcut window.
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>

#include "app/TAKSForm.h"

namespace kiv::test {
namespace {

const QString kHelp = QStringLiteral(KIVREC_BIN_DIR "/Help/");

QString Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(HelpPagesTest, EveryLinkAndPictureResolves) {
  const QStringList pages = QDir(kHelp).entryList({QStringLiteral("*.html")});
  ASSERT_TRUE(pages.contains(QStringLiteral("index.html")));
  QStringList reached{QStringLiteral("index.html")};
  const QRegularExpression reference(QStringLiteral(R"re((?:href|src)="([^"]*)")re"));
  for (const QString& page : pages) {
    for (const QRegularExpressionMatch& m : reference.globalMatch(Read(kHelp + page))) {
      const QString target = m.captured(1);
      if (target.startsWith(u"https://") || target.startsWith(u"mailto:")) continue;
      EXPECT_FALSE(target.isEmpty() || target.contains(u':') || target.startsWith(u'/')) << page.toStdString();
      EXPECT_TRUE(QFileInfo::exists(kHelp + target.section(u'#', 0, 0)))
          << page.toStdString() << " -> " << target.toStdString();
      reached << target;
    }
  }
  for (const QString& page : pages) EXPECT_TRUE(reached.contains(page)) << page.toStdString() << " is linked nowhere";
}

TEST(HelpPagesTest, KeyboardPageListsEveryShortcutOfTheShortcutWindow) {
  const QString page = QTextDocumentFragment::fromHtml(Read(kHelp + QStringLiteral("keyboard.html"))).toPlainText();
  ASSERT_FALSE(page.isEmpty());
  TAKSForm shortcuts;
  const QList<QLabel*> labels = shortcuts.findChildren<QLabel*>();
  ASSERT_GT(labels.size(), 40);
  for (const QLabel* label : labels) EXPECT_TRUE(page.contains(label->text())) << label->text().toStdString();
}

}  // namespace
}  // namespace kiv::test
