#include "window/qt/qt_binding.h"
#include "window/qt/qt_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "window/cp936.h"
#include "window/model.h"

namespace tc {

QString qt_window::qt_text(TextView cp936) { return QString::fromStdString(cp936_to_utf8(cp936)); }

Text qt_window::cp936_text(const QString& s) {
  // A character code page 936 cannot hold becomes "?", as the system's own
  // conversion to the ANSI code page does.
  Text out;
  for (const QChar* p = s.constData(); !p->isNull();) {
    const int n = p->isHighSurrogate() ? 2 : 1;
    const std::string utf8 = QString(p, n).toStdString();
    p += n;
    const std::optional<std::string> bytes = utf8_to_cp936(utf8);
    out += bytes ? *bytes : std::string("?");
  }
  return out;
}

namespace {

using qt_window::cp936_text;
using qt_window::qt_text;

QString colour_css(const Colour& c) {
  return QString("color: rgb(%1,%2,%3);").arg(c.red).arg(c.green).arg(c.blue);
}

// Windows virtual-key code of a Qt key event (keypad digits as the digit codes).
std::int32_t virtual_key(const QKeyEvent& e) {
  const int k = e.key();
  const bool keypad = (e.modifiers() & Qt::KeypadModifier) != 0;
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return k;
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return k;
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Minus: return keypad ? 189 : 189;
    case Qt::Key_Period: return 190;
    case Qt::Key_Slash: return 191;
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Equal: return 187;
    case Qt::Key_Semicolon: return 186;
    default: return k < 128 ? k : 0;
  }
}

std::int32_t modifier_state(const QKeyEvent& e) {
  const Qt::KeyboardModifiers m = e.modifiers();
  std::int32_t state = 0;
  // A modifier key does not count as held for its own event.
  if ((m & Qt::ControlModifier) && e.key() != Qt::Key_Control) state |= MOD_CTRL;
  if ((m & Qt::ShiftModifier) && e.key() != Qt::Key_Shift) state |= MOD_SHIFT;
  if ((m & Qt::AltModifier) && e.key() != Qt::Key_Alt) state |= MOD_ALT;
  return state;
}

// A one-line label whose text is wider than the label in this font (the faces
// here run wider than the ones the layout was drawn with) takes a smaller size
// rather than clipping the text.
// The font is set only when its size changes: setting it again relays out and
// repaints the label.
void fit_to_width(QLabel* l, const ControlDefinition& d) {
  if (d.wraps || d.font_height == 0) return;
  QFont f = l->font();
  f.setPixelSize(d.font_height);
  const int room = l->width() - 2 * l->frameWidth() - 2;
  for (int size = d.font_height; size > 8; --size) {
    f.setPixelSize(size);
    if (QFontMetrics(f).horizontalAdvance(l->text()) <= room) break;
  }
  if (f.pixelSize() != l->font().pixelSize()) l->setFont(f);
}

class QtBinding;

// Runs the key filter before any widget of the window sees a key.
class KeyFilter final : public QObject {
 public:
  explicit KeyFilter(QtBinding& b) : binding_(b) {}
  bool eventFilter(QObject* target, QEvent* event) override;

 private:
  QtBinding& binding_;
};

class QtBinding final : public Binding {
 public:
  QtBinding() : filter_(*this) { clock_.start(); }
  ~QtBinding() override {
    qApp->removeEventFilter(&filter_);
    delete window_;
  }

  bool build(WindowModel& model, const PickerFields& now) override;
  void show_centred() override {
    window_->show();
    const QRect screen = window_->screen()->geometry();
    window_->move(screen.x() + (screen.width() - WINDOW_OUTER_WIDTH) / 2,
                  screen.y() + (screen.height() - WINDOW_OUTER_HEIGHT) / 2);
  }
  void run_loop() override { QApplication::exec(); }
  void close_window() override { window_->close(); }

