#include "widgets/MessageKit.h"

#include <QMessageBox>

namespace widgets {

namespace {

void show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

bool askYesNo(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void inform(QWidget* parent, const QString& text, const QString& title) {
    show(parent, QMessageBox::NoIcon, title, text);
}

void warn(QWidget* parent, const QString& text, const QString& title) {
    show(parent, QMessageBox::Warning, title, text);
}

} // namespace widgets
