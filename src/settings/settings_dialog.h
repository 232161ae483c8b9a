#pragma once

#include "settings/settings.h"

#include <QDialog>
#include <QPointer>

#include <variant>
#include <vector>

class QPushButton;

namespace tintavo {

class SettingsStore;

// The settings dialog: shows the running program's settings when it opens,
// and Save changes them in the store, which writes them to the file.
// Modeless, one instance at a time, and it deletes itself when closed, so the
// owner keeps it in a QPointer (see showSingle).
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // `settings` must outlive the dialog (the main window owns both).
    explicit SettingsDialog(SettingsStore &settings, QWidget *parent = nullptr);

    // The settings button's action: creates, fills and shows the dialog when
    // `slot` is empty, otherwise only brings the open one to the front with
    // whatever the user has typed so far. Returns the dialog shown.
    static SettingsDialog *showSingle(QPointer<SettingsDialog> &slot, SettingsStore &settings,
                                      QWidget *parent = nullptr);

    // The dialog's controls.
    struct Controls
    {
        // The editor of each setting the dialog shows, by the setting it
        // edits: a check box for a switch, a line edit for a number.
        struct Editor
        {
            std::variant<bool Settings::*, qint32 Settings::*> field;
            QWidget *control;
        };
        std::vector<Editor> editors;
        QPushButton *save;
        QPushButton *discard;
    };

    // There is no cancel button: Esc leaves the dialog open.
    void reject() override;

protected:
    // The close box discards the edits.
    void closeEvent(QCloseEvent *event) override;

private:
    void showSettings();
    void saveAndClose();

    SettingsStore &m_settings;
    Controls m_controls{};
};

} // namespace tintavo
