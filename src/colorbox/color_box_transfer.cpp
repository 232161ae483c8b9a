#include "colorbox/color_box_transfer.h"

#include "color/css_formats.h"
#include "colorbox/color_box_model.h"
#include "colorbox/color_box_write.h"
#include "colorbox/palette_file.h"
#include "colorbox/ramp_files.h"
#include "colorbox/swatch_view.h"
#include "common/off_thread.h"
#include "desktop/desktop_services.h"
#include "desktop/file_dialog.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QMenu>

namespace tintavo {

namespace {

const QString kGplFilter = QStringLiteral("GIMP 调色板 (*.gpl)");
const QString kCssFilter = QStringLiteral("CSS 自定义属性 (*.css)");
const QString kTailwindFilter = QStringLiteral("Tailwind v4 主题 (*.css)");

enum class ExportForm
{
    Gimp,
    CssProperties,
    Tailwind
};

// Both style-sheet forms end in .css, so the filter the user chose decides
// between them; without one, the name's ending does.
ExportForm exportForm(const QString &filter, const QString &path)
{
    if (filter == kTailwindFilter)
        return ExportForm::Tailwind;
    if (filter == kCssFilter || path.endsWith(QLatin1String(".css"), Qt::CaseInsensitive))
        return ExportForm::CssProperties;
    return ExportForm::Gimp;
}

} // namespace

ColorBoxTransfer::ColorBoxTransfer(QWidget *window, ColorBoxModel &box, const SwatchView &view,
                                   MessageService &messages, QuestionService &questions,
                                   FileDialogs dialogs, LastFolder lastFolder)
    : QObject(window), m_window(window), m_box(box), m_view(view), m_messages(messages),
      m_questions(questions), m_dialogs(std::move(dialogs)), m_lastFolder(std::move(lastFolder))
{
    if (!m_dialogs.savePath) {
        m_dialogs.savePath = [this](QString *filter) {
            return askForFile(
                m_window, QFileDialog::AcceptSave, QStringLiteral("导出颜色盒"), startFolder(),
                QStringList{kGplFilter, kCssFilter, kTailwindFilter}.join(u";;"), filter);
        };
    }
    if (!m_dialogs.openPath) {
        m_dialogs.openPath = [this] {
            return askForFile(
                m_window, QFileDialog::AcceptOpen, QStringLiteral("导入颜色盒"), startFolder(),
                QStringList{kGplFilter, kCssFilter, QStringLiteral("所有文件 (*)")}.join(u";;"));
        };
    }
}

QString ColorBoxTransfer::startFolder() const
{
    // Without one kept, the user's home rather than wherever the program was started.
    const QString kept = m_lastFolder.get ? m_lastFolder.get() : QString();
    return !kept.isEmpty() && QFileInfo(kept).isDir() ? kept : QDir::homePath();
}

void ColorBoxTransfer::remember(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (m_lastFolder.set && (!m_lastFolder.get || m_lastFolder.get() != folder))
        m_lastFolder.set(folder);
}

void ColorBoxTransfer::addMenuItems(QMenu *menu)
{
    menu->addSeparator();
    menu->addAction(QStringLiteral("复制颜色代码"), this, &ColorBoxTransfer::copySwatchCode)
        ->setObjectName(QStringLiteral("copySwatchCode"));
    menu->addAction(QStringLiteral("导出颜色盒…"), this, &ColorBoxTransfer::exportColorBox)
        ->setObjectName(QStringLiteral("exportColorBox"));
    menu->addAction(QStringLiteral("导入颜色盒…"), this, &ColorBoxTransfer::importColorBox)
        ->setObjectName(QStringLiteral("importColorBox"));
}

void ColorBoxTransfer::copySwatchCode()
{
    if (m_box.contains(m_box.selectedSwatch()))
        QGuiApplication::clipboard()->setText(
            cssColor(m_box.color(m_box.selectedSwatch()), CssFormat::Hex));
}

void ColorBoxTransfer::exportColorBox()
{
    const std::vector<Rgb> colors = exportedColors(m_box.colors());
    if (colors.empty()) {
        m_messages.showError(QStringLiteral("颜色盒里没有颜色可以导出（白色表示空格）。"));
        return;
    }
    QString filter;
    QString path = m_dialogs.savePath(&filter);
    if (path.isEmpty())
        return;
    remember(path);
    const ExportForm form = exportForm(filter, path);
    const QString suffix =
        form == ExportForm::Gimp ? QStringLiteral(".gpl") : QStringLiteral(".css");
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    const QByteArray bytes =
        form == ExportForm::Tailwind ? tailwindThemeBytes(rampNameForFile(path), colors)
        : form == ExportForm::CssProperties
            ? cssPropertiesBytes(colors)
            : gimpPaletteBytes(colors, QStringLiteral("Tintavo"), m_view.columns());
    // The disk may be slow or a network away: the window goes on meanwhile,
    // and a failure is still said once the write has ended.
    auto *writing = new QFutureWatcher<QString>(this);
    connect(writing, &QFutureWatcherBase::finished, this, [this, writing] {
        writing->deleteLater();
        if (const QString error = writing->result(); !error.isEmpty())
            m_messages.showError(error);
    });
    writing->setFuture(runOffThread([path, bytes] { return writeFileAtomically(path, bytes); }));
}

void ColorBoxTransfer::importColorBox()
{
    // Where the user asked for it: the selection may move while the file is
    // chosen and read.
    const int first = m_box.selectedSwatch();
    const QString path = m_dialogs.openPath();
    if (path.isEmpty())
        return;
    remember(path);
    // Read beside the window, as the export writes; the colours go in once
    // the file is read.
    auto *reading = new QFutureWatcher<PaletteFileRead>(this);
    connect(reading, &QFutureWatcherBase::finished, this, [this, reading, path, first] {
        reading->deleteLater();
        importRead(path, reading->result(), first);
    });
    reading->setFuture(runOffThread([path] { return readPaletteFile(path); }));
}

void ColorBoxTransfer::importRead(const QString &path, const PaletteFileRead &file, int first)
{
    if (!file.error.isEmpty()) {
        m_messages.showError(file.error);
        return;
    }
    const PaletteReadResult read = readPalette(file.bytes);
    if (!read.error.isEmpty()) {
        m_messages.showError(
            QStringLiteral("无法导入“%1”，颜色盒没有改动。\n%2").arg(path, read.error));
        return;
    }
    const BoxWrite done =
        writeColorsAsking(m_box, first, read.colors, m_questions, QStringLiteral("导入颜色盒"));
    if (done.cancelled)
        return;
    // An import always ends with a word: what went in, and what reading gave up.
    QStringList said{QStringLiteral("已导入 %1 种颜色。").arg(done.written)};
    if (!done.leftOut.isEmpty())
        said << done.leftOut;
    m_messages.showNotice((said + read.notes()).join(u'\n'));
}

} // namespace tintavo
