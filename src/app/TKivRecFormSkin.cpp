// What the skin loader applies to the panel: places, pictures, colours and fonts.
#include <QLabel>

#include "app/TCGauge.h"
#include "app/TImageControl.h"
#include "app/TKivRecForm.h"
#include "audio/GraphicAnalyser.h"
#include "panel/SkinLoader.h"
#include "panel/TBMShapedForm.h"
#include "panel/TMarquee.h"

namespace kiv {
namespace {

void SetBackground(QWidget* widget, QColor color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, color);
  widget->setPalette(palette);
}

}  // namespace

void TKivRecForm::SetControlVisible(SkinControl control, bool visible) {
  if (QWidget* widget = Control(control)) widget->setVisible(visible);
}

void TKivRecForm::PlaceControl(SkinControl control, QPoint topLeft) {
  if (QWidget* widget = Control(control)) widget->move(topLeft);
}

void TKivRecForm::SetControlPicture(SkinControl control, const QImage& picture) {
  if (auto* image = qobject_cast<TImageControl*>(Control(control))) image->SetPicture(picture);
}

void TKivRecForm::SetControlBox(SkinControl control, QRect box) {
  if (QWidget* widget = Control(control)) widget->setGeometry(box);
}

void TKivRecForm::SetControlFont(SkinControl control, const SkinFont& skinFont) {
  QWidget* widget = Control(control);
  if (!widget) return;
  QFont font = widget->font();
  font.setFamily(skinFont.face);
  if (skinFont.pointSize > 0) font.setPointSize(skinFont.pointSize);
  font.setBold(skinFont.bold);
  widget->setFont(font);
}

void TKivRecForm::SetLabelColor(SkinControl label, QColor color) {
  if (QWidget* widget = Control(label)) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
  }
}

void TKivRecForm::SetSkinColor(SkinColor role, QColor color) {
  skinColors_[role] = color;
  switch (role) {
    case SkinColor::GaugeBack:
    case SkinColor::GaugeBar:
      CGauge1->SetColors(AnalyserColor(SkinColor::GaugeBack), AnalyserColor(SkinColor::GaugeBar));
      break;
    case SkinColor::TickerBack:
      mname->SetColor(color);
      break;
    case SkinColor::AnalyserBack:
      SetBackground(PaintBox1, color);
      analyser_->AnalyserBackColor = color;
      break;
    case SkinColor::LineFill:
      SetBackground(Shape2, color);
      break;
    case SkinColor::AnalyserPlay:
      analyser_->AnalyserPlayColor = color;
      break;
    case SkinColor::AnalyserRecord:
      analyser_->AnalyserRecordColor = color;
      break;
  }
}

QColor TKivRecForm::AnalyserColor(SkinColor role) const {
  auto it = skinColors_.find(role);
  return it == skinColors_.end() ? QColor(Qt::black) : it->second;
}

void TKivRecForm::SetTickerColorTag(int number, const QString& tag) {
  if (number < 1 || number > 4) return;
  tickerColorTags_[size_t(number - 1)] = tag;
  mname->SetColorTag(number, tag);
  // New message names carry the skin's first two colours.
  cassette_->SetTickerColorTags(tickerColorTags_[0].toStdString(), tickerColorTags_[1].toStdString());
}

void TKivRecForm::TickerFontApplied() {
  mname->SetActive(false);
  ShowCustomText();
  mname->SetActive(true);
  ApplyTickerDirection();
}

void TKivRecForm::SetLogo(const QImage& picture, const QString& link, const QString& hint) {
  auto* logo = static_cast<TImageControl*>(Control(SkinControl::UserBMP));
  logo->SetPicture(picture);
  logo->setToolTip(hint);
  logoLink_ = link;
}

void TKivRecForm::SetPanelPicture(const QImage& picture) {
  ZvSkin1->SetPicture(picture);
  ZvSkin1->lower();
}

}  // namespace kiv
