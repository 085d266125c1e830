// The floor for any Qt Widgets program: a window of Ratalia's size holding
// the same number and kinds of plain widgets, and nothing else.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.setFixedSize(367, 361);

    QGroupBox* frames[3];
    for (int i = 0; i < 3; ++i) {
        frames[i] = new QGroupBox(QStringLiteral("Frame"), &window);
        frames[i]->setGeometry(16 + 176 * (i % 2), 8 + 216 * (i / 2), 161, 200);
    }
    for (int i = 0; i < 21; ++i)
        (new QLabel(QStringLiteral("Label"), frames[i % 3]))->setGeometry(8, 16 + 8 * i, 60, 17);
    for (int i = 0; i < 8; ++i)
        (new QLineEdit(frames[i % 3]))->setGeometry(70, 16 + 20 * i, 80, 19);
    for (int i = 0; i < 2; ++i)
        (new QRadioButton(QStringLiteral("Option"), frames[0]))->setGeometry(8 + 60 * i, 180, 55, 17);
    for (int i = 0; i < 3; ++i)
        (new QPushButton(QStringLiteral("Button"), &window))->setGeometry(16 + 120 * i, 296, 110, 33);

    window.show();
    return QApplication::exec();
}
