#include "settings/settings_dialog.h"

#include "common/control_table.h"
#include "common/interface_font.h"
#include "settings/capture_key_section.h"
#include "settings/count_text.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

namespace tintavo {

namespace {

using K = ControlKind;
using D = SettingsDialog::Controls;

// A row's keep for the editor of the setting `Field`.
template <auto Field> void editorOf(D &controls, QWidget *control)
{
    controls.editors.push_back({Field, control});
}

// clang-format off
const ControlRow<D> kControls[] = {
    {"Frame1",   K::GroupBox,      nullptr,  {75, 45, 4245, 1830},    "软件设置", "", 0},
    {"Label1",   K::Label,         "Frame1", {120, 210, 1710, 270},   "存储颜色容器数量：", "", 1},
    {"Text1",    K::LineEdit,      "Frame1", {1965, 195, 1440, 270},  "64", "", 2, editorOf<&Settings::swatchCount>},
    {"Check1",   K::CheckBox,      "Frame1", {135, 675, 3270, 180},   "运行结束时自动保存存储颜色", "", 3, editorOf<&Settings::autoSave>},
    {"Check2",   K::CheckBox,      "Frame1", {135, 1065, 3345, 255},  "运行时自动加载上次保存的颜色", "", 4, editorOf<&Settings::autoLoad>},
    {"Check3",   K::CheckBox,      "Frame1", {135, 1455, 2895, 255},  "记住上次保存颜色的最后位置", "", 7, editorOf<&Settings::rememberStartSlot>},
    {"Command1", K::PushButton,    nullptr,  {1905, 2055, 1110, 315}, "保存设置", "", 5, into<&D::save>},
    {"Command2", K::PushButton,    nullptr,  {3210, 2070, 1065, 300}, "放弃设置", "", 6, into<&D::discard>},
};
// clang-format on

// The editor's control as the kind its setting takes; a table that gave a
// setting the wrong kind of control stops the program where it is built.
template <typename Control> Control *editorControl(const D::Editor &editor)
{
    auto *control = qobject_cast<Control *>(editor.control);
    if (!control)
        qFatal("%s is not a %s", qPrintable(editor.control->objectName()),
               Control::staticMetaObject.className());
    return control;
}

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

    m_controls = buildControls<Controls>(this, kControls).controls;
    // The first check box is 12 pixels high: its box and caption are drawn to
    // that height, and the other two match it.
    for (const Controls::Editor &editor : m_controls.editors) {
        if (auto *box = qobject_cast<QCheckBox *>(editor.control))
            box->setFont(compactInterfaceFont());
    }
    setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 11px; height: 11px; }"));

    // Neither button is default, and Enter must not press the focused one.
    for (QPushButton *button : {m_controls.save, m_controls.discard})
        button->setAutoDefault(false);
    connect(m_controls.save, &QPushButton::clicked, this, &SettingsDialog::saveAndClose);
    connect(m_controls.discard, &QPushButton::clicked, this, &QWidget::close);

    addCaptureKeySection(this, kClientArea.width, kClientArea.height);
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
    for (const Controls::Editor &editor : m_controls.editors) {
        if (auto on = std::get_if<bool Settings::*>(&editor.field))
            editorControl<QCheckBox>(editor)->setChecked(shown.**on);
        else
            editorControl<QLineEdit>(editor)->setText(
                QString::number(shown.*std::get<qint32 Settings::*>(editor.field)));
    }
}

void SettingsDialog::saveAndClose()
{
    Settings edited = m_settings.settings();
    for (const Controls::Editor &editor : m_controls.editors) {
        if (auto on = std::get_if<bool Settings::*>(&editor.field))
            edited.**on = editorControl<QCheckBox>(editor)->isChecked();
        else // the swatch count, the dialog's one number
            edited.*std::get<qint32 Settings::*>(editor.field) =
                countFromText(editorControl<QLineEdit>(editor)->text());
    }
    m_settings.confirm(edited);
    close();
}

} // namespace tintavo
