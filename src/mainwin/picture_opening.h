#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QMimeData;
class QWidget;

namespace tintavo {

class MessageService;
struct LoadedPicture;

// The ways a picture reaches the main window to be picked from as a frame:
// 打开图片取色… (Ctrl+O, also in menus), an image file dropped anywhere on the
// window, and Ctrl+V while the clipboard holds an image and no text the
// focused box would take. The picture is read beside the window; one that is
// refused is told in the error notice with the reader's line, and nothing
// else happens.
class PictureOpening : public QObject
{
    Q_OBJECT

public:
    // Asks for a picture's path; empty when the user cancels.
    using AskPath = std::function<QString()>;
    // `open` gets each picture read; `askPath` stands in for the file dialog.
    PictureOpening(QWidget *window, MessageService &messages,
                   std::function<void(const LoadedPicture &)> open, AskPath askPath = {});

    // 打开图片取色…, with its key, for the window's menus.
    QAction *action() const { return m_action; }

    void openFromDialog();
    void openFile(const QString &path);
    // The picture `data` carries: an image file, or an image itself.
    bool openMime(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The first local file `data` names, if any.
    static std::optional<QString> droppedFile(const QMimeData *data);
    bool clipboardHasPicture() const;
    // Reads with `read` off this thread, then opens or says why not.
    void load(std::function<std::optional<LoadedPicture>(QString *error)> read);

    QWidget *m_window;
    MessageService &m_messages;
    std::function<void(const LoadedPicture &)> m_open;
    AskPath m_askPath;
    QAction *m_action;
    QString m_folder;
    // Only the latest request opens, however the reads end.
    int m_requests = 0;
};

} // namespace tintavo
