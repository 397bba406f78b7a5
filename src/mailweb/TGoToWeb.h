// Opens a web page or a help page in the user's web browser. The browser is the desktop's
// default application for web pages, started directly with its own parameters followed by the
// address. The panel owns one (normal window) for its help, its logo and the About box; the
// start-up panel owns another one (maximised) for the advertised page.
//
// On Linux the browser is the default application of the first of these types that has one
// installed, in this order: text/html (".htm", ".html"), application/xhtml+xml,
// x-scheme-handler/http, x-scheme-handler/https. Its desktop file's Exec line is the command;
// the field codes are the places of the address, which is always handed over last. On Windows
// the browser comes from the open command of the ".HTM", ".HTML", ".SHTML" and ".SHTM" file
// types in the registry.
#pragma once

#include <QString>
#include <QStringList>

namespace kiv {

class DesktopLauncher;

enum class TBrowserState { gwMaximized, gwNormal };

class TGoToWeb {
 public:
  // Programs are started through `launcher`, which outlives this object.
  explicit TGoToWeb(DesktopLauncher& launcher, TBrowserState state = TBrowserState::gwNormal)
      : BrowserState(state), launcher_(launcher) {}

  void SetUrl(const QString& url) { Url = url; }
  void SetBrowserState(TBrowserState state) { BrowserState = state; }

  // The browser program, or empty when there is none; also sets BrowserParameters().
  QString BrowserPath();
  // The browser's own parameters found with the last BrowserPath(), each one argument.
  const QStringList& BrowserParameters() const { return browserParameters_; }
  // True when BrowserPath() names an existing file.
  bool IsAnyBrowser();
  // Opens Url in the browser. False when there is no browser or it could not be started; the
  // callers show nothing then.
  bool Execute();
  // The show command of a browser state: maximised 3, normal 1.
  static int GwToSw(TBrowserState state) { return state == TBrowserState::gwMaximized ? 3 : 1; }

  // The types looked up on Linux, in their order.
  static QStringList BrowserTypes();

  QString Url;
  // The window state is passed on where the desktop lets a caller choose it (Windows).
  TBrowserState BrowserState;

 private:
  DesktopLauncher& launcher_;
  QStringList browserParameters_;
};

// A Windows open command split into the program and its parameters: the program ends at the
// last ".EXE", ".BAT" or ".COM" (any case), with one leading quote dropped; the rest, trimmed,
// loses its quotes and its "%" placeholders (up to the next blank) and is trimmed again. Empty
// path when the command names no such program. Used by the registry lookup on Windows; plain
// text work, so it is built everywhere.
QString SplitBrowserCommand(const QString& command, QString* parameters);

}  // namespace kiv
