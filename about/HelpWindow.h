// THelpWindow: the program's help document in a window of its own, opened
// by Help > "Contents...".
#pragma once

#include <QUrl>
#include <QWidget>

#include <memory>

class QTextBrowser;

namespace Ui {
class THelpWindow;
}

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // The help document built into the program.
    static const QUrl DocumentUrl;

    // A window of its own even with a parent (which owns it); hidden until
    // ShowContents.
    explicit THelpWindow(QWidget* parent = nullptr);
    ~THelpWindow() override;

    // Shows the window without making it modal, at the document's table of
    // contents, and brings it to the front.
    void ShowContents();

    QTextBrowser& Browser() const;

private:
    void GoToContents();

    std::unique_ptr<Ui::THelpWindow> Form;
};

// Help > "Contents...": the help window of `parent`, made on first use and
// reused afterwards, shown at its contents. Without a parent one window
// serves the whole program.
THelpWindow& ShowHelpContents(QWidget* parent);
