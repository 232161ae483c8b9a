#include "picker/frame_parts.h"

#include "picker/frame_inspector.h"
#include "picker/frozen_screen.h"
#include "picker/pick_engine.h"
#include "platform/pointer_grab.h"

#include <QCoreApplication>

namespace tintavo {

FrameParts::FrameParts() = default;
FrameParts::FrameParts(FrameParts &&) noexcept = default;
FrameParts &FrameParts::operator=(FrameParts &&) noexcept = default;
FrameParts::~FrameParts() = default;

void destroyAfterEvent(QObject *context, FrameParts parts)
{
    // The queued call does nothing; dropping it, run or discarded, drops the parts.
    auto held = std::make_shared<FrameParts>(std::move(parts));
    QMetaObject::invokeMethod(
        context, [held]() mutable { held.reset(); }, Qt::QueuedConnection);
}

void discardPendingFrameParts(QObject *context)
{
    QCoreApplication::removePostedEvents(context, QEvent::MetaCall);
}

} // namespace tintavo
