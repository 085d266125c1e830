#include "window/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace ratalia {

void QtMessageBox::show(const Text& message, const Text& title)
{
    // Over the window the user is working in: a failed export in the plan
    // window must not bring the main window in front of it.
    QWidget* over = QApplication::activeWindow() ? QApplication::activeWindow() : parent_;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(title), QString::fromStdU16String(message),
                    QMessageBox::Ok, over);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

} // namespace ratalia
