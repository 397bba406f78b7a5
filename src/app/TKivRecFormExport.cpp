// Export and import on the panel: the current message to a WAV file, and (built, though its menu
// item stays hidden) a WAV or MP3 file onto the cassette. The panel chooses the file, hands the
// job to the converter (the module beside the program, or the external converter program when
// "UseZACexe" is "YES"), shows the converter's progress and texts, and puts itself together
// again when the job's completion arrives. From the hand-over to the completion the cassette
// stream is closed and every tape key is ignored.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include "app/TKivRecForm.h"
#include "audio/GraphicAnalyser.h"
#include "cassette/MessageName.h"
#include "convert/ConversionJob.h"
#include "panel/ConversionProgress.h"
#include "panel/TBMShapedForm.h"
#include "panel/TZvTrayIcon.h"
#include "platform/DesktopLauncher.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"

namespace kiv {
namespace {

constexpr int32_t kFailed = 1;

int LowWord(int32_t value) { return int(uint32_t(value) & 0xFFFF); }
int HighWord(int32_t value) { return int(uint32_t(value) >> 16); }

}  // namespace

void TKivRecForm::WireExport() {
  conversionProgress_ = std::make_unique<ConversionProgress>(this);
  connect(menus_->Item(MenuItem::ExportMessage1), &QAction::triggered, this, [this] { ToWAV1Click(); });
  connect(menus_->Item(MenuItem::ImportWAVMP31), &QAction::triggered, this,
          [this] { ImportWAVMP31Click(); });
}

void TKivRecForm::HandOver(const Setting& value, const QString& text) {
  if (settings_.useZACexe) {
    services_.settings->Write(value, text);
  } else if (conversionJob_) {
    conversionJob_->HandOver(value.name, text.toStdString());
  }
}

bool TKivRecForm::PrepareConverter() {
  if (settings_.useZACexe) return true;
  QString why;
  conversionJob_ = services_.newConversionJob ? services_.newConversionJob(&why) : nullptr;
  if (!conversionJob_) {
    services_.dialogs->MessageBox(QStringLiteral("The converter could not be loaded. ") + why,
                                  QStringLiteral("Kiv Sound Recorder - ZAC"), MB_OK | MB_ICONHAND);
    return false;
  }
  conversionJob_->SetNameColors(tickerColorTags_[0].toStdString(), tickerColorTags_[1].toStdString());
  conversionJob_->SetEvents(ConversionEvents{
      [this](const std::string& text) { ZCAConv1Exception(QString::fromStdString(text)); },
      [this](int64_t min, int64_t max, const std::string& title, uint32_t color) {
        ZCAConv1ConversionBegin(min, max, QString::fromStdString(title), color);
      },
      [this](int64_t position) { ZCAConv1ConversionProgress(position); },
      [this] { ZCAConv1ConversionEnd(); },
      [this](int32_t wPar, int32_t lPar) {
        // Posted, as the completion of the external program arrives: it runs once the job has
        // returned and the panel is back in its event loop.
        QMetaObject::invokeMethod(
            this, [this, wPar, lPar] { ConversionDoneMessage(wPar, lPar); }, Qt::QueuedConnection);
      }});
  return true;
}

QString TKivRecForm::ChooseConversionFile(bool save, const QString& filter) {
  FileDialogOptions options;
  // The captions the system's own file dialogs show by default.
  options.caption = save ? QStringLiteral("Save As") : QStringLiteral("Open");
  options.folder = settings_.lastExportFolder.isEmpty() ? dataFolder_ : settings_.lastExportFolder;
  options.fileName = QStringLiteral("Untitled");
  options.filter = filter;
  options.defaultSuffix = QStringLiteral("wav");
  const QString path =
      save ? services_.dialogs->GetSaveFileName(options) : services_.dialogs->GetOpenFileName(options);
  if (!path.isEmpty()) settings_.lastExportFolder = QFileInfo(path).absolutePath();
  return path;
}

void TKivRecForm::BeginConversion(const QString& pending, const char* externalArgument) {
  SetConversionBusy(true);
  // The tray menu would offer the tape's commands while the converter holds the cassette.
  SysTrayIcon->SetPopupMenu(nullptr);
  pendingConversion_ = pending;
  if (settings_.useZACexe) {
    // ZAC reports back before it ends; one that ended without a word (it crashed, or was
    // killed) must not leave the panel waiting for ever.
    auto ended = [panel = QPointer<TKivRecForm>(this), job = ++externalJob_] {
      if (panel && panel->conversionBusy_ && job == panel->externalJob_) {
        panel->ConversionDoneMessage(kFailed, kFailed);
      }
    };
    // Beside the recorder's executable, which is not the program folder once installed.
    const QString zac = QFileInfo(services_.programPath).absolutePath() + QStringLiteral("/ZAC");
    if (!services_.launcher->StartWatchedProgram(zac, {QString::fromLatin1(externalArgument)}, ended)) {
      services_.dialogs->MessageBox(QStringLiteral("Cannot start ") + zac,
                                    QStringLiteral("Kiv Sound Recorder - ZAC"), MB_OK | MB_ICONHAND);
      ConversionDoneMessage(kFailed, kFailed);
    }
    return;
  }
  if (pending == QStringLiteral("import")) {
    conversionJob_->DoImport();
  } else {
    const uint32_t number = cassette_->CurrentMessage();
    conversionJob_->DoExport("Kiv Sound Recorder Export",
                             DisplayText(cassette_->NameTextOfMessage(number)), int(number));
  }
}

void TKivRecForm::ToWAV1Click() {
  if (!MayEditMessages() || cassette_->MessageCount() == 0) return;
  // The converter reads the cassette file itself.
  cassette_->CloseStream();
  if (!PrepareConverter()) return;
  const QString cassettePath = CassettePathText();
  const QString rate = QString::number(cassette_->BaseRate());
  HandOver(settings::ChangeFromType, QStringLiteral("MSG"));
  analyser_->DrawIdleLine();
  HandOver(settings::ChangeFrom, cassettePath);
  HandOver(settings::ChangeFromFreq, rate);
  HandOver(settings::ChangeToFreq, rate);
  HandOver(settings::ChangeToMessageStart, QString::number(cassette_->MessageStart()));
  HandOver(settings::ChangeToMessageEnd, QString::number(cassette_->MessageEnd()));

  const QString target = ChooseConversionFile(true, QStringLiteral("WAV Files (*.wav)"));
  if (target.isEmpty()) return;
  if (QFileInfo::exists(target)) {
    if (services_.dialogs->MessageBox(QStringLiteral("Overwrite Existing File?"),
                                      QStringLiteral("Confirm Overwriting"),
                                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDNO) {
      return;
    }
    QFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
      services_.dialogs->ShowMessage(QStringLiteral("Cannot open ") + target);
      return;
    }
  }
  HandOver(settings::ChangeTo, target);
  HandOver(settings::ChangeToType, QStringLiteral("WAV"));
  BeginConversion(QStringLiteral("WAV"), "export");
  analyser_->DrawIdleLine();
}

void TKivRecForm::ImportWAVMP31Click() {
  if (!MayEditMessages()) return;
  analyser_->DrawIdleLine();
  const QString source =
      ChooseConversionFile(false, QStringLiteral("WAV/MP3 Files (*.wav *.mp3)"));
  if (source.isEmpty()) return;
  // The kind is told by the last three characters, handed on as typed.
  const QString kind = source.right(3);
  if (QFileInfo::exists(source) && kind.toUpper() != QStringLiteral("WAV") &&
      kind.toUpper() != QStringLiteral("MP3")) {
    services_.dialogs->ShowMessage(QStringLiteral("Bad File Extension!"));
    return;
  }
  if (!PrepareConverter()) return;
  const QString cassettePath = CassettePathText();
  const QString unused = settings_.useZACexe ? QStringLiteral("import") : QStringLiteral("0");
  HandOver(settings::ChangeFromType, kind);
  HandOver(settings::ChangeFrom, source);
  HandOver(settings::ChangeFromFreq, unused);
  HandOver(settings::ChangeToFreq, QString::number(cassette_->BaseRate()));
  HandOver(settings::ChangeToMessageStart, unused);
  HandOver(settings::ChangeToMessageEnd, unused);
  HandOver(settings::ChangeTo, cassettePath);
  HandOver(settings::ChangeToType, cassettePath.right(3));
  // The converter appends to the cassette file; the panel reads it anew at the completion.
  cassette_->CloseStream();
  ZvSkin1->SetMoveable(false);
  BeginConversion(QStringLiteral("import"), "import");
  analyser_->DrawIdleLine();
}

// ---- The converter's events ---------------------------------------------------------------

void TKivRecForm::ZCAConv1ConversionBegin(int64_t min, int64_t max, const QString& title,
                                          uint32_t color) {
  conversionProgress_->Begin(min, max, title, color);
}

void TKivRecForm::ZCAConv1ConversionProgress(int64_t position) {
  conversionProgress_->Advance(position);
}

void TKivRecForm::ZCAConv1ConversionEnd() { conversionProgress_->End(); }

void TKivRecForm::ZCAConv1Exception(const QString& text) {
  services_.dialogs->MessageBox(text, QStringLiteral("Kiv Sound Recorder - ZAC"), MB_OK);
}

void TKivRecForm::ConversionDoneMessage(int32_t wPar, int32_t lPar) {
  SetConversionBusy(false);
  SysTrayIcon->SetPopupMenu(menus_->PopupMenu1);
  MoveableTimer.start();
  conversionJob_.reset();
  if (wPar == kFailed && lPar == kFailed) return;
  // Any one of the four words says the job finished; the converters send all of them.
  if (LowWord(lPar) != 11 && HighWord(lPar) != 12 && LowWord(wPar) != 13 && HighWord(wPar) != 14) {
    return;
  }
  if (pendingConversion_ == QStringLiteral("import")) {
    // The new message is on disk: the cassette is read anew, as at start.
    OpenCassetteFile(CassettePathText());
    cassette_->CloseStream();
  } else {
    Reported(cassette_->EnsureStreamOpen());
  }
}

}  // namespace kiv
