#pragma once

#include "desktop/desktop_services.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <memory>

class QLabel;
class QPushButton;

namespace tintavo {

// What the About dialog reaches outside itself; empty members are filled with
// the real ones: a message box over the dialog and the desktop's browser.
struct AboutServices
{
    std::shared_ptr<MessageService> messages;
    std::shared_ptr<UrlOpener> urls;
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

    // The dialog's controls.
    struct Controls
    {
        QLabel *logo;
        // The title, version, credit, web site, contact, feedback and forum lines.
        std::array<QLabel *, 7> besideLogo;
        QLabel *disclaimer;
        QPushButton *ok;
        QPushButton *systemInfo;

        QLabel *title() const { return besideLogo[0]; }
        QLabel *credit() const { return besideLogo[2]; }
        QLabel *webSite() const { return besideLogo[3]; }
        QLabel *feedback() const { return besideLogo[5]; }
        QLabel *forum() const { return besideLogo[6]; }
    };

    // The About button's action: creates and shows the dialog when `slot` is
    // empty, otherwise brings the open one to the front. Returns the dialog.
    static AboutDialog *showSingle(QPointer<AboutDialog> &slot, QWidget *parent = nullptr,
                                   AboutServices services = {});

    // Esc presses OK.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void startSystemInfo();

    AboutServices m_services;
    Controls m_controls{};
    QLabel *m_pressedLink = nullptr; // the link a left press started on
};

} // namespace tintavo
