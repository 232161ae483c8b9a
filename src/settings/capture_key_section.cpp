#include "settings/capture_key_section.h"

#include "common/control_table.h"
#include "common/interface_font.h"
#include "desktop/desktop_shortcut.h"
#include "platform/desktop_session.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

namespace tintavo {

namespace {

// Below the dialog's buttons, as wide as its frame.
constexpr int kSectionHeight = 1470;
constexpr TwipsRect kFrame{75, 0, 4245, 1380};
constexpr TwipsRect kText{120, 225, 4005, 720};
constexpr TwipsRect kButton{120, 990, 3240, 315};

} // namespace

QString captureCommand()
{
    const QString self = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString onPath = QStandardPaths::findExecutable(QStringLiteral("tintavo"));
    if (!onPath.isEmpty() && QFileInfo(onPath).canonicalFilePath() == self)
        return QStringLiteral("tintavo --capture");
    return self + QStringLiteral(" --capture");
}

void addCaptureKeySection(QDialog *dialog, int clientWidthTwips, int clientHeightTwips)
{
    if (currentDesktopServices() != DesktopServices::Portal)
        return;
    const ShortcutDesktop desktop = shortcutDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    const QString command = captureCommand();
    TwipsRect frameRect = kFrame;
    frameRect.top = clientHeightTwips;
    QWidget *frame =
        makeControl(dialog, "Frame2", ControlKind::GroupBox, frameRect, "取色热键", "");
    auto *text = static_cast<QLabel *>(
        makeControl(frame, "lblCaptureKey", ControlKind::Label, kText, "", ""));
    text->setFont(compactInterfaceFont());
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QString where = whereShortcutsAreSet(desktop, command);
    text->setText(QStringLiteral("此桌面不给程序全局热键。") + where);
    dialog->setFixedSize(
        toPixels({0, 0, clientWidthTwips, clientHeightTwips + kSectionHeight}).size());
    if (desktop != ShortcutDesktop::Gnome)
        return;

    auto *add =
        static_cast<QPushButton *>(makeControl(frame, "cmdAddCaptureKey", ControlKind::PushButton,
                                               kButton, "添加 Alt+Shift+S 到 GNOME 快捷键", ""));
    add->setAutoDefault(false);
    auto *writer = new GnomeShortcutWriter(add);
    QObject::connect(add, &QPushButton::clicked, writer, [add, text, writer, command] {
        add->setEnabled(false);
        text->setText(QStringLiteral("正在添加到 GNOME 的自定义快捷键…"));
        writer->add(QStringLiteral("Tintavo 取色"), command, QStringLiteral("<Alt><Shift>s"));
    });
    QObject::connect(writer, &GnomeShortcutWriter::finished, add,
                     [add, text, where, command](const QString &problem) {
                         add->setEnabled(true);
                         if (problem.isEmpty())
                             text->setText(QStringLiteral("已添加：在任何地方按 Alt+Shift+S，"
                                                          "Tintavo 都会取色（命令 %1）。")
                                               .arg(command));
                         else
                             text->setText(QStringLiteral("未能添加（%1）。").arg(problem) + where);
                     });
}

} // namespace tintavo
