// The open dialog over QFileDialog, its columns in Russian.
#include "ui/open_dialog.hpp"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QStringList>
#include <QWidget>

namespace ravlet {
namespace {

// Qt's own dialog formats sizes and dates in the system's locale and names folders with
// a text its Russian translations lack; the window is Russian whatever the locale.
class RussianColumns : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (role != Qt::DisplayRole || files == nullptr)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex file = mapToSource(index);
        const QLocale russian(QLocale::Russian, QLocale::Russia);
        enum Column { kName, kSize, kType, kModified };
        switch (index.column()) {
            case kSize:
                if (files->isDir(file)) break;
                // The locale's own word for a few bytes comes in the wrong plural form.
                if (files->size(file) < 1024) return QStringLiteral("%1 Б").arg(files->size(file));
                return russian.formattedDataSize(files->size(file), 1,
                                                 QLocale::DataSizeTraditionalFormat);
            case kType:
                if (files->isDir(file)) return QStringLiteral("Папка");
                break;
            case kModified:
                return russian.toString(files->lastModified(file), QLocale::ShortFormat);
            default:
                break;
        }
        return QIdentityProxyModel::data(index, role);
    }
};

}  // namespace

QString QtNameFilters(const std::vector<FileFilter>& filters) {
    QStringList shown;
    for (const FileFilter& filter : filters) {
        shown << QString::fromStdString(filter.description) + QStringLiteral(" (") +
                     QString::fromStdString(filter.pattern) + QLatin1Char(')');
    }
    return shown.join(QStringLiteral(";;"));
}

std::optional<std::string> RunOpenDialog(QWidget* parent, const OpenDialogRequest& request) {
    QFileDialog dialog(parent, QString::fromStdString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QtNameFilters(request.filters));
    // Used only by Qt's own dialog; a desktop's native one speaks the desktop's language.
    dialog.setProxyModel(new RussianColumns(&dialog));
    const QFileInfo initial(QString::fromStdString(request.fileName));
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(files.first()).toStdString();
}

}  // namespace ravlet
