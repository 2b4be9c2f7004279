#pragma once
// The save-file dialog: a file-type filter in the "Label|*.ext" form, the chosen path
// (empty when the user cancels). The program asks its own overwrite question.
#include <QString>
#include <memory>

class QFileDialog;
class QWidget;

namespace platform {

class SaveFileDialog {
public:
    void setFilter(const QString& f) { filter_ = f; }   // "File CSV|*.csv"
    QString Filter() const { return filter_; }
    QString ShowSave();
    QString FileName() const { return fileName_; }

    // "File CSV|*.csv|Tutti|*.*" as Qt writes it: "File CSV (*.csv);;Tutti (*.*)".
    static QString QtFilter(const QString& filter);

    // The dialog ShowSave shows: Qt's own, with the file list's dates and sizes written as the
    // rest of the program writes them.
    static std::unique_ptr<QFileDialog> Build(QWidget* parent, const QString& filter);

private:
    QString filter_;
    QString fileName_;
};

} // namespace platform
