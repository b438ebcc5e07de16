#include "report_window/design_limit.h"

#include <QLineEdit>
#include <QRadioButton>

#include "ui/design_name.h"

namespace vortalis::report_window {

using namespace ui;

QString DesignSizeWord(const ReportSource& source) {
  if (!source.horn) return {};
  if (vortalis::report::IsRectangular(*source.horn)) return QStringLiteral("side1");
  return vortalis::report::SizeModeOf(*source.horn) == vortalis::geometry::SizeMode::Diameter
             ? QStringLiteral("diameter")
             : QStringLiteral("radius");
}

void TakeDesignMouthLimit(const ReportSource& source, QRadioButton* sizeLimit,
                          QRadioButton* lengthLimit, QLineEdit* value) {
  const QString limit = CurrentDesignMouthLimit();
  const qsizetype equals = limit.indexOf(QLatin1Char('='));
  if (equals <= 0) return;
  const QString word = limit.left(equals);
  QRadioButton* chosen = word == QStringLiteral("length") ? lengthLimit
                         : word == DesignSizeWord(source)       ? sizeLimit
                                                          : nullptr;
  if (!chosen) return;
  chosen->setChecked(true);
  value->setText(limit.mid(equals + 1));
}

}  // namespace vortalis::report_window
