#pragma once

#include "platform/global_hotkey.h"

#include <QList>

namespace tintavo::test {

// Records registrations and lets a test press a registered key.
class FakeGlobalHotKey : public GlobalHotKey
{
    Q_OBJECT

public:
    struct Registered
    {
        quintptr window = 0;
        qint32 id = 0;
        qint32 modifiers = 0;
        qint32 virtualKey = 0;
    };

    // Answers with nextResult (and nextErrorText); only a Registered answer
    // adds the key to `held`.
    HotKeyRegistration registerHotKey(quintptr window, qint32 id, qint32 modifiers,
                                      qint32 virtualKey) override;
    bool unregisterHotKey(quintptr window, qint32 id) override;

    // Delivers one press of the window's key with this id, as the platform
    // would; false (and nothing delivered) when no such key is held.
    bool press(quintptr window, qint32 id);
    // Delivers any message shape, registered or not.
    void deliver(quintptr hWnd, quint32 uMsg, quint32 wParam, qint32 lParam);

    HotKeyResult nextResult = HotKeyResult::Registered;
    QString nextErrorText;
    QList<Registered> held;
    int registerCalls = 0;
    int unregisterCalls = 0;
};

} // namespace tintavo::test
