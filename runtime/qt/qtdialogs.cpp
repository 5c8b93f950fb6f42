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

std::int16_t QtDialogs::showMessage(const QString& prompt, std::int16_t style, const QString& title)
{
    const BoxScope scope(host_);
    QMessageBox box(host_.parent);
    box.setWindowTitle(title);
    box.setText(prompt);
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

QString QtDialogs::showInput(const QString& prompt, const QString& title, const QString& proposed)
{
    const BoxScope scope(host_);
    QInputDialog box(host_.parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(proposed);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annuler"));
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

} // namespace runtime::qt
