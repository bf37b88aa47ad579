// One editing session: the document that holds the open image, the editor window that views it,
// and the table window, made when first asked for. The windows know the document only; the
// session is what puts them side by side.
#pragma once

#include "EvolutionDocument.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <memory>

class Form1;
class TableWindow;

class EditorSession : public QObject {
    Q_OBJECT

public:
    explicit EditorSession(QObject* parent = nullptr);
    ~EditorSession() override;

    EvolutionDocument& Document() { return document; }
    Form1& Editor() { return *editor; }
    // The table window; null until it is first shown.
    TableWindow* Table() const { return table; }

    // Ctrl+T: the table window of the open image, beside the editor.
    void ShowTableWindow();

    // Where a window of `size` goes beside the editor's frame `editor`: to its right where it fits
    // on the screen's available area `screen`, else to its left, else wherever it stays on the
    // screen.
    static QPoint PlaceBeside(const QRect& editor, const QSize& size, const QRect& screen);

private:
    EvolutionDocument document;
    std::unique_ptr<Form1> editor;
    TableWindow* table = nullptr; // a window of the editor's, made when first asked for
};
