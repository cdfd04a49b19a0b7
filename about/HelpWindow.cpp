// The help window's behaviour; its layout is HelpWindow.ui and its document
// docs/OrvalisHelp.html, built in as a Qt resource.
#include "about/HelpWindow.h"

#include "ui_HelpWindow.h"

#include <QPointer>
#include <QScrollBar>

const QUrl THelpWindow::DocumentUrl(QStringLiteral("qrc:/help/OrvalisHelp.html"));

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window), Form(std::make_unique<Ui::THelpWindow>())
{
    Form->setupUi(this);
    // The text browser makes its scroll bars itself, outside the .ui: they are
    // named here, so that a screen reader says what each one moves.
    Form->Browser->verticalScrollBar()->setAccessibleName(QStringLiteral("Scroll the help up and down"));
    Form->Browser->horizontalScrollBar()->setAccessibleName(QStringLiteral("Scroll the help left and right"));
    Form->Browser->setSource(DocumentUrl);
    Form->BackBtn->setEnabled(false);
    Form->ForwardBtn->setEnabled(false);
    connect(Form->ContentsBtn, &QPushButton::clicked, this, &THelpWindow::GoToContents);
    connect(Form->BackBtn, &QPushButton::clicked, Form->Browser, &QTextBrowser::backward);
    connect(Form->ForwardBtn, &QPushButton::clicked, Form->Browser, &QTextBrowser::forward);
    connect(Form->Browser, &QTextBrowser::backwardAvailable, Form->BackBtn, &QPushButton::setEnabled);
    connect(Form->Browser, &QTextBrowser::forwardAvailable, Form->ForwardBtn, &QPushButton::setEnabled);
}

THelpWindow::~THelpWindow() = default;

QTextBrowser& THelpWindow::Browser() const
{
    return *Form->Browser;
}

// The table of contents stands at the top of the document.
void THelpWindow::GoToContents()
{
    if (Form->Browser->source().adjusted(QUrl::RemoveFragment) != DocumentUrl)
        Form->Browser->setSource(DocumentUrl);
    Form->Browser->verticalScrollBar()->setValue(0);
}

void THelpWindow::ShowContents()
{
    GoToContents();
    show();
    raise();
    activateWindow();
}

THelpWindow& ShowHelpContents(QWidget* parent)
{
    static QPointer<THelpWindow> programWindow;
    THelpWindow* window = parent != nullptr
                              ? parent->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly)
                              : programWindow.data();
    if (window == nullptr) {
        window = new THelpWindow(parent);
        if (parent == nullptr)
            programWindow = window;
    }
    window->ShowContents();
    return *window;
}
