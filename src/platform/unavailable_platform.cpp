#include "platform/unavailable_platform.h"

namespace tintavo {

UnavailableGlobalHotKey::UnavailableGlobalHotKey(QString reason, QObject *parent)
    : GlobalHotKey(parent), m_reason(std::move(reason))
{
}

HotKeyRegistration UnavailableGlobalHotKey::registerHotKey(quintptr, qint32, qint32, qint32)
{
    return {HotKeyResult::NotAvailable, m_reason};
}

bool UnavailableGlobalHotKey::unregisterHotKey(quintptr, qint32)
{
    return false;
}

} // namespace tintavo
