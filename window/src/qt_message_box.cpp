#include "window/qt_message_box.h"

#include <QMessageBox>
#include <QString>

namespace ratalia {

void QtMessageBox::show(const Text& message, const Text& title)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdU16String(title), QString::fromStdU16String(message),
                    QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

} // namespace ratalia