  void set_caption(ControlIndex label, TextView caption) override {
    if (auto* l = qobject_cast<QLabel*>(widget(label))) {
      // The same text again changes nothing on screen: no relayout, no repaint
      // (the countdown sets both labels every second, the days mostly unchanged).
      const QString text = qt_text(caption);
      if (text == l->text()) return;
      l->setText(text);
      fit_to_width(l, window_definition()[static_cast<std::size_t>(label)]);
      l->repaint();  // redrawn at once
    }
  }
  Text edit_text(ControlIndex control) override {
    if (auto* e = qobject_cast<QLineEdit*>(widget(control))) return cp936_text(e->text());
    if (auto* c = qobject_cast<QComboBox*>(widget(control))) return cp936_text(c->currentText());
    return Text();
  }
  bool ticked(ControlIndex box) override {
    auto* c = qobject_cast<QCheckBox*>(widget(box));
    return c != nullptr && c->isChecked();
  }
  void set_ticked(ControlIndex box, bool on) override {
    if (auto* c = qobject_cast<QCheckBox*>(widget(box))) {
      const QSignalBlocker quiet(c);
      c->setChecked(on);
    }
  }
  std::int32_t selected_index(ControlIndex combo) override {
    auto* c = qobject_cast<QComboBox*>(widget(combo));
    return c != nullptr ? c->currentIndex() : -1;
  }
  void set_combo(ControlIndex combo, const TextList& items, std::int32_t selected, TextView field) override {
    auto* c = qobject_cast<QComboBox*>(widget(combo));
    if (c == nullptr) return;
    const QSignalBlocker quiet(c);
    c->clear();
    for (const Text& item : items) c->addItem(qt_text(item));
    c->setCurrentIndex(selected);
    if (c->isEditable()) c->setEditText(qt_text(field));
  }
  PickerFields picker(ControlIndex p) override {
    PickerFields f;
    if (auto* d = qobject_cast<QDateTimeEdit*>(widget(p))) {
      const QDateTime t = d->dateTime();
      f = {t.date().year(), t.date().month(), t.date().day(), t.time().hour(), t.time().minute(), t.time().second()};
    }
    return f;
  }
  bool set_picker(ControlIndex p, const PickerFields& f) override {
    auto* d = qobject_cast<QDateTimeEdit*>(widget(p));
    if (d == nullptr) return false;
    const QDateTime t(QDate(f.year, f.month, f.day), QTime(f.hour, f.minute, f.second));
    if (!t.isValid() || t < d->minimumDateTime() || t > d->maximumDateTime()) return false;
    const QSignalBlocker quiet(d);
    d->setDateTime(t);
    return true;
  }
  void set_picker_format(ControlIndex p, TextView format) override {
    if (auto* d = qobject_cast<QDateTimeEdit*>(widget(p))) {
      const QSignalBlocker quiet(d);
      d->setDisplayFormat(qt_text(format));
    }
  }
  void set_timer(std::int32_t period_ms) override {
    timer_.stop();
    if (period_ms > 0) timer_.start(period_ms);
  }
  void set_focus(ControlIndex control) override {
    if (QWidget* w = widget(control)) w->setFocus(Qt::TabFocusReason);
  }
  void show_error_box(TextView caption, TextView text) override {
    QMessageBox box(QMessageBox::Critical, qt_text(caption), qt_text(text), QMessageBox::Ok);
    box.exec();
  }
  void post(std::function<void()> call) override {
    QMetaObject::invokeMethod(&receiver_, std::move(call), Qt::QueuedConnection);
  }
  std::uint32_t tick_ms() override {
    // Milliseconds since the system's monotonic reference, like an uptime.
    return static_cast<std::uint32_t>(clock_.msecsSinceReference() + clock_.elapsed());
  }
  [[noreturn]] void end_process(int exit_code) override {
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(exit_code);
  }

  // For the key filter and the input helpers.
  WindowModel* model() { return model_; }
  QWidget* window() { return window_; }
  QTimer& timer() { return timer_; }
  QWidget* widget(ControlIndex i) {
    return i >= 0 && static_cast<std::size_t>(i) < widgets_.size() ? widgets_[static_cast<std::size_t>(i)] : nullptr;
  }
  ControlIndex index_of(const QObject* o) const {
    // The control a widget belongs to: itself or its nearest listed ancestor
    // (a combo box's text field, a picker's inner editor).
    for (; o != nullptr; o = o->parent()) {
      const auto at = index_.find(o);
      if (at != index_.end()) return at->second;
    }
    return NO_CONTROL;
  }

