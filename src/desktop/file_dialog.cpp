#include "desktop/file_dialog.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QTreeView>

namespace tintavo {

namespace {

// The file system model writes sizes and dates in the system's language,
// and a folder's type in English; these are in the program's (the default
// locale), as the files' types already are.
class FileColumnsInLocale : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!files || role != Qt::DisplayRole)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        switch (index.column()) {
        case 1:
            if (!files->isDir(file))
                return QLocale().formattedDataSize(files->size(file));
            break;
        case 2:
            if (files->isDir(file))
                return QStringLiteral("文件夹");
            break;
        case 3:
            return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
        }
        return QIdentityProxyModel::data(index, role);
    }
};

void fitColumnsToContents(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    auto *files = dialog.findChild<QFileSystemModel *>();
    if (!view || !files)
        return;
    dialog.setProxyModel(new FileColumnsInLocale(&dialog));
    // Sizes and types arrive as the folder is read: the columns follow each
    // folder once it is, and the user may still drag them.
    QObject::connect(files, &QFileSystemModel::directoryLoaded, view, [view] {
        for (int column = 1; column < view->header()->count(); ++column)
            view->resizeColumnToContents(column);
    });
}

} // namespace

QString askForFile(QWidget *parent, QFileDialog::AcceptMode mode, const QString &title,
                   const QString &folder, const QString &filters, QString *filter)
{
    QFileDialog dialog(parent, title, folder, filters);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    fitColumnsToContents(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (filter)
        *filter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

} // namespace tintavo
