#pragma once

#include <QString>

namespace tintavo {

enum class PickOutcome;

// A screenshot the desktop answers at once (a tenth of a second) says nothing;
// one still unanswered after this long is waiting for the user's permission
// (a dialog of the desktop's own may be up), and the user hears so.
inline constexpr int kScreenshotWaitNoticeMs = 1000;

// Whether the desktop's answer to a screenshot is a refusal or a time-out,
// which the user can do something about (allow it once and for all), rather
// than a desktop without the service.
bool screenshotRefused(PickOutcome outcome);

// For standard error, one line each, in Chinese and English: the desktop is
// being waited for; it refused or did not answer in time, and how to allow
// screenshots for good.
QString screenshotWaitLine();
QString screenshotRefusalLine(PickOutcome outcome);

// For the picker's notice: the same, short, with the offer of the desktop's
// own pick under the button `pickButton`; how to allow for good is the
// notice's details.
QString screenshotWaitNotice(const QString &stopButton);
QString screenshotRefusalNotice(PickOutcome outcome, const QString &pickButton);
QString allowScreenshotsForGood();

// Why the desktop's own pick gave no colour, where it says: for the picker's
// notice, short, and for standard error, one line in Chinese and English.
// Empty for a pick that succeeded or was called off.
QString pickTroubleNotice(PickOutcome outcome);
QString pickTroubleLine(PickOutcome outcome);

// The desktop gave no frame to pick on, so its own one-pixel pick stands in:
// why, for the picker's notice's details, and for standard error.
QString framesRefusedDetails(PickOutcome outcome);
QString framesRefusedLine();

} // namespace tintavo
