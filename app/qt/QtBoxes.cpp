#include "QtBoxes.h"

#include <QMessageBox>

namespace quenlith::app::qt {

void TQtMessageBoxes::ShowError(QWidget* parent, const TErrorBox& box) {
    QMessageBox message(QMessageBox::Critical, FromAnsi(box.caption), FromAnsi(box.text),
                        QMessageBox::Ok, parent);
    message.exec();
}

void TQtMessageBoxes::ShowInformation(QWidget* parent, const std::string& text) {
    QMessageBox message(QMessageBox::Information, QStringLiteral("Information"), FromAnsi(text),
                        QMessageBox::Ok, parent);
    message.exec();
}

} // namespace quenlith::app::qt