 private:
  QWidget* make(ControlIndex i, const ControlDefinition& d, QWidget* parent, const PickerFields& now);

  KeyFilter filter_;
  QObject receiver_;
  QElapsedTimer clock_;
  QTimer timer_;
  QWidget* window_ = nullptr;
  std::vector<QWidget*> widgets_;
  std::unordered_map<const QObject*, ControlIndex> index_;
  WindowModel* model_ = nullptr;
};

QWidget* QtBinding::make(ControlIndex i, const ControlDefinition& d, QWidget* parent, const PickerFields& now) {
  WindowModel& m = *model_;
  QWidget* w = nullptr;
  switch (d.kind) {
    case ControlKind::Label: {
      auto* l = new QLabel(qt_text(d.text), parent);
      l->setTextFormat(Qt::PlainText);
      const Qt::Alignment h = d.align == Align::Centre ? Qt::AlignHCenter
                              : d.align == Align::Right ? Qt::AlignRight
                                                        : Qt::AlignLeft;
      l->setAlignment(h | (d.wraps ? Qt::AlignTop : Qt::AlignVCenter));
      l->setWordWrap(d.wraps);
      // The text colour (a box frame takes it too) as a palette, not a style
      // sheet: the same pixels, with less to parse, polish and keep per label.
      QPalette colours = l->palette();
      colours.setColor(QPalette::WindowText, QColor(d.colour.red, d.colour.green, d.colour.blue));
      l->setPalette(colours);
      // No label overlaps another control, so it can fill its own background
      // (the window colour, as beneath it): a new text then repaints only the
      // label, not the group box and window under it.
      l->setAutoFillBackground(true);
      if (d.border) l->setFrameStyle(QFrame::Box | QFrame::Plain);
      if (d.font_height > 0) {
        QFont f = l->font();
        if (!d.font_face.empty()) f.setFamilies({qt_text(d.font_face), "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
        f.setPixelSize(d.font_height);
        f.setBold(d.bold);
        l->setFont(f);
      }
      w = l;
      break;
    }
    case ControlKind::GroupBox: {
      auto* g = new QGroupBox(qt_text(d.text), parent);
      g->setAlignment(Qt::AlignHCenter);
      g->setStyleSheet(QString("QGroupBox { border: 1px solid palette(mid); margin-top: 6px; }"
                               "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top center;"
                               " padding: 0 2px; %1 }")
                           .arg(colour_css(d.colour)));
      w = g;
      break;
    }
    case ControlKind::Button: {
      auto* b = new QPushButton(qt_text(d.text), parent);
      b->setAutoDefault(false);
      b->setDefault(false);
      QObject::connect(b, &QPushButton::clicked, [&m, i] { m.on_clicked(i); });
      w = b;
      break;
    }
    case ControlKind::CheckBox: {
      auto* c = new QCheckBox(qt_text(d.text), parent);
      if (!d.text.empty()) c->setLayoutDirection(Qt::RightToLeft);  // caption left of the box
      QObject::connect(c, &QCheckBox::clicked, [&m, i] { m.on_clicked(i); });
      w = c;
      break;
    }
    case ControlKind::EditBox: {
      auto* e = new QLineEdit(qt_text(d.text), parent);
      e->setAlignment(Qt::AlignHCenter);
      QObject::connect(e, &QLineEdit::textChanged, [&m, i] { m.on_text_changed(i); });
      w = e;
      break;
    }
    case ControlKind::ComboBox: {
      auto* c = new QComboBox(parent);
      const bool editable = d.selected < 0;  // the name list is typed into; the unit list is not
      c->setEditable(editable);
      if (editable) c->setInsertPolicy(QComboBox::NoInsert);
      for (std::string_view item : d.items) c->addItem(qt_text(item));
      c->setCurrentIndex(d.selected);
      if (editable) c->setEditText(qt_text(d.text));
      c->setMaxVisibleItems((COMBO_DROPPED_HEIGHT - d.height) / 16);
      // Handled after the field shows the chosen item.
      QObject::connect(c, &QComboBox::activated, [this, &m, i] { post([&m, i] { m.on_item_selected(i); }); });
      w = c;
      break;
    }
    case ControlKind::DatePicker: {
      auto* p = new QDateTimeEdit(parent);
      p->setCalendarPopup(true);
      p->setDateTimeRange(QDateTime(QDate(100, 1, 1), QTime(0, 0, 0)), QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59)));
      p->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
      p->setDateTime(QDateTime(QDate(now.year, now.month, now.day), QTime(now.hour, now.minute, now.second)));
      p->setFrame(false);
      QObject::connect(p, &QDateTimeEdit::dateTimeChanged, [&m, i] { m.on_picker_changed(i); });
      w = p;
      break;
    }
    case ControlKind::Timer:
    case ControlKind::Window:
      return nullptr;
  }
  w->setGeometry(d.left, d.top, d.width, d.height);
  w->setFocusPolicy(d.tab_stop ? Qt::StrongFocus : (d.kind == ControlKind::Label || d.kind == ControlKind::GroupBox
                                                        ? Qt::NoFocus
                                                        : Qt::ClickFocus));
  return w;
}

bool QtBinding::build(WindowModel& model, const PickerFields& now) {
  model_ = &model;
  const auto defs = window_definition();
  window_ = new QWidget();
  window_->setWindowTitle(qt_text(defs[0].text));
  window_->setFixedSize(CLIENT_WIDTH, CLIENT_HEIGHT);
  window_->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  widgets_.assign(defs.size(), nullptr);
  widgets_[0] = window_;
  index_[window_] = WINDOW;
  // Group boxes first, so every control can be placed into its parent.
  for (int pass = 0; pass < 2; ++pass) {
    for (std::size_t i = 1; i < defs.size(); ++i) {
      const bool group = defs[i].kind == ControlKind::GroupBox;
      if (group != (pass == 0)) continue;
      QWidget* parent = widgets_[static_cast<std::size_t>(defs[i].parent)];
      QWidget* w = make(static_cast<ControlIndex>(i), defs[i], parent, now);
      widgets_[i] = w;
      if (w != nullptr) index_[w] = static_cast<ControlIndex>(i);
    }
  }
  for (std::size_t i = 1; i < defs.size(); ++i) {
    if (defs[i].kind == ControlKind::GroupBox && widgets_[i] != nullptr) widgets_[i]->lower();
  }
  // The Tab order is the model's; Qt's own focus chain is not used.
  QObject::connect(&timer_, &QTimer::timeout, [&model] { model.on_periodic(); });
  qApp->installEventFilter(&filter_);
  const std::span<const ControlIndex> order = tab_order();
  if (!order.empty()) widget(order.front())->setFocus();
  return true;
}

bool KeyFilter::eventFilter(QObject* target, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  WindowModel* model = binding_.model();
  QWidget* focus = QApplication::focusWidget();
  // Each key once, at the widget it is meant for (not again as it propagates).
  if (model == nullptr || (focus != nullptr && target != focus)) return false;
  const ControlIndex control = binding_.index_of(target);
  if (control == NO_CONTROL) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const KeyDecision d = model->on_key(control, {virtual_key(*key), modifier_state(*key)});
  return d != KeyDecision::PassOn;
}

QtBinding& qt(Binding& b) { return static_cast<QtBinding&>(b); }

}  // namespace

std::unique_ptr<Binding> make_qt_binding(int& argc, char** argv) {
  if (QApplication::instance() == nullptr) {
    static QApplication* app = new QApplication(argc, argv);  // lives as long as the process
    (void)app;
  }
  return std::make_unique<QtBinding>();
}

namespace qt_window {

QWidget* widget(Binding& b, ControlIndex i) { return qt(b).widget(i); }
QWidget* window(Binding& b) { return qt(b).window(); }
QTimer& timer(Binding& b) { return qt(b).timer(); }
ControlIndex index_of(Binding& b, const QObject* o) { return qt(b).index_of(o); }

}  // namespace qt_window

}  // namespace tc
