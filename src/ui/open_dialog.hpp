// The window's file-open dialog component, `Dialog`: a non-visual object that holds
// the three texts the editor sets and shows the toolkit's open dialog with them.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace ravlet {

// "desc|pattern|desc|pattern" as the toolkit's "desc (pattern);;desc (pattern)".
// A trailing description without a pattern is dropped.
QString QtNameFilters(const QString& pairs);

class OpenDialog : public QObject {
    Q_OBJECT

public:
    // Runs in place of the toolkit's dialog: gets the component with its texts set,
    // returns the chosen path or nullopt for a cancel.
    using Runner = std::function<std::optional<QString>(const OpenDialog&)>;

    // `window` parents the modal dialog; the component is its child named "Dialog".
    explicit OpenDialog(QWidget* window);

    const QString& title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    // The filter in "desc|pattern|..." form.
    const QString& filter() const { return filter_; }
    void setFilter(const QString& filter) { filter_ = filter; }
    // The initial file name; after a confirmed dialog, the chosen one.
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& fileName) { fileName_ = fileName; }

    // Shows the dialog modally as an Open dialog. The chosen file as a native path,
    // or nullopt when the user cancelled (the file name then stays as it was).
    std::optional<QString> ShowOpen();

    void SetRunner(Runner runner) { runner_ = std::move(runner); }

private:
    std::optional<QString> RunFileDialog();

    QWidget* window_;
    QString title_;
    QString filter_;
    QString fileName_;
    Runner runner_;
};

}  // namespace ravlet
