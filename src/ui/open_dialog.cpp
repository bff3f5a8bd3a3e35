#include "ui/open_dialog.hpp"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>
#include <QWidget>

namespace ravlet {

QString QtNameFilters(const QString& pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

OpenDialog::OpenDialog(QWidget* window) : QObject(window), window_(window) {
    setObjectName(QStringLiteral("Dialog"));
}

std::optional<QString> OpenDialog::ShowOpen() {
    std::optional<QString> chosen = runner_ ? runner_(*this) : RunFileDialog();
    if (chosen) fileName_ = *chosen;
    return chosen;
}

std::optional<QString> OpenDialog::RunFileDialog() {
    QFileDialog dialog(window_, title_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QtNameFilters(filter_));
    const QFileInfo initial(fileName_);
    dialog.setDirectory(initial.absolutePath());
    dialog.selectFile(initial.fileName());
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(files.first());
}

}  // namespace ravlet
