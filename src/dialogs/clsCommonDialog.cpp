// The file dialogs on QFileDialog, behind one chooser function that tests can replace.
#include "clsCommonDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <utility>

namespace {

FileChooser& CurrentChooser() {
    static FileChooser chooser = clsCommonDialog::ChooseWithFileDialog;
    return chooser;
}

QString BlankSeparated(const QString& patterns) {
    QStringList parts = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& part : parts) {
        part = part.trimmed();
    }
    parts.removeAll(QString());
    return parts.join(u' ');
}

// Qt reads a filter's patterns from the parentheses at its end, so a description that already
// ends with its own patterns ("NDS ROMs (*.nds)") is used as it is.
QString NameFilter(const QString& description, const QString& patterns) {
    const QString wanted = patterns.isEmpty() ? QStringLiteral("*") : patterns;
    const QString text = description.trimmed();
    const qsizetype open = text.lastIndexOf(u'(');
    if (open >= 0 && text.endsWith(u')') &&
        BlankSeparated(text.mid(open + 1, text.size() - open - 2)) == wanted) {
        return text.left(open) + u'(' + wanted + u')';
    }
    if (text.isEmpty()) {
        return wanted + QStringLiteral(" (") + wanted + u')';
    }
    return text + QStringLiteral(" (") + wanted + u')';
}

} // namespace

QStringList clsCommonDialog::ConvertFilter(const QString& filter) {
    QStringList parts = filter.split(u'|');
    if (!parts.isEmpty() && parts.last().isEmpty()) {
        parts.removeLast(); // the text's closing "|"
    }
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString patterns = i + 1 < parts.size() ? BlankSeparated(parts[i + 1]) : QString();
        if (parts[i].trimmed().isEmpty() && patterns.isEmpty()) {
            continue;
        }
        filters << NameFilter(parts[i], patterns);
    }
    return filters;
}

FileChooser clsCommonDialog::SetChooser(FileChooser chooser) {
    if (!chooser) {
        chooser = ChooseWithFileDialog;
    }
    return std::exchange(CurrentChooser(), std::move(chooser));
}

void clsCommonDialog::ConfigureFileDialog(QFileDialog& dialog, const FileChooserRequest& request) {
    const bool save = request.DialogMode == FileChooserRequest::Mode::Save;
    if (!request.Title.isEmpty()) {
        dialog.setWindowTitle(request.Title);
    }
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && request.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
    // Qt's dialogs offer no "open as read-only" check box, so HideReadOnly always holds.

    if (!request.NameFilters.isEmpty()) {
        dialog.setNameFilters(request.NameFilters);
        const int index = request.FilterIndex >= 1 && request.FilterIndex <= request.NameFilters.size()
                              ? request.FilterIndex
                              : 1;
        dialog.selectNameFilter(request.NameFilters[index - 1]);
    }

    // The starting point may name a file (the last one chosen): start in its folder with it
    // selected.
    if (!request.InitialDir.isEmpty()) {
        const QFileInfo start(request.InitialDir);
        if (start.isFile()) {
            dialog.setDirectory(start.absoluteDir());
            dialog.selectFile(start.fileName());
        } else {
            dialog.setDirectory(request.InitialDir);
        }
    }
    if (save) {
        dialog.setDefaultSuffix(request.DefaultSuffix);
        dialog.selectFile(request.FileName);
    }
}

FileChooserResult clsCommonDialog::ChooseWithFileDialog(const FileChooserRequest& request) {
    QFileDialog dialog(request.Owner);
    ConfigureFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) {
        return {};
    }
    FileChooserResult result;
    result.Path = files.first();
    result.FilterIndex = static_cast<int>(request.NameFilters.indexOf(dialog.selectedNameFilter())) + 1;
    return result;
}

FileChooserResult clsCommonDialog::Ask(const FileChooserRequest& request) {
    return CurrentChooser()(request);
}

FileChooserResult clsCommonDialog::Choose(FileChooserRequest request) const {
    // A dialog starts with the filter chosen in this instance's last successful one.
    request.FilterIndex = lastFilterIndex;
    return CurrentChooser()(request);
}

QString clsCommonDialog::ShowOpen(QWidget* hwnd, const QString& title, const QString& initDir,
                                  const QString& filter, qint32 flags) {
    FileChooserRequest request;
    request.DialogMode = FileChooserRequest::Mode::Open;
    request.Owner = hwnd;
    request.Title = title;
    request.InitialDir = initDir.isEmpty() ? lastPath : initDir;
    request.NameFilters = ConvertFilter(filter);
    request.FileMustExist = (flags & OFN_FILEMUSTEXIST) != 0;
    request.PathMustExist = (flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) != 0;
    request.HideReadOnly = (flags & OFN_HIDEREADONLY) != 0;
    request.OverwritePrompt = (flags & OFN_OVERWRITEPROMPT) != 0;

    // The chosen path is returned as the chooser gives it: a file name may end in a blank.
    const FileChooserResult result = Choose(std::move(request));
    if (!result.Path.isEmpty()) {
        lastPath = result.Path;
        lastFilterIndex = result.FilterIndex;
    }
    return result.Path;
}

QString clsCommonDialog::ShowSave(QWidget* hwnd, const QString& title, const QString& fileName,
                                  const QString& initDir, const QString& filter, qint32 flags) {
    FileChooserRequest request;
    request.DialogMode = FileChooserRequest::Mode::Save;
    request.Owner = hwnd;
    request.Title = title;
    request.FileName = fileName;
    request.InitialDir = initDir;
    request.NameFilters = ConvertFilter(filter);
    request.FileMustExist = (flags & OFN_FILEMUSTEXIST) != 0;
    request.PathMustExist = (flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST)) != 0;
    request.HideReadOnly = (flags & OFN_HIDEREADONLY) != 0;
    request.OverwritePrompt = (flags & OFN_OVERWRITEPROMPT) != 0;
    request.DefaultSuffix = QStringLiteral("gpl");

    const FileChooserResult result = Choose(std::move(request));
    if (!result.Path.isEmpty()) {
        lastFilterIndex = result.FilterIndex;
    }
    return result.Path;
}
