#include "settings/settings_dialog.h"

#include "common/control_table.h"
#include "common/interface_font.h"
#include "settings/count_text.h"

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

// A switch reads as on only when it is exactly 1, as everywhere else in the
// program; a hand-edited 2 therefore shows cleared, and saving writes 0.
void showSwitch(QCheckBox *box, qint32 value)
{
    box->setChecked(value == 1);
}

qint32 readSwitch(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

SettingsDialog::SettingsDialog(SettingsMembers &members, SaveSettingsFn saveSettings, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      members_(members), saveSettings_(std::move(saveSettings))
{
    setObjectName(QStringLiteral("FrmSet"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("软件设置"));
    setFixedSize(toPixels(kClientArea).size());

    const auto made = buildControls(this, kControls);
    Text1 = qobject_cast<QLineEdit *>(made.value(QStringLiteral("Text1")));
    Check1 = qobject_cast<QCheckBox *>(made.value(QStringLiteral("Check1")));
    Check2 = qobject_cast<QCheckBox *>(made.value(QStringLiteral("Check2")));
    Check3 = qobject_cast<QCheckBox *>(made.value(QStringLiteral("Check3")));
    // The first check box is 12 pixels high: its box and caption are drawn to
    // that height, and the other two match it.
    for (QCheckBox *box : {Check1, Check2, Check3})
        box->setFont(compactInterfaceFont());
    setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 11px; height: 11px; }"));

    // Neither button is default, and Enter must not press the focused one.
    auto *Command1 = qobject_cast<QPushButton *>(made.value(QStringLiteral("Command1")));
    auto *Command2 = qobject_cast<QPushButton *>(made.value(QStringLiteral("Command2")));
    for (QPushButton *button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(Command1, &QPushButton::clicked, this, &SettingsDialog::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &SettingsDialog::Command2_Click);

    Form_Load();
}

SettingsDialog *SettingsDialog::showSingle(QPointer<SettingsDialog> &slot, SettingsMembers &members,
                           SaveSettingsFn saveSettings, QWidget *parent)
{
    if (!slot)
        slot = new SettingsDialog(members, std::move(saveSettings), parent);
    slot->setWindowState(slot->windowState() & ~Qt::WindowMinimized);
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot;
}

void SettingsDialog::reject() {}

void SettingsDialog::closeEvent(QCloseEvent *event)
{
    event->accept();
}

void SettingsDialog::Form_Load()
{
    Text1->setText(QString::number(members_.lColor));
    showSwitch(Check1, members_.lAutoSave);
    showSwitch(Check2, members_.LAutoLoad);
    showSwitch(Check3, members_.lRemenber);
}

void SettingsDialog::Command1_Click()
{
    members_.lAutoSave = readSwitch(Check1);
    members_.LAutoLoad = readSwitch(Check2);
    members_.lColor = countFromText(Text1->text());
    members_.lRemenber = readSwitch(Check3);
    if (saveSettings_)
        saveSettings_(members_);
    close();
}

void SettingsDialog::Command2_Click()
{
    close();
}

} // namespace tintavo
