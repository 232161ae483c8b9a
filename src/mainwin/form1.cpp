#include "mainwin/form1.h"

#include "color/color_editing.h"
#include "color/editor_controls.h"
#include "color/message_box_service.h"
#include "color/qt_color_chooser.h"
#include "common/app_icon.h"
#include "common/scroll_slider.h"
#include "common/text_box.h"
#include "mainwin/layout_rule.h"
#include "mainwin/main_controls.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

namespace tintavo {

namespace {

std::vector<ControlSpec> allControls()
{
    std::vector<ControlSpec> specs;
    for (auto table : {colorEditingControls(), mainWindowControls()})
        specs.insert(specs.end(), table.begin(), table.end());
    return specs;
}

} // namespace

Form1::Form1(const Form1Services &services, QWidget *parent) : QWidget(parent)
{
    m_messages = services.messages;
    if (!m_messages) {
        m_ownMessages = std::make_unique<MessageBoxService>(this);
        m_messages = m_ownMessages.get();
    }
    m_colorChooser = services.colorChooser;
    if (!m_colorChooser) {
        m_ownColorChooser = std::make_unique<QtColorChooser>(this);
        m_colorChooser = m_ownColorChooser.get();
    }

    setObjectName(QStringLiteral("Form1"));
    setWindowIcon(appIcon());
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(twipsToPixels(kDesignClientWidth), twipsToPixels(kDesignClientHeight));

    const std::vector<ControlSpec> specs = allControls();
    m_controls = buildControls(this, specs);
    m_colorEditing = new ColorEditing(this, *m_messages);

    connectButton("show_fg_color", &Form1::show_fg_color_Click);
    connectButton("show_bg_color", &Form1::show_bg_color_Click);
}

void Form1::connectButton(const char *name, void (Form1::*handler)())
{
    auto *button = qobject_cast<QPushButton *>(m_controls.value(QString::fromLatin1(name)));
    Q_ASSERT(button);
    connect(button, &QPushButton::clicked, this, handler);
}

void Form1::show_fg_color_Click()
{
    m_colorEditing->show_fg_color_Click(*m_colorChooser);
}

void Form1::show_bg_color_Click()
{
    m_colorEditing->show_bg_color_Click(*m_colorChooser);
}

Form1::~Form1() = default;

void Form1::Form_Initialize()
{
    hide();
    Form_Load();
    show();
}

void Form1::Form_Load()
{
    setWindowTitle(QStringLiteral("Brenvik软件-[Kelmira]-Vantolux！"));
    auto *frame1 = qobject_cast<QGroupBox *>(m_controls.value(QStringLiteral("Frame1")));
    frame1->setTitle(windowTitle() + QStringLiteral("::效果预览::"));

    auto slider = [this](const char *name) {
        return qobject_cast<ScrollSlider *>(m_controls.value(QString::fromLatin1(name)));
    };
    slider("fg_red_slide")->setValue(0);
    slider("fg_green_slide")->setValue(0);
    slider("fg_blue_slide")->setValue(0);
    slider("bg_red_slide")->setValue(205);
    slider("bg_green_slide")->setValue(137);
    slider("bg_blue_slide")->setValue(15);

    m_colorEditing->setForeColor(RGB(0, 0, 0));
    m_colorEditing->setBackColor(RGB(205, 137, 15));

    QWidget *colorInfo = m_controls.value(QStringLiteral("txtColorInfo"));
    QFont bold = colorInfo->font();
    bold.setBold(true);
    colorInfo->setFont(bold);

    const std::pair<const char *, const char *> initialTexts[] = {
        {"bg_red_dec", "205"},  {"bg_red_hex", "CD"},  {"bg_green_dec", "137"},
        {"bg_green_hex", "89"}, {"bg_blue_dec", "15"}, {"bg_blue_hex", "0F"},
        {"fg_red_dec", "0"},    {"fg_red_hex", "00"},  {"fg_green_dec", "0"},
        {"fg_green_hex", "00"}, {"fg_blue_dec", "0"},  {"fg_blue_hex", "00"},
    };
    for (const auto &[name, text] : initialTexts)
        assignText(qobject_cast<QLineEdit *>(m_controls.value(QString::fromLatin1(name))),
                   QString::fromLatin1(text));

    auto *effectText =
        qobject_cast<QPlainTextEdit *>(m_controls.value(QStringLiteral("effect_text")));
    effectText->setPlainText(m_helpText);
    effectText->setFocus();
}

void Form1::RefreshValue(ColorValue lColor, const QString &isBg)
{
    m_colorEditing->RefreshValue(lColor, isBg);
}

} // namespace tintavo
