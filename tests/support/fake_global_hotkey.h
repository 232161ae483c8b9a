#pragma once

#include "platform/global_hotkey.h"

#include <optional>

namespace tintavo::test {

// Answers registrations with `answer` and lets a test press the held key.
class FakeGlobalHotKey : public GlobalHotKey
{
    Q_OBJECT

public:
    HotKeyResult registerKey(QKeyCombination combination) override
    {
        ++registrations;
        held.reset();
        if (answer == HotKeyResult::Registered)
            held = combination;
        return answer;
    }
    void unregisterKey() override { held.reset(); }

    // One press of the held key, as the desktop delivers it; false (and
    // nothing delivered) when no key is held.
    bool press()
    {
        if (!held)
            return false;
        emit activated();
        return true;
    }

    HotKeyResult answer = HotKeyResult::Registered;
    std::optional<QKeyCombination> held;
    int registrations = 0;
};

} // namespace tintavo::test
