#pragma once

#include "settings/settings.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QCheckBox;
class QLineEdit;

namespace tintavo {

// The settings dialog: edits the running program's settings in place.
// Modeless, one instance at a time, and it deletes itself when closed, so the
// owner keeps it in a QPointer (see showSingle).
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // Writes the settings to the settings file; called by Save once
    // `settings` holds the edited values. The dialog never touches the file.
    using SaveFn = std::function<void(const Settings &)>;

    // `settings` must outlive the dialog (the main window owns both).
    SettingsDialog(Settings &settings, SaveFn save, QWidget *parent = nullptr);

    // The settings button's action: creates, fills and shows the dialog when
    // `slot` is empty, otherwise only brings the open one to the front with
    // whatever the user has typed so far. Returns the dialog shown.
    static SettingsDialog *showSingle(QPointer<SettingsDialog> &slot, Settings &settings,
                                      SaveFn save, QWidget *parent = nullptr);

    // There is no cancel button: Esc leaves the dialog open.
    void reject() override;

protected:
    // The close box discards the edits.
    void closeEvent(QCloseEvent *event) override;

private:
    void showSettings();
    void saveAndClose();

    Settings &settings_;
    SaveFn save_;
    QLineEdit *countBox_ = nullptr;
    QCheckBox *autoSaveBox_ = nullptr;
    QCheckBox *autoLoadBox_ = nullptr;
    QCheckBox *rememberBox_ = nullptr;
};

} // namespace tintavo
