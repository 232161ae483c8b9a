#include "desktop/message_boxes.h"

#include "common/message_box_width.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace tintavo {

void MessageBoxService::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("错误提示"), text, QMessageBox::Ok,
                    m_owner);
    widenForTitle(box);
    box.exec();
}

void MessageBoxService::showNotice(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tintavo"), text, QMessageBox::Ok, m_owner);
    widenForTitle(box);
    box.exec();
}

bool QuestionBox::askYesNo(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                    m_owner);
    widenForTitle(box);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QuestionBox::askRetry(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, m_owner);
    QPushButton *retry = box.addButton(QStringLiteral("重试"), QMessageBox::AcceptRole);
    QPushButton *giveUp = box.addButton(QStringLiteral("放弃"), QMessageBox::RejectRole);
    box.setDefaultButton(retry);
    box.setEscapeButton(giveUp);
    box.exec();
    return box.clickedButton() == retry;
}

int QuestionBox::askChoice(const QString &title, const QString &text, const QStringList &choices)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, m_owner);
    QList<QPushButton *> buttons;
    for (const QString &choice : choices)
        buttons << box.addButton(choice, QMessageBox::ActionRole);
    widenForTitle(box);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(buttons.constLast());
        box.setEscapeButton(buttons.constLast());
    }
    box.exec();
    const qsizetype chosen = buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return chosen < 0 ? int(choices.size()) - 1 : int(chosen);
}

void DesktopUrlOpener::openUrl(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url));
}

} // namespace tintavo
