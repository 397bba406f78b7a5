// The About box: the product, its version, its maker, where to get help and the home page, with
// a button for a mail to support and one for the home page. The box only asks; the panel that
// shows it opens the pages and the mail (it owns the browser and the launcher).
#pragma once

#include <QDialog>

namespace kiv {

class TAboutForm final : public QDialog {
  Q_OBJECT

 public:
  // `logoFile` is the picture beside the program; without it the logo place stays empty.
  explicit TAboutForm(const QString& logoFile, QWidget* parent = nullptr);

  // "mailto:" + support address + "?subject=Support request:  " + product + "  " + version.
  QString SupportMailAddress() const;

 Q_SIGNALS:
  void HelpRequested();
  void HomePageRequested();
  void MailRequested(const QString& mailtoAddress);

 protected:
  void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace kiv
