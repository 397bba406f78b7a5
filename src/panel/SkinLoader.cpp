#include "panel/SkinLoader.h"

#include <array>
#include <memory>

#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>

#include "panel/FindFileNoCase.h"
#include "panel/TChangeClothes.h"

namespace kiv {
namespace {

// The key-file row and the resting picture of a control, from the picture table.
QString RowKey(SkinControl control) { return QLatin1String(PicturesOf(control)->row); }
QString PictureFile(SkinControl control) { return QLatin1String(SkinPictureName(control)); }

}  // namespace

SkinLoader::SkinLoader(SkinTarget& target, const QString& programFolder, int logicalDpi)
    : target_(target), programFolder_(programFolder), logicalDpi_(logicalDpi) {
  if (!programFolder_.endsWith(u'/')) programFolder_.append(u'/');
  SetSkinName(QStringLiteral("Default"));
}

SkinLoader::~SkinLoader() = default;

int SkinLoader::ScreenLogicalDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? qRound(screen->logicalDotsPerInch()) : 96;
}

void SkinLoader::SetSkinName(const QString& name) {
  skinName_ = name;
  skinSetFile_ = name + QStringLiteral(".set");
}

QString SkinLoader::SkinFolder() const {
  const QString skins = programFolder_ + QStringLiteral("Skin");
  const QString found = FindFileNoCase(skins, skinName_);
  return (found.isEmpty() ? skins + u'/' + skinName_ : found) + u'/';
}

QImage SkinLoader::LoadPicture(const QString& fileName) const {
  return Picture(fileName).value_or(QImage());
}

std::optional<QImage> SkinLoader::Picture(const QString& fileName) const {
  const QString path = FindFileNoCase(SkinFolder(), fileName);
  if (path.isEmpty()) return std::nullopt;
  QImage picture;
  // Only Windows bitmaps are skin pictures, whatever else the file might be.
  if (!picture.load(path, "BMP")) return std::nullopt;
  return picture;
}

SkinItems SkinLoader::Read(QStringView key) const {
  return SkinItems(profile_->ReadString(skinName_, key.toString(), QStringLiteral("0")));
}

QString SkinLoader::ScreenVariant(QStringView key) const {
  return key.toString() + (logicalDpi_ == kLargeFontsDpi ? u'L' : u'S');
}

bool SkinLoader::LoadSkin(const QString& caption) {
  auto progress = std::make_unique<TChangeClothes>();
  progress->Gauge()->setMaximum(kRowCount);
  progress->Gauge()->setValue(0);
  progress->setWindowTitle(caption);
  progress->show();
  progress_ = progress.get();

  QString setFile = FindFileNoCase(programFolder_ + QStringLiteral("Skin"), skinSetFile_);
  if (setFile.isEmpty()) setFile = programFolder_ + QStringLiteral("Skin/") + skinSetFile_;
  profile_.emplace(setFile);

  // One entry per row of the key file, in loading order; each is one guarded step.
  using Row = std::function<bool()>;
  using C = SkinControl;
  const std::array<Row, kRowCount> rows = {{
      [&] { return PointWithSwitchRow(C::volButton); },
      [&] { return BoxRow(u"VolumeIndicatorPos", C::CGauge1); },
      [&] { return ColourRow(u"VolumeIndicatorBGColor", SkinColor::GaugeBack); },
      [&] { return ColourRow(u"VolumeIndicatorFGColor", SkinColor::GaugeBar); },
      [&] { return PointRow(C::PauseButton); },
      [&] { return PointRow(C::playButton); },
      [&] { return PointRow(C::recButton); },
      [&] { return PointRow(C::stopButton); },
      [&] { return PointRow(C::delButton); },
      [&] { return PointRow(C::moreButton); },
      [&] { return PointRow(C::rewSButton); },
      [&] { return PointRow(C::rewButton); },
      [&] { return PointRow(C::forwButton); },
      [&] { return PointRow(C::forwEButton); },
      [&] { return PointRow(C::exitButton); },
      [&] { return BoxRow(ScreenVariant(u"TickerTape"), C::mname); },
      [&] { return TickerColoursRow(); },
      [&] { return TickerFontRow(); },
      [&] { return BoxRow(ScreenVariant(u"MessageLabel"), C::message); },
      [&] { return LabelColourRow(u"MessageLabelColor", C::message); },
      [&] { return FontRow(u"MessageLabelFont", C::message); },
      [&] { return BoxRow(ScreenVariant(u"CountLabel"), C::Count); },
      [&] { return LabelColourRow(u"CountLabelColor", C::Count); },
      [&] { return FontRow(u"CountLabelFont", C::Count); },
      [&] { return PointWithSwitchRow(C::WheelL); },
      [&] { return PointWithSwitchRow(C::WheelD); },
      [&] { return LogoRow(); },
      [&] { return BoxWithSwitchRow(ScreenVariant(u"GraphicAnalyser"), C::PaintBox1); },
      [&] { return AnalyserColoursRow(); },
      [&] { return BoxWithSwitchRow(ScreenVariant(u"GraphicAnalyserLine"), C::Shape2); },
      // The line has no colour key of its own: it always takes the analyser's playing colour.
      [&] { return ColourRow(u"GraphicAnalyserPlFGColor", SkinColor::LineFill); },
      [&] { return PointWithSwitchRow(C::VolPlusButton); },
      [&] { return PointWithSwitchRow(C::VolMinusButton); },
  }};

  bool loaded = true;
  for (const Row& row : rows) {
    if (!row()) {
      loaded = false;
      break;
    }
    progress->Advance();
    if (stepObserver_) stepObserver_(progress->Gauge()->value());
  }
  profile_.reset();
  if (loaded) loaded = PanelPicture();

  progress_ = nullptr;
  return loaded;
}

