#include "mainwin/question_box.h"

#include "common/message_box_width.h"

#include <QMessageBox>
#include <QPushButton>

namespace tintavo {

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

} // namespace tintavo
