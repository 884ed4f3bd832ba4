// The error box and the information box of the Qt window, behind a seam tests can answer.
#pragma once

#include "ErrorBox.h"

#include <QString>
#include <string>

class QWidget;

namespace quenlith::app::qt {

class TBoxPresenter {
public:
    virtual ~TBoxPresenter() = default;
    // Modal, stop icon, one OK button; caption the application title.
    virtual void ShowError(QWidget* parent, const TErrorBox& box) = 0;
    // Modal MessageDlg: information icon, caption "Information", one OK button.
    virtual void ShowInformation(QWidget* parent, const std::string& text) = 0;
};

// QMessageBox, as the user sees it.
class TQtMessageBoxes final : public TBoxPresenter {
public:
    void ShowError(QWidget* parent, const TErrorBox& box) override;
    void ShowInformation(QWidget* parent, const std::string& text) override;
};

// Texts are the system's 8-bit characters; Latin-1 keeps every byte.
inline QString FromAnsi(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToAnsi(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace quenlith::app::qt
