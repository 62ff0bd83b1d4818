// QtInput: user input delivered to the Qt window as real Qt events (Qt Test's
// event simulation), and what its widgets show. Only the tests and the script
// driver link this; the program does not, so it never loads the Qt Test library.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "window/model.h"
#include "window/qt/qt_binding.h"
#include "window/qt/qt_window.h"

namespace tc {

using namespace qt_window;

namespace {

QPoint centre(QWidget* w) { return w->rect().center(); }

}  // namespace

void QtInput::click(Binding& b, ControlIndex control) {
  QWidget* w = widget(b, control);
  if (auto* c = qobject_cast<QCheckBox*>(w)) {
    // Click the box itself, not the caption area.
    QTest::mouseClick(c, Qt::LeftButton, {}, c->layoutDirection() == Qt::RightToLeft ? QPoint(c->width() - 7, c->height() / 2)
                                                                                     : QPoint(7, c->height() / 2));
    return;
  }
  QTest::mouseClick(w, Qt::LeftButton, {}, centre(w));
}

void QtInput::type(Binding& b, ControlIndex edit, const std::string& text) {
  QWidget* w = widget(b, edit);
  if (auto* c = qobject_cast<QComboBox*>(w)) w = c->lineEdit();
  w->setFocus();
  QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(w, Qt::Key_Delete);
  // ASCII as key presses; anything else as an input method commits it, the way
  // Chinese text arrives from an IME.
  for (const QChar ch : qt_text(text)) {
    if (ch.unicode() < 0x80) {
      QTest::keyClicks(w, QString(ch));
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(QString(ch));
      QApplication::sendEvent(w, &commit);
    }
  }
}

void QtInput::key(Binding& b, ControlIndex focus, int qt_key, int qt_modifiers) {
  QWidget* w = widget(b, focus);
  if (auto* c = qobject_cast<QComboBox*>(w); c != nullptr && c->lineEdit() != nullptr) w = c->lineEdit();
  w->setFocus();
  // A real key goes to the widget that has the focus (a combo box's field may
  // hand it on).
  if (QWidget* f = QApplication::focusWidget()) w = f;
  // Sent as press and release with an explicit text, which keeps keypad keys
  // (a modifier QTest's own key tables do not take) possible.
  const auto k = static_cast<Qt::Key>(qt_key);
  QString text;
  if (k == Qt::Key_Return || k == Qt::Key_Enter) text = QString(QChar('\r'));
  else if (k == Qt::Key_Tab) text = QString(QChar('\t'));
  else if (k < 0x80) text = QString(QChar(qt_key));
  const auto mods = Qt::KeyboardModifiers(qt_modifiers);
  QTest::sendKeyEvent(QTest::Press, w, k, text, mods);
  QTest::sendKeyEvent(QTest::Release, w, k, text, mods);
}

void QtInput::choose(Binding& b, ControlIndex combo, int index) {
  auto* c = qobject_cast<QComboBox*>(widget(b, combo));
  c->setFocus();
  c->showPopup();
  QAbstractItemView* view = c->view();
  const QModelIndex item = view->model()->index(index, 0);
  view->setCurrentIndex(item);
  QTest::keyClick(view, Qt::Key_Return);
}

void QtInput::edit_picker(Binding& b, ControlIndex picker, const PickerFields& f) {
  auto* p = qobject_cast<QDateTimeEdit*>(widget(b, picker));
  // The user's own edit: the widget reports it as a change.
  p->setDateTime(QDateTime(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second)));
}

void QtInput::wait(int ms) { QTest::qWait(ms); }

std::string QtInput::shown_text(Binding& b, ControlIndex control) {
  QWidget* w = widget(b, control);
  QString s;
  if (auto* l = qobject_cast<QLabel*>(w)) s = l->text();
  else if (auto* e = qobject_cast<QLineEdit*>(w)) s = e->text();
  else if (auto* c = qobject_cast<QComboBox*>(w)) s = c->currentText();
  else if (auto* p = qobject_cast<QPushButton*>(w)) s = p->text();
  else if (auto* d = qobject_cast<QDateTimeEdit*>(w)) s = d->text();
  return cp936_text(s);
}

bool QtInput::shown_ticked(Binding& b, ControlIndex box) {
  auto* c = qobject_cast<QCheckBox*>(widget(b, box));
  return c != nullptr && c->isChecked();
}

ControlIndex QtInput::focused(Binding& b) { return index_of(b, QApplication::focusWidget()); }

void QtInput::activate(Binding& b) {
  window(b)->activateWindow();
  (void)QTest::qWaitForWindowActive(window(b), 1000);
}

TextList QtInput::shown_items(Binding& b, ControlIndex combo) {
  TextList items;
  if (auto* c = qobject_cast<QComboBox*>(widget(b, combo))) {
    for (int i = 0; i < c->count(); ++i) items.push_back(cp936_text(c->itemText(i)));
  }
  return items;
}

int QtInput::timer_period(Binding& b) {
  const QTimer& t = timer(b);
  return t.isActive() ? t.interval() : 0;
}

int QtInput::timer_remaining(Binding& b) {
  const QTimer& t = timer(b);
  return t.isActive() ? t.remainingTime() : -1;
}

bool QtInput::wait_for_tick(Binding& b, int timeout_ms) {
  QSignalSpy spy(&timer(b), &QTimer::timeout);
  return spy.wait(timeout_ms);
}

bool QtInput::press_virtual_key(Binding& b, ControlIndex focus, int vk, int modifiers) {
  // The Qt key a virtual-key code comes from; Shift+Tab arrives as Backtab.
  int k = 0;
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) k = vk;
  else if (vk >= 112 && vk <= 123) k = Qt::Key_F1 + (vk - 112);
  else {
    switch (vk) {
      case 8: k = Qt::Key_Backspace; break;
      case 9: k = (modifiers & MOD_SHIFT) != 0 ? Qt::Key_Backtab : Qt::Key_Tab; break;
      case 13: k = Qt::Key_Return; break;
      case 27: k = Qt::Key_Escape; break;
      case 32: k = Qt::Key_Space; break;
      case 33: k = Qt::Key_PageUp; break;
      case 34: k = Qt::Key_PageDown; break;
      case 35: k = Qt::Key_End; break;
      case 36: k = Qt::Key_Home; break;
      case 37: k = Qt::Key_Left; break;
      case 38: k = Qt::Key_Up; break;
      case 39: k = Qt::Key_Right; break;
      case 40: k = Qt::Key_Down; break;
      case 45: k = Qt::Key_Insert; break;
      case 46: k = Qt::Key_Delete; break;
      default: return false;
    }
  }
  Qt::KeyboardModifiers mods;
  if ((modifiers & MOD_CTRL) != 0) mods |= Qt::ControlModifier;
  if ((modifiers & MOD_SHIFT) != 0) mods |= Qt::ShiftModifier;
  if ((modifiers & MOD_ALT) != 0) mods |= Qt::AltModifier;
  key(b, focus, k, static_cast<int>(mods.toInt()));
  return true;
}

void QtInput::request_close(Binding& b) {
  // As the window manager's close button does: a close event to the window.
  if (QWidget* w = window(b)) w->close();
}

bool QtInput::window_visible(Binding& b) { return window(b) != nullptr && window(b)->isVisible(); }

}  // namespace tc
