#include "picker/picker_window.h"

#include "picker/pick_engine.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QMenu>

namespace tintavo {

namespace {

constexpr int kFreezeDelays[] = {3, 5, 10};

struct SampleSizeItem
{
    int size;
    const char *name;
    const char *text;
};
const SampleSizeItem kSampleSizeItems[] = {
    {1, "menuSample1", "单个像素"},
    {3, "menuSample3", "3×3 平均"},
    {5, "menuSample5", "5×5 平均"},
};

} // namespace

void PickerWindow::buildMenu()
{
    m_menu = new QMenu(this);
    QMenu *sizes = m_menu->addMenu(QStringLiteral("取样大小"));
    sizes->setObjectName(QStringLiteral("menuSampleSize"));
    auto *group = new QActionGroup(sizes);
    for (const SampleSizeItem &item : kSampleSizeItems) {
        QAction *action = sizes->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
        action->setData(item.size);
        // The desktop's own pick is one pixel: there is no square to average.
        action->setEnabled(averages());
        group->addAction(action);
    }
    connect(group, &QActionGroup::triggered, this, [this](QAction *action) {
        setSampleSize(action->data().toInt());
        emit sampleSizeChosen(sampleSize());
    });
    struct Switch
    {
        const char *name;
        const char *text;
        bool PickSettings::*setting;
        void (PickEngine::*apply)(bool);
        void (PickerWindow::*chosen)(bool);
        // Where the desktop picks one pixel itself there is nothing to
        // magnify, and it publishes no monitor profile to go by.
        bool enabled;
    };
    const Switch switches[] = {
        {"menuLoupe", "显示放大镜", &PickSettings::loupe, &PickEngine::setLoupe,
         &PickerWindow::loupeChosen, averages()},
        {"menuColorManaged", "色彩管理", &PickSettings::colorManaged, &PickEngine::setColorManaged,
         &PickerWindow::colorManagementChosen, liveEngine() != nullptr},
    };
    for (const Switch &item : switches) {
        QAction *action =
            m_menu->addAction(QString::fromUtf8(item.text), this, [this, item](bool on) {
                m_options.picking.*item.setting = on;
                if (PickEngine *live = liveEngine())
                    (live->*item.apply)(on);
                emit(this->*item.chosen)(on);
            });
        action->setObjectName(QString::fromLatin1(item.name));
        action->setCheckable(true);
        action->setChecked(m_options.picking.*item.setting);
        action->setEnabled(item.enabled);
    }
    m_menu->addSeparator();
    const bool canFreeze = this->canFreeze();
    QAction *freezeNow = m_menu->addAction(QStringLiteral("冻结屏幕\tAlt+Shift+F"), this,
                                           &PickerWindow::toggleFreeze);
    freezeNow->setObjectName(QStringLiteral("menuFreeze"));
    freezeNow->setEnabled(canFreeze);
    QMenu *later = m_menu->addMenu(QStringLiteral("延时冻结"));
    later->setObjectName(QStringLiteral("menuFreezeLater"));
    later->setEnabled(canFreeze);
    for (int seconds : kFreezeDelays) {
        QAction *action = later->addAction(QStringLiteral("%1 秒").arg(seconds), this,
                                           [this, seconds] { freezeLater(seconds); });
        action->setObjectName(QStringLiteral("menuFreeze%1").arg(seconds));
    }
    m_menu->addSeparator();
    m_menu->addAction(QStringLiteral("关闭取色\tEsc"), this, &QWidget::close)
        ->setObjectName(QStringLiteral("menuClosePicker"));
    // The loupe would draw over the menu.
    connect(m_menu, &QMenu::aboutToShow, this, [this] {
        if (PickEngine *reading = engine())
            reading->setLoupeHidden(true);
    });
    connect(m_menu, &QMenu::aboutToHide, this, [this] {
        if (PickEngine *reading = engine())
            reading->setLoupeHidden(false);
    });
}

void PickerWindow::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_menu)
        buildMenu();
    for (QAction *action : m_menu->findChild<QMenu *>(QStringLiteral("menuSampleSize"))->actions())
        action->setChecked(action->data().toInt() == sampleSize());
    // Not exec(): the picker keeps sampling and its keys keep working.
    m_menu->popup(event->globalPos());
}

} // namespace tintavo
