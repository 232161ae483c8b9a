#pragma once

#include "platform/desktop_picking.h"
#include "platform/portal/portal_color_picker.h"
#include "platform/portal/portal_global_shortcuts.h"

namespace tintavo::portal {

// Screenshot.PickColor for the picks, GlobalShortcuts for the key.
class PortalPicking : public DesktopPicking
{
    Q_OBJECT

public:
    explicit PortalPicking(const QDBusConnection &bus, QObject *parent = nullptr);

    void pick(const QString &parentWindow) override;
    bool picking() const override { return m_picker.picking(); }
    void bindKey(QKeyCombination key, const QString &description,
                 const QString &parentWindow) override;

private:
    PortalColorPicker m_picker;
    PortalGlobalShortcuts m_shortcuts;
};

// A key in the portal's shortcut-trigger notation: modifiers as CTRL, ALT,
// SHIFT and LOGO joined by '+', then the key's keysym name ("ALT+SHIFT+s").
QString shortcutTrigger(QKeyCombination key);

} // namespace tintavo::portal
