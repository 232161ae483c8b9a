#include "mainwin/picture_opening.h"

#include "common/off_thread.h"
#include "desktop/desktop_services.h"
#include "desktop/file_dialog.h"
#include "picture/picture_file.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace tintavo {

namespace {

const QString kPngType = QStringLiteral("image/png");

struct PictureRead
{
    std::optional<LoadedPicture> picture;
    QString error;
};

bool isPasteKey(QEvent *event)
{
    return (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
           static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste);
}

} // namespace

PictureOpening::PictureOpening(QWidget *window, MessageService &messages,
                               std::function<void(const LoadedPicture &)> open, AskPath askPath)
    : QObject(window), m_window(window), m_messages(messages), m_open(std::move(open)),
      m_askPath(std::move(askPath)), m_folder(QDir::homePath())
{
    m_action = new QAction(QStringLiteral("打开图片取色…"), window);
    m_action->setObjectName(QStringLiteral("openPicture"));
    m_action->setShortcut(QKeySequence::Open);
    m_action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(m_action);
    connect(m_action, &QAction::triggered, this, &PictureOpening::openFromDialog);
    if (!m_askPath) {
        m_askPath = [this] {
            return askForFile(m_window, QFileDialog::AcceptOpen, QStringLiteral("打开图片取色"),
                              m_folder,
                              QStringLiteral("图片 (*.png *.jpg *.jpeg *.webp *.bmp *.gif *.tif "
                                             "*.tiff);;所有文件 (*)"));
        };
    }
    window->setAcceptDrops(true);
    // Drops and keys reach the window's boxes first: the application's
    // filter sees them before any of them.
    qApp->installEventFilter(this);
}

void PictureOpening::openFromDialog()
{
    const QString path = m_askPath();
    if (path.isEmpty())
        return;
    m_folder = QFileInfo(path).absolutePath();
    openFile(path);
}

void PictureOpening::openFile(const QString &path)
{
    load([path](QString *error) { return loadPicture(path, error); });
}

bool PictureOpening::openMime(const QMimeData *data)
{
    if (const std::optional<QString> path = droppedFile(data)) {
        openFile(*path);
        return true;
    }
    if (!data)
        return false;
    // A PNG's own bytes where they are offered, read as a file is: the
    // toolkit's image has taken its gamma chunk for a profile already.
    if (data->hasFormat(kPngType)) {
        load([bytes = data->data(kPngType)](QString *error) { return loadPicture(bytes, error); });
        return true;
    }
    if (!data->hasImage())
        return false;
    load([image = qvariant_cast<QImage>(data->imageData())](QString *error) {
        return loadPicture(image, error);
    });
    return true;
}

void PictureOpening::load(std::function<std::optional<LoadedPicture>(QString *)> read)
{
    const int request = ++m_requests;
    auto *reading = new QFutureWatcher<PictureRead>(this);
    connect(reading, &QFutureWatcherBase::finished, this, [this, reading, request] {
        reading->deleteLater();
        const PictureRead read = reading->result();
        if (request != m_requests)
            return;
        if (read.picture)
            m_open(*read.picture);
        else
            m_messages.showError(read.error);
    });
    reading->setFuture(runOffThread([read = std::move(read)] {
        PictureRead result;
        result.picture = read(&result.error);
        return result;
    }));
}

std::optional<QString> PictureOpening::droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return std::nullopt;
}

bool PictureOpening::clipboardHasPicture() const
{
    const QMimeData *data = QApplication::clipboard()->mimeData();
    return data && !data->hasText() &&
           (data->hasImage() || data->hasFormat(kPngType) || droppedFile(data));
}

bool PictureOpening::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool wanted = type == QEvent::DragEnter || type == QEvent::DragMove ||
                        type == QEvent::Drop || isPasteKey(event);
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!wanted || !widget || widget->window() != m_window)
        return false;
    if (type == QEvent::DragEnter || type == QEvent::DragMove) {
        auto *drag = static_cast<QDropEvent *>(event);
        if (!droppedFile(drag->mimeData()))
            return false;
        drag->acceptProposedAction();
        return true;
    }
    if (type == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!droppedFile(drop->mimeData()))
            return false;
        drop->acceptProposedAction();
        openMime(drop->mimeData());
        return true;
    }
    if (!clipboardHasPicture())
        return false;
    // Taken from any box that would have the key, and from the colour
    // code's paste, which would refuse a picture.
    event->accept();
    if (type == QEvent::KeyPress)
        openMime(QApplication::clipboard()->mimeData());
    return true;
}

} // namespace tintavo
