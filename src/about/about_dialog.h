#pragma once

#include "about/registry.h"
#include "about/sys_info.h"
#include "about/url_opener.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class QLabel;
class QPushButton;

namespace tintavo {

// What the About dialog reaches outside itself. Members left empty are filled
// with the real services: SystemInfoRegistry, DetachedProcessLauncher, the
// desktop's browser, a message box over the dialog, ordinaryFileExists.
struct AboutServices
{
    std::shared_ptr<Registry> registry;
    std::shared_ptr<ProcessLauncher> launcher;
    std::shared_ptr<UrlOpener> urls;
    std::shared_ptr<NoticeService> notices;
    FileCheck fileExists;
};

// The About dialog: logo, credits, two links that light up under the pointer
// and open in the browser, and a button that starts the system-information
// tool. Modeless, one instance, deletes itself when closed.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    // The maker's addresses, shown in and opened from Label1 and Label4.
    static const QString kWebSiteUrl;
    static const QString kForumUrl;

    explicit AboutDialog(QWidget *parent = nullptr, AboutServices services = {});

    // The About button's action: creates and shows the dialog when `slot` is
    // empty, otherwise brings the open one to the front. Returns the dialog.
    static AboutDialog *showSingle(QPointer<AboutDialog> &slot, QWidget *parent = nullptr,
                                AboutServices services = {});

    // Esc presses cmdOK.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void Label1_Click();
    void Label4_Click();
    void Label1_MouseMove();
    void Label4_MouseMove();
    void Form_MouseMove();

    void visit_link(const QString &url);
    void link_hover(QLabel *lbl);
    void link_normal(QLabel *lbl);
    void StartSysInfo();

    AboutServices services_;
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;
    QPushButton *cmdOK = nullptr;
    QLabel *pressedLink_ = nullptr; // the link a left press started on
};

} // namespace tintavo
