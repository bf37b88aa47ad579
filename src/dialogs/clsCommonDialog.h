// The open-file and save-file dialogs of the editor: a chooser that takes an owner window, a title,
// "description|pattern" filters, a starting folder and flags, and gives back a path or empty text.
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>

class QFileDialog;
class QWidget;

// Everything a dialog call asks of the file chooser.
struct FileChooserRequest {
    enum class Mode { Open, Save };

    Mode DialogMode = Mode::Open;
    QWidget* Owner = nullptr;
    QString Title;
    QString InitialDir;      // a folder, or a file whose folder to start in; empty: the chooser's own
    QString FileName;        // the name offered in a save dialog's name field
    QStringList NameFilters; // Qt name filters, "NDS ROMs (*.nds)"
    int FilterIndex = 0;     // 1-based filter to start with; 0 for the first
    bool FileMustExist = false;
    bool PathMustExist = false;
    bool HideReadOnly = false;
    bool OverwritePrompt = false;
    QString DefaultSuffix; // added to a typed name without one, without the dot
};

// The chooser's answer: an empty path when the user cancelled (or the dialog failed).
struct FileChooserResult {
    QString Path;
    int FilterIndex = 0; // 1-based filter in use when the path was chosen
};

using FileChooser = std::function<FileChooserResult(const FileChooserRequest&)>;

class clsCommonDialog {
public:
    // Flag bits callers pass, with their traditional values.
    static constexpr qint32 OFN_OVERWRITEPROMPT = 0x2;
    static constexpr qint32 OFN_HIDEREADONLY = 0x4;
    static constexpr qint32 OFN_PATHMUSTEXIST = 0x800;
    static constexpr qint32 OFN_FILEMUSTEXIST = 0x1000;

    // Lets the user choose a file to open. An empty `initDir` starts where this instance's last
    // chosen file lies. Returns the path, or empty text on cancel (which changes nothing here).
    QString ShowOpen(QWidget* hwnd, const QString& title, const QString& initDir, const QString& filter,
                     qint32 flags);

    // Lets the user choose a file to save to, offering `fileName` and adding ".gpl" to a name typed
    // without an extension. `initDir` is used as given, also when empty.
    QString ShowSave(QWidget* hwnd, const QString& title, const QString& fileName, const QString& initDir,
                     const QString& filter, qint32 flags);

    // 1-based filter in use in the last successful dialog of this instance; 0 before any.
    qint32 FilterIndex() const { return lastFilterIndex; }

    // Path chosen in the last successful ShowOpen of this instance.
    const QString& LastPath() const { return lastPath; }

    // "desc|pattern|desc|pattern" as Qt name filters, "desc (pattern ...)"; patterns separated
    // by ";" become separated by blanks. A trailing "|" adds no filter.
    static QStringList ConvertFilter(const QString& filter);

    // Replaces the chooser every instance uses (tests answer without a modal dialog); an empty
    // function restores the Qt file dialog. Returns the chooser that was in place.
    static FileChooser SetChooser(FileChooser chooser);

    // Asks the chooser in place with `request` as it stands, for dialogs of other kinds of file.
    static FileChooserResult Ask(const FileChooserRequest& request);

    // The default chooser: a modal QFileDialog set up by ConfigureFileDialog.
    static FileChooserResult ChooseWithFileDialog(const FileChooserRequest& request);
    static void ConfigureFileDialog(QFileDialog& dialog, const FileChooserRequest& request);

private:
    FileChooserResult Choose(FileChooserRequest request) const;

    QString lastPath;
    qint32 lastFilterIndex = 0;
};
