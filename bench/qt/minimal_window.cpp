// The yardstick: a plain Qt 6 Widgets window with the same 38 widgets of the same
// kinds and sizes, and no program logic.
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
  QWidget window;
  window.setFixedSize(467, 329);
  auto* g1 = new QGroupBox("g1", &window);
  g1->setGeometry(10, 211, 448, 110);
  auto* g2 = new QGroupBox("g2", &window);
  g2->setGeometry(258, 29, 200, 182);
  auto* g3 = new QGroupBox("g3", &window);
  g3->setGeometry(10, 115, 240, 88);
  for (int i = 0; i < 8; ++i) {
    (new QLineEdit("0", g1))->setGeometry(9 + 54 * i, 40, 50, 20);
    (new QCheckBox("x", g1))->setGeometry(9 + 54 * i, 21, 30, 14);
  }
  (new QCheckBox(g1))->setGeometry(432, 9, 14, 14);
  (new QPushButton("b1", g1))->setGeometry(357, 67, 80, 31);
  (new QLabel("l", g1))->setGeometry(12, 71, 335, 24);
  (new QPushButton("b2", &window))->setGeometry(209, 34, 40, 28);
  (new QPushButton("b3", g3))->setGeometry(152, 50, 80, 31);
  (new QPushButton("b4", &window))->setGeometry(209, 74, 40, 28);
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
  c1->addItems({"1", "2", "3", "4", "5", "6", "7", "8", "9"});
  c1->setGeometry(9, 57, 48, 20);
  auto* c2 = new QComboBox(g2);
  c2->setEditable(true);
  c2->addItem("x");
  c2->setGeometry(7, 46, 185, 20);
  (new QLabel("0", g2))->setGeometry(7, 75, 184, 69);
  (new QLabel("00:00:00", g2))->setGeometry(15, 148, 170, 30);
  (new QLabel("", g3))->setGeometry(7, 17, 225, 29);
  (new QLabel("", g3))->setGeometry(71, 60, 59, 15);
  (new QLabel("", &window))->setGeometry(12, 9, 224, 20);
  (new QLabel("", &window))->setGeometry(238, 9, 220, 20);
  QTimer timer;  // the 38th control, stopped
  window.show();
  return QApplication::exec();
}
