#include "mainwin/form1.h"

#include "color/color_editing.h"
#include "color/editor_controls.h"
#include "common/scroll_slider.h"
#include "common/text_box.h"
#include "mainwin/main_controls.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
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

Form1::Form1(MessageService &messages, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(twipsToPixels(kDesignClientWidth), twipsToPixels(kDesignClientHeight));

    const std::vector<ControlSpec> specs = allControls();
    m_controls = buildControls(this, specs);
    m_colorEditing = new ColorEditing(this, messages);
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
