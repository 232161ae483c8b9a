#include "picker/screenshot_wait.h"

#include "platform/desktop_picking.h"

namespace tintavo {

bool screenshotRefused(PickOutcome outcome)
{
    return outcome == PickOutcome::Cancelled || outcome == PickOutcome::Ended ||
           outcome == PickOutcome::Failed || outcome == PickOutcome::NoAnswer;
}

QString screenshotWaitLine()
{
    return QStringLiteral("等待桌面允许截图…（桌面可能正在询问是否允许；按 Ctrl+C 停止等待） / "
                          "Waiting for the desktop to allow a screenshot… (it may be asking "
                          "you; Ctrl+C stops waiting)");
}

QString allowScreenshotsForGood()
{
    return QStringLiteral(
        "要一劳永逸地允许截图：在桌面的隐私或应用权限设置里允许 Tintavo 截图；不在沙盒里"
        "运行的程序也可以运行一次 flatpak permission-set screenshot screenshot \"\" yes。");
}

QString screenshotRefusalLine(PickOutcome outcome)
{
    const QString what =
        outcome == PickOutcome::NoAnswer
            ? QStringLiteral("桌面没有及时允许截图。 / The desktop did not allow the "
                             "screenshot in time. ")
            : QStringLiteral("桌面拒绝了截图。 / The desktop refused the screenshot. ");
    return what + allowScreenshotsForGood() +
           QStringLiteral(" / To allow screenshots for good, allow Tintavo in the desktop's "
                          "privacy or app permission settings; for a program outside a sandbox, "
                          "`flatpak permission-set screenshot screenshot \"\" yes` once does it.");
}

QString screenshotWaitNotice(const QString &stopButton)
{
    return QStringLiteral("等待桌面允许截图…\n桌面可能在询问，\n按“%1”放弃").arg(stopButton);
}

QString screenshotRefusalNotice(PickOutcome outcome, const QString &pickButton)
{
    return (outcome == PickOutcome::NoAnswer ? QStringLiteral("桌面没有及时允许\n截图。")
                                             : QStringLiteral("桌面拒绝了截图。\n")) +
           QStringLiteral("可按“%1”，\n或在隐私设置里允许").arg(pickButton);
}

} // namespace tintavo