bool SkinLoader::PointRow(SkinControl control) {
  SkinItems items = Read(RowKey(control));
  return ApplyPoint(items, control);
}

bool SkinLoader::PointWithSwitchRow(SkinControl control) {
  SkinItems items = Read(RowKey(control));
  // The switch decides before anything else is read: a hidden control may have bad numbers.
  const bool on = items.Switch(2);
  if (!items.Ok()) return false;
  target_.SetControlVisible(control, on);
  return !on || ApplyPoint(items, control);
}

bool SkinLoader::ApplyPoint(SkinItems& items, SkinControl control) {
  const QPoint topLeft = items.Point();
  if (!items.Ok()) return false;
  target_.PlaceControl(control, topLeft);
  const std::optional<QImage> image = Picture(PictureFile(control));
  if (!image) return false;
  target_.SetControlPicture(control, *image);
  return true;
}

bool SkinLoader::BoxRow(QStringView key, SkinControl control) {
  SkinItems items = Read(key);
  return ApplyBox(items, control);
}

bool SkinLoader::BoxWithSwitchRow(QStringView key, SkinControl control) {
  SkinItems items = Read(key);
  const bool on = items.Switch(4);
  if (!items.Ok()) return false;
  target_.SetControlVisible(control, on);
  return !on || ApplyBox(items, control);
}

bool SkinLoader::ApplyBox(SkinItems& items, SkinControl control) {
  const QRect box = items.Box();
  if (!items.Ok()) return false;
  target_.SetControlBox(control, box);
  return true;
}

bool SkinLoader::ColourRow(QStringView key, SkinColor role) {
  SkinItems items = Read(key);
  const QColor colour = items.Colour();
  if (!items.Ok()) return false;
  target_.SetSkinColor(role, colour);
  return true;
}

bool SkinLoader::LabelColourRow(QStringView key, SkinControl label) {
  SkinItems items = Read(key);
  const QColor colour = items.Colour();
  if (!items.Ok()) return false;
  target_.SetLabelColor(label, colour);
  return true;
}

bool SkinLoader::FontRow(QStringView key, SkinControl control) {
  SkinItems items = Read(key);
  const SkinFont font = items.Font();
  if (!items.Ok()) return false;
  if (font.fontFile != QStringLiteral("off")) InstallSkinFont(font.face, font.fontFile);
  target_.SetControlFont(control, font);
  return true;
}

bool SkinLoader::TickerFontRow() {
  if (!FontRow(u"TickerTapeFont", SkinControl::mname)) return false;
  target_.TickerFontApplied();
  return true;
}

bool SkinLoader::TickerColoursRow() {
  if (!ColourRow(u"TickerTapeColor", SkinColor::TickerBack)) return false;
  for (int number = 1; number <= 4; ++number) {
    SkinItems items = Read(QStringLiteral("TickerTapeTextColor%1").arg(number));
    const QString tag = items.TickerColour();
    if (!items.Ok()) return false;
    target_.SetTickerColorTag(number, tag);
  }
  return true;
}

bool SkinLoader::LogoRow() {
  if (!BoxRow(RowKey(SkinControl::UserBMP), SkinControl::UserBMP)) return false;
  const std::optional<QImage> logo = Picture(PictureFile(SkinControl::UserBMP));
  if (!logo) return false;
  target_.SetLogo(*logo, LogoLink(), LogoHint());
  return true;
}

bool SkinLoader::AnalyserColoursRow() {
  return ColourRow(u"GraphicAnalyserPlFGColor", SkinColor::AnalyserPlay) &&
         ColourRow(u"GraphicAnalyserRecFGColor", SkinColor::AnalyserRecord) &&
         ColourRow(u"GraphicAnalyserBGColor", SkinColor::AnalyserBack);
}

bool SkinLoader::PanelPicture() {
  const std::optional<QImage> panel = Picture(PictureFile(SkinControl::ZvSkin1));
  if (!panel) return false;
  target_.SetPanelPicture(*panel);
  return true;
}

// The face would only name the file in the system's font registry, which is not written (below).
bool SkinLoader::InstallSkinFont(const QString& /*face*/, const QString& fontFile) {
  const QString path = FindFileNoCase(SkinFolder(), fontFile);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
  // Three font rows often share one file; adding it again would only list the family twice.
  if (installedFonts_.contains(path)) return true;
  // The application font database makes the face usable by this program on every system. On
  // Windows the file is deliberately not registered for every program on the machine as well
  // (AddFontResource, a WM_FONTCHANGE broadcast, a value under the system's Fonts key): that
  // needs administrator rights and changes other programs' font lists, and the panel does not
  // need it.
  if (QFontDatabase::addApplicationFont(path) < 0) return false;
  installedFonts_.insert(path);
  return true;
}

}  // namespace kiv
