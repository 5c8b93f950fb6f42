// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/qt/qtdialogs.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace runtime::qt {

namespace {

// Freezes game time for the life of a box.
class BoxScope {
public:
    explicit BoxScope(const QtDialogs::Host& host) : host_(host)
    {
        if (host_.beforeBox)
            host_.beforeBox();
    }
    ~BoxScope()
    {
        if (host_.afterBox)
            host_.afterBox();
    }
    BoxScope(const BoxScope&) = delete;
    BoxScope& operator=(const BoxScope&) = delete;

private:
    const QtDialogs::Host& host_;
};

} // namespace

std::int16_t QtDialogs::messageBox(const std::string& prompt, std::int16_t style, const std::string& title)
{
    const BoxScope scope(host_);
    QMessageBox box(host_.parent);
    box.setWindowTitle(QString::fromStdString(title));
    box.setText(QString::fromStdString(prompt));
    box.setTextFormat(Qt::PlainText);

    if (asksYesNo(style)) {
        box.setIcon(style == styleYesNoExclamation ? QMessageBox::Warning : QMessageBox::NoIcon);
        QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        // Closing the box by its frame counts as its escape answer, No.
        return box.clickedButton() == yes ? answerYes : answerNo;
    }

    box.setIcon(style == styleInformation ? QMessageBox::Information
                : style == styleCritical  ? QMessageBox::Critical
                                          : QMessageBox::NoIcon);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return answerOk;
}

std::string QtDialogs::inputBox(const std::string& prompt, const std::string& title,
                                const std::string& proposed)
{
    const BoxScope scope(host_);
    QInputDialog box(host_.parent);
    box.setWindowTitle(QString::fromStdString(title));
    box.setLabelText(QString::fromStdString(prompt));
    box.setTextValue(QString::fromStdString(proposed));
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annuler"));
    return box.exec() == QDialog::Accepted ? box.textValue().toStdString() : std::string();
}

} // namespace runtime::qt
