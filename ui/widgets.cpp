#include "ui/widgets.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

namespace vortalis::ui {

namespace {

constexpr int kRadioHeight = 17;
constexpr int kButtonHeight = 25;
constexpr int kEditHeight = 21;

}  // namespace

void TabToCheckedOnly(QRadioButton* button) {
  const auto follow = [button](bool checked) {
    button->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
  };
  follow(button->isChecked());
  QObject::connect(button, &QRadioButton::toggled, button, follow);
}

QRadioButton* NewRadio(QWidget* parent, const char* name, const QString& caption, int left,
                       int top, int width) {
  auto* button = Placed(new QRadioButton(caption, parent), name, {left, top, width, kRadioHeight});
  TabToCheckedOnly(button);
  return button;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, int left,
                       int top, int width) {
  return Placed(new QPushButton(caption, parent), name, {left, top, width, kButtonHeight});
}

QGroupBox* NewGroup(QWidget* parent, const char* name, const QString& caption,
                    const QRect& place) {
  return Placed(new QGroupBox(caption, parent), name, place);
}

QFrame* NewBevel(QWidget* parent, const char* name, QFrame::Shadow shadow, const QRect& place) {
  auto* frame = Placed(new QFrame(parent), name, place);
  frame->setFrameStyle(QFrame::Box | shadow);
  return frame;
}

QLabel* NewAutoSizeLabel(QWidget* parent, const char* name, const QString& text, int left,
                         int top) {
  auto* label = Named(new QLabel(text, parent), name);
  label->move(left, top);
  label->adjustSize();
  return label;
}

void SetAutoSizeText(QLabel* label, const QString& text) {
  label->setText(text);
  label->adjustSize();
}

QLineEdit* NewEditField(QWidget* parent, const char* name, const QString& text, int left, int top,
                        int width) {
  auto* edit = Placed(new QLineEdit(text, parent), name, {left, top, width, kEditHeight});
  // No limit: a cut text would be validated as something the user never typed.
  edit->setMaxLength(std::numeric_limits<int>::max());
  return edit;
}

QMenu* NewMenu(QWidget* parent, const char* name, const QString& caption) {
  return Named(new QMenu(caption, parent), name);
}

}  // namespace vortalis::ui
