#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace ovex {

void QtMessageBox::Show(const QString& text, const QString& title, MessageStyle style)
{
    const auto icon = style == MessageStyle::Critical ? QMessageBox::Critical
                                                      : QMessageBox::Information;
    QMessageBox box(icon, title, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

} // namespace ovex
