// The real dialogs behind the seam. A platform dialog may run code that
// changes the floating-point control word or leaves flags set, so after
// each one the unit gets back the word that was in force, with clear flags.
#include "shell/UserDialogs.h"

#include "numeric/FloatingPoint.h"

#include <QColorDialog>
#include <QFileDialog>

#include <algorithm>

namespace {

class TFloatingPointGuard {
public:
    TFloatingPointGuard() : Word(FpuControlWord()) {}
    ~TFloatingPointGuard()
    {
        ClearFpuExceptions();
        LoadFpuControlWord(Word);
    }
    TFloatingPointGuard(const TFloatingPointGuard&) = delete;
    TFloatingPointGuard& operator=(const TFloatingPointGuard&) = delete;

private:
    std::uint16_t Word;
};

// A message longer than this is shown with its middle left out: a box the
// size of a pasted megabyte helps nobody and takes long to lay out.
constexpr qsizetype LongestShownMessage = 2000;
constexpr qsizetype ShownHead = 1500;
constexpr qsizetype ShownTail = 300;

// The text as the box shows it: a lone carriage return starts a new line.
QString ShownText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.size() > LongestShownMessage)
        text = text.left(ShownHead) + QStringLiteral(" … ") + text.right(ShownTail);
    return text;
}

class TQtDialogs : public TUserDialogs {
public:
    void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                     QMessageBox::Icon icon) override
    {
        const TFloatingPointGuard guard;
        QMessageBox box(icon, caption, ShownText(text), QMessageBox::Ok, parent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }

    std::optional<QColor> ChooseColor(QWidget* parent, const QColor& initial) override
    {
        const TFloatingPointGuard guard;
        const QColor chosen = QColorDialog::getColor(initial, parent);
        return chosen.isValid() ? std::optional(chosen) : std::nullopt;
    }

    std::optional<TSaveChoice> ChooseSaveFileName(QWidget* parent, const QStringList& filters,
                                                  const QString& suggestedName, qsizetype suggestedFilter) override
    {
        const TFloatingPointGuard guard;
        QString filter = filters.value(suggestedFilter);
        const QString name = QFileDialog::getSaveFileName(parent, QString(), suggestedName,
                                                          filters.join(QStringLiteral(";;")), &filter,
                                                          QFileDialog::DontConfirmOverwrite);
        if (name.isEmpty())
            return std::nullopt;
        return TSaveChoice{name, std::max<qsizetype>(filters.indexOf(filter), 0)};
    }
};

TQtDialogs QtDialogs;
TUserDialogs* Current = &QtDialogs;

}  // namespace

TUserDialogs& UserDialogs()
{
    return *Current;
}

TUserDialogsOverride::TUserDialogsOverride(TUserDialogs& dialogs) : Previous(Current)
{
    Current = &dialogs;
}

TUserDialogsOverride::~TUserDialogsOverride()
{
    Current = Previous;
}
