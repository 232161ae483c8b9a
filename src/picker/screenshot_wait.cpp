#include "picker/screenshot_wait.h"

#include "platform/desktop_picking.h"

namespace tintavo {

namespace {

struct TroubleText
{
    PickOutcome outcome;
    const char *notice;
    const char *chinese;
    const char *english;
};
// clang-format off
const TroubleText kPickTroubles[] = {
    {PickOutcome::Failed,   "取色服务出错，\n未能取色",
     "桌面的取色服务出错。", "The desktop's colour picking service failed."},
    {PickOutcome::Missing,  "此桌面没有取色服务，\n无法取色",
     "此桌面没有取色服务。", "This desktop offers no colour picking service."},
    {PickOutcome::TooOld,   "此桌面的取色服务\n版本过旧，不支持取色",
     "此桌面的取色服务版本过旧，不支持取色。",
     "The desktop's colour picking service is too old to pick colours."},
    {PickOutcome::NoAnswer, "取色服务没有应答，\n未能取色",
     "桌面的取色服务没有应答。", "The desktop's colour picking service did not answer."},
};
// clang-format on

const TroubleText *troubleOf(PickOutcome outcome)
{
    for (const TroubleText &text : kPickTroubles) {
        if (text.outcome == outcome)
            return &text;
    }
    return nullptr;
}

} // namespace

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

QString pickTroubleNotice(PickOutcome outcome)
{
    const TroubleText *text = troubleOf(outcome);
    return text ? QString::fromUtf8(text->notice) : QString();
}

QString pickTroubleLine(PickOutcome outcome)
{
    const TroubleText *text = troubleOf(outcome);
    return text ? QString::fromUtf8(text->chinese) + QStringLiteral(" / ") +
                      QString::fromUtf8(text->english)
                : QString();
}

QString framesRefusedDetails(PickOutcome outcome)
{
    return outcome == PickOutcome::Missing || outcome == PickOutcome::TooOld
               ? QStringLiteral("此桌面没有截图服务，无法放大、微移或取平均值。")
               : QStringLiteral("桌面的截图服务拒绝了请求或出错，无法放大、微移或取平均值。");
}

QString framesRefusedLine()
{
    return QStringLiteral("桌面没有给出截图，改用桌面自己的取色（单个像素，没有放大镜和微移）。 / "
                          "The desktop gave no screenshot, so Tintavo uses the desktop's own "
                          "colour pick (one pixel, no loupe, no steps).");
}

} // namespace tintavo
