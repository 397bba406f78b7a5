// Finding the browser in a desktop written into a throw-away folder, starting programs, and
// handing a mail to a composer that is a script recording what it was given.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "../support/XdgTestHome.h"
#include "mailweb/TAppExec.h"
#include "mailweb/TEmail.h"
#include "mailweb/TGoToWeb.h"
#include "mailweb/XdgEmailMapi.h"
#include "platform/fake/FakeDesktopLauncher.h"

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace kiv::test {
namespace {

class MailWebTest : public ::testing::Test {
 protected:
  QString Root() const { return home_.Root(); }
  QTemporaryDir dir_{QDir::tempPath() + QStringLiteral("/mailweb-XXXXXX")};
  XdgTestHome home_{dir_.path()};
  FakeDesktopLauncher launcher_;
};

TEST_F(MailWebTest, TheFirstTypeWithAnInstalledBrowserWinsAndItsExecLineIsSplit) {
  // text/html names a browser that is not installed; only the third type has one, in the
  // system's list, quoted, with escapes and field codes.
  home_.SetDefault(QStringLiteral("config/mimeapps.list"), QStringLiteral("text/html"), QStringLiteral("gone.desktop"));
  const QString spaced = home_.AddRecorder(QStringLiteral("my browser"));
  home_.AddApplication(QStringLiteral("web.desktop"),
                       u'"' + spaced + QStringLiteral("\" --new-window \"--title=a \\\\\"b\\\\\"\" 100%% %U"), true);
  home_.SetDefault(QStringLiteral("share/applications/mimeapps.list"), QStringLiteral("x-scheme-handler/http"),
                   QStringLiteral("web.desktop"));
  TGoToWeb web(launcher_);
  web.Url = QStringLiteral("https://example.org/");
  ASSERT_TRUE(web.Execute());
  EXPECT_EQ(web.BrowserParameters(),
            QStringList({QStringLiteral("--new-window"), QStringLiteral("--title=a \"b\""), QStringLiteral("100%")}));
  EXPECT_EQ(launcher_.StartedPrograms().value(0), QStringList{spaced} + web.BrowserParameters() + QStringList{web.Url});

  // The user's own list, and in it the desktop's own, come first; a bare name is found on PATH,
  // and an Exec line without parameters hands over the address alone.
  home_.AddRecorder(QStringLiteral("plain"));
  home_.AddApplication(QStringLiteral("plain.desktop"), QStringLiteral("plain"));
  home_.SetDefault(QStringLiteral("config/test-mimeapps.list"), QStringLiteral("x-scheme-handler/http"),
                   QStringLiteral("plain.desktop"));
  for (const char* list : {"config/mimeapps.list", "etc/test-mimeapps.list"})
    home_.SetDefault(QString::fromLatin1(list), QStringLiteral("x-scheme-handler/http"), QStringLiteral("web.desktop"));
  ASSERT_TRUE(web.IsAnyBrowser());
  EXPECT_EQ(web.BrowserPath(), Root() + QStringLiteral("/bin/plain"));
  EXPECT_TRUE(web.BrowserParameters().isEmpty());
  ASSERT_TRUE(web.Execute());
  EXPECT_EQ(launcher_.StartedPrograms().value(1), QStringList({web.BrowserPath(), web.Url}));
}

TEST_F(MailWebTest, NoBrowserOrAnUnsplittableOneOpensNothing) {
  TGoToWeb web(launcher_);
  web.Url = QStringLiteral("file:///help/index.html");
  EXPECT_FALSE(web.IsAnyBrowser());
  EXPECT_FALSE(web.Execute());
  home_.AddApplication(QStringLiteral("broken.desktop"), QStringLiteral("\"/usr/bin/browser %u"));
  home_.SetDefault(QStringLiteral("config/mimeapps.list"), QStringLiteral("text/html"), QStringLiteral("broken.desktop"));
  EXPECT_FALSE(web.Execute());
  EXPECT_TRUE(launcher_.StartedPrograms().isEmpty());
  // With no choice made, an application that handles the type is taken.
  home_.AddApplication(QStringLiteral("any.desktop"), home_.AddRecorder(QStringLiteral("any")), true);
  XdgTestHome::Write(Root() + QStringLiteral("/share/applications/mimeinfo.cache"),
                     "[MIME Cache]\napplication/xhtml+xml=gone.desktop;any.desktop;\n");
  EXPECT_TRUE(web.IsAnyBrowser());
}

TEST_F(MailWebTest, RegisteredCommandsSplitAtTheProgramsExtension) {
  const struct {
    const char* command;
    const char* path;
    const char* parameters;
  } cases[] = {
      {R"("C:\Program Files\Web\web.exe" -nohome "%1")", R"(C:\Program Files\Web\web.exe)", "-nohome"},
      {R"(C:\WEB\START.BAT)", R"(C:\WEB\START.BAT)", ""},
      {R"(C:\a.com.d\b.Com -x %1 -y)", R"(C:\a.com.d\b.Com)", "-x  -y"},
      {R"(browser %1)", "", ""},
  };
  for (const auto& c : cases) {
    QString parameters;
    EXPECT_EQ(SplitBrowserCommand(QString::fromLatin1(c.command), &parameters), QString::fromLatin1(c.path)) << c.command;
    EXPECT_EQ(parameters, QString::fromLatin1(c.parameters)) << c.command;
  }
}

TEST_F(MailWebTest, ProgramsStartWaitedOrDetachedAndFailuresSayWhy) {
  TAppExec exec;
  const struct {
    const char* given;
    const char* kept;
  } paths[] = {{"/", "/"}, {"/tmp/work/", "/tmp/work"}, {"work//", "work/"}, {"", ""}};
  for (const auto& p : paths) {
    exec.SetExePath(QString::fromLatin1(p.given));
    EXPECT_EQ(exec.ExePath(), QString::fromLatin1(p.kept)) << p.given;
  }
  EXPECT_EQ(exec.ErrNo(), -1);
  EXPECT_EQ(exec.GetErrorString(), QStringLiteral("No execution"));

  const QString unrunnable = Root() + QStringLiteral("/bin/unrunnable");
  XdgTestHome::Write(unrunnable, "#!/bin/sh\n");
  const QString garbage = Root() + QStringLiteral("/garbage");
  XdgTestHome::Write(garbage, QByteArray(64, 'x'));
  QFile::setPermissions(garbage, QFile::ReadOwner | QFile::ExeOwner);
  const struct {
    QString program;
    int errNo;
    const char* text;
  } failures[] = {
      {QStringLiteral("kivrec-no-such-program"), 2, "File was not found"},
      {QStringLiteral("/etc/passwd/program"), 3, "Path was not found"},
      {QStringLiteral("unrunnable"), 5, "Attempt was made to dynamically link to a task, or there was a sharing or network-protection error"},
      {garbage, 11, "Executable file was invalid. Either it was not a Windows application or there was an error in the .EXE image"},
  };
  for (const auto& f : failures) {
    exec.ExeName = f.program;
    try {
      exec.Execute();
      ADD_FAILURE() << "started " << f.program.toStdString();
    } catch (const EAppExecWinExec& e) {
      EXPECT_EQ(e.Text(), QString::fromLatin1(f.text));
    }
    EXPECT_EQ(exec.ErrNo(), f.errNo) << f.program.toStdString();
  }

  // Waited, in its working folder: done when Execute returns.
  const QString here = QDir::currentPath();
  const QString script = Root() + QStringLiteral("/bin/where");
  XdgTestHome::Write(script, "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" >\"$PWD/where.out\"\n");
  QFile::setPermissions(script, QFile::ReadOwner | QFile::ExeOwner);
  exec.Clear();
  exec.ExeName = QStringLiteral("where");
  exec.ExeParams = {QStringLiteral("one two"), QStringLiteral("three")};
  exec.SetExePath(Root() + u'/');
  exec.Wait = true;
  exec.Execute();
  QDir::setCurrent(here);
  EXPECT_EQ(exec.ErrNo(), 0);
  QFile out(Root() + QStringLiteral("/where.out"));
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString::fromUtf8(out.readAll()), Root() + QStringLiteral("\none two\nthree\n"));

  // Detached: the program runs on its own.
  exec.Clear();
  exec.ExeName = home_.AddRecorder(QStringLiteral("detached"));
  exec.ExeParams = {QStringLiteral("x")};
  exec.Wait = false;
  exec.Execute();
  EXPECT_EQ(exec.ErrNo(), -1);
  EXPECT_EQ(home_.Arguments(QStringLiteral("detached")), QStringList{QStringLiteral("x")});

  exec.SetExePath(Root() + QStringLiteral("/missing"));
  EXPECT_THROW(exec.Execute(), EAppExecChDir);
}

TEST_F(MailWebTest, MailGoesToTheComposerWithItsTextsAndOnlyItsOwnLogonEnds) {
  home_.AddRecorder(QStringLiteral("xdg-email"));
  home_.AddApplication(QStringLiteral("mailer.desktop"), QStringLiteral("mailer %u"));
  {
    XdgEmailMapi offered;  // the handler is not registered yet
    EXPECT_FALSE(offered.MapiAvailable());
    TEmail mail(offered);
    EXPECT_THROW(mail.Logon(), EMapiUnavailable);
  }
  home_.SetDefault(QStringLiteral("data/applications/mimeapps.list"), QStringLiteral("x-scheme-handler/mailto"),
                   QStringLiteral("mailer.desktop"));
  qputenv("PATH", (Root() + QStringLiteral("/nothing")).toLocal8Bit());
  EXPECT_FALSE(XdgEmailMapi().MapiAvailable());  // no xdg-email
  qputenv("PATH", (Root() + QStringLiteral("/bin:/usr/bin:/bin")).toLocal8Bit());

  XdgEmailMapi mapi;
  TEmail mail(mapi);
  mail.Subject = QStringLiteral("Subject");
  mail.Text = QStringLiteral("Line\r\n\r\nlast\r\n");
  mail.Recipient = {QStringLiteral("a@example.org")};
  mail.CC = {QStringLiteral("c@example.org")};
  EXPECT_EQ(mail.SendMail(), 0);
  EXPECT_FALSE(mail.LoggedOn());
  EXPECT_EQ(home_.Arguments(QStringLiteral("xdg-email")),
            QStringList({QStringLiteral("--utf8"), QStringLiteral("--cc"), QStringLiteral("c@example.org"),
                         QStringLiteral("--subject"), QStringLiteral("Subject"), QStringLiteral("--body"),
                         QStringLiteral("Line\n\nlast\n"), QStringLiteral("a@example.org")}));
  ASSERT_EQ(mail.Logon(), 0);
  EXPECT_EQ(mail.SendMail(), 0);
  EXPECT_TRUE(mail.LoggedOn());
  mail.Clear();
  EXPECT_TRUE(mail.Recipient.isEmpty() && mail.CC.isEmpty() && mail.Subject.isEmpty());
  EXPECT_EQ(mail.Text, QStringLiteral("Line\r\n\r\nlast\r\n"));
}

}  // namespace
}  // namespace kiv::test
