#include "settings/settings_dialog.h"

#include "common/control_table.h"
#include "common/interface_font.h"
#include "settings/count_text.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>
#include <array>

namespace tintavo {

namespace {

// clang-format off
constexpr auto kControls = std::to_array<ControlSpec>({
    {"Frame1",   ControlKind::Frame,         nullptr,  {75, 45, 4245, 1830},   "软件设置", "", 0},
    {"Label1",   ControlKind::Label,         "Frame1", {120, 210, 1710, 270},  "存储颜色容器数量：", "", 1},
    {"Text1",    ControlKind::TextBox,       "Frame1", {1965, 195, 1440, 270}, "64", "", 2},
    {"Check1",   ControlKind::CheckBox,      "Frame1", {135, 675, 3270, 180},  "运行结束时自动保存存储颜色", "", 3},
    {"Check2",   ControlKind::CheckBox,      "Frame1", {135, 1065, 3345, 255}, "运行时自动加载上次保存的颜色", "", 4},
    {"Check3",   ControlKind::CheckBox,      "Frame1", {135, 1455, 2895, 255}, "记住上次保存颜色的最后位置", "", 7},
    {"Command1", ControlKind::CommandButton, nullptr,  {1905, 2055, 1110, 315}, "保存设置", "", 5},
    {"Command2", ControlKind::CommandButton, nullptr,  {3210, 2070, 1065, 300}, "放弃设置", "", 6},
});
// clang-format on

constexpr TwipsRect kClientArea{0, 0, 4380, 2490};

} // namespace

SettingsDialog::SettingsDialog(SettingsStore &settings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_settings(settings)
{
    setObjectName(QStringLiteral("FrmSet"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("软件设置"));
    setFixedSize(toPixels(kClientArea).size());

    const auto made = buildControls(this, kControls);
    for (const SettingRow &row : settingRows()) {
        if (row.dialogControl)
            m_editors.push_back({&row, made.value(QLatin1StringView(row.dialogControl))});
    }
    // The first check box is 12 pixels high: its box and caption are drawn to
    // that height, and the other two match it.
    for (const Editor &editor : m_editors) {
        if (auto *box = qobject_cast<QCheckBox *>(editor.control))
            box->setFont(compactInterfaceFont());
    }
    setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 11px; height: 11px; }"));

    // Neither button is default, and Enter must not press the focused one.
    auto *saveButton = qobject_cast<QPushButton *>(made.value(QStringLiteral("Command1")));
    auto *discardButton = qobject_cast<QPushButton *>(made.value(QStringLiteral("Command2")));
    for (QPushButton *button : {saveButton, discardButton})
        button->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, &SettingsDialog::saveAndClose);
    connect(discardButton, &QPushButton::clicked, this, &QWidget::close);

    showSettings();
}

SettingsDialog *SettingsDialog::showSingle(QPointer<SettingsDialog> &slot, SettingsStore &settings,
                                           QWidget *parent)
{
    if (!slot)
        slot = new SettingsDialog(settings, parent);
    slot->setWindowState(slot->windowState() & ~Qt::WindowMinimized);
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}

void SettingsDialog::reject() {}

void SettingsDialog::closeEvent(QCloseEvent *event)
{
    event->accept(); // QDialog's own would ask reject(), which keeps the dialog open
}

void SettingsDialog::showSettings()
{
    const Settings &shown = m_settings.settings();
    for (const auto &[row, control] : m_editors) {
        if (auto on = std::get_if<bool Settings::*>(&row->field))
            static_cast<QCheckBox *>(control)->setChecked(shown.**on);
        else
            static_cast<QLineEdit *>(control)->setText(
                QString::number(shown.*std::get<qint32 Settings::*>(row->field)));
    }
}

void SettingsDialog::saveAndClose()
{
    Settings edited = m_settings.settings();
    for (const auto &[row, control] : m_editors) {
        if (auto on = std::get_if<bool Settings::*>(&row->field))
            edited.**on = static_cast<QCheckBox *>(control)->isChecked();
        else // the swatch count, the dialog's one number
            edited.*std::get<qint32 Settings::*>(row->field) =
                countFromText(static_cast<QLineEdit *>(control)->text());
    }
    m_settings.confirm(edited);
    close();
}

} // namespace tintavo
