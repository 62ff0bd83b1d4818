// The yardstick: a plain Qt 6 Widgets window with the same 38 widgets of the same
// kinds and sizes, and no program logic. With --captions the widgets also carry
// the calculator's Chinese captions and its large label fonts, so the CJK font is
// loaded as in the calculator (UTF-16 literals, which the execution charset does
// not touch).
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool captions = argc > 1 && QString::fromLatin1(argv[1]) == QLatin1String("--captions");
  // The plain caption, or the calculator's own with --captions.
  const auto t = [captions](const char* plain, const char16_t* chinese) {
    return captions ? QString::fromUtf16(chinese) : QString::fromLatin1(plain);
  };
  const auto sized = [captions](QWidget* w, int pixels, bool bold) {
    if (!captions) return;
    QFont f(QString::fromUtf16(u"宋体"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    w->setFont(f);
  };
  QWidget window;
  window.setFixedSize(467, 329);
  auto* g1 = new QGroupBox(t("g1", u"增加/减少"), &window);
  g1->setGeometry(10, 211, 448, 110);
  auto* g2 = new QGroupBox(t("g2", u"倒计时"), &window);
  g2->setGeometry(258, 29, 200, 182);
  auto* g3 = new QGroupBox(t("g3", u"时间间隔"), &window);
  g3->setGeometry(10, 115, 240, 88);
  const char16_t* units[] = {u"年", u"季度", u"月", u"周", u"日", u"时", u"分", u"秒", u"全显"};
  for (int i = 0; i < 8; ++i) {
    (new QLineEdit("0", g1))->setGeometry(9 + 54 * i, 40, 50, 20);
    (new QCheckBox(t("x", units[i]), g1))->setGeometry(9 + 54 * i, 21, 30, 14);
  }
  (new QCheckBox(g1))->setGeometry(432, 9, 14, 14);
  (new QPushButton(t("b1", u"计算"), g1))->setGeometry(357, 67, 80, 31);
  auto* result = new QLabel(t("l", u"2021年8月19日13时5分7秒"), g1);
  result->setGeometry(12, 71, 335, 24);
  sized(result, 24, false);
  (new QPushButton(t("b2", u"现在"), &window))->setGeometry(209, 34, 40, 28);
  (new QPushButton(t("b3", u"计算"), g3))->setGeometry(152, 50, 80, 31);
  (new QPushButton(t("b4", u"现在"), &window))->setGeometry(209, 74, 40, 28);
  (new QCheckBox(&window))->setGeometry(195, 61, 14, 14);
  for (int i = 0; i < 2; ++i) {
    auto* p = new QDateTimeEdit(QDateTime::currentDateTime(), &window);
    p->setCalendarPopup(true);
    p->setGeometry(11, 36 + 40 * i, 184, 24);
  }
  auto* p3 = new QDateTimeEdit(QDateTime::currentDateTime(), g2);
  p3->setCalendarPopup(true);
  p3->setGeometry(7, 16, 185, 24);
  auto* c1 = new QComboBox(g3);
  for (int i = 0; i < 9; ++i) c1->addItem(t("1", units[i]));
  c1->setGeometry(9, 57, 48, 20);
  auto* c2 = new QComboBox(g2);
  c2->setEditable(true);
  c2->addItem(t("x", u"目标时间"));
  c2->setGeometry(7, 46, 185, 20);
  auto* days = new QLabel("0", g2);
  days->setGeometry(7, 75, 184, 69);
  sized(days, 91, true);
  auto* clock = new QLabel("00:00:00", g2);
  clock->setGeometry(15, 148, 170, 30);
  sized(clock, 19, false);
  auto* interval = new QLabel("", g3);
  interval->setGeometry(7, 17, 225, 29);
  sized(interval, 24, false);
  (new QLabel(t("", u"下 - 上"), g3))->setGeometry(71, 60, 59, 15);
  (new QLabel(t("", u"1选中: 第 34 周; 第 231 天; 共 365 天"), &window))->setGeometry(12, 9, 224, 20);
  (new QLabel(t("", u"当前: 第 34 周; 第 231 天; 共 365 天"), &window))->setGeometry(238, 9, 220, 20);
  if (captions) window.setWindowTitle(t("", u"时间计算器"));
  QTimer timer;  // the 38th control, stopped
  window.show();
  return QApplication::exec();
}
