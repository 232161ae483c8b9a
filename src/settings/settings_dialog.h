#pragma once

#include "mainwin/settings_members.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tintavo {

// The settings dialog: edits the main window's four stored settings in place.
// Modeless, one instance at a time, and it deletes itself when closed, so the
// owner keeps it in a QPointer (see showSingle).
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // Writes the four settings to the settings file; called by Save with the
    // members just set. The dialog never touches the file itself.
    using SaveSettingsFn = std::function<void(const SettingsMembers &)>;

    // `members` must outlive the dialog (the main window owns both).
    SettingsDialog(SettingsMembers &members, SaveSettingsFn saveSettings, QWidget *parent = nullptr);

    // The settings button's action: creates, fills and shows the dialog when
    // `slot` is empty, otherwise only brings the open one to the front with
    // whatever the user has typed so far. Returns the dialog shown.
    static SettingsDialog *showSingle(QPointer<SettingsDialog> &slot, SettingsMembers &members,
                              SaveSettingsFn saveSettings, QWidget *parent = nullptr);

    // There is no cancel button: Esc leaves the dialog open.
    void reject() override;

protected:
    // The close box discards the edits.
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();

    SettingsMembers &members_;
    SaveSettingsFn saveSettings_;
    QLineEdit *Text1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
};

} // namespace tintavo
